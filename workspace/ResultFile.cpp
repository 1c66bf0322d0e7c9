// Writes a result page's file (a table or a picture) atomically, as documents are written.
#include "workspace/ResultFile.h"

#include "support/AtomicFile.h"
#include "support/DocumentFile.h"
#include "workspace/QtCp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

QString ResultFile::write(const QString& fileName, const QByteArray& bytes)
{
    const QString shown = QDir::toNativeSeparators(fileName);
    // A folder of that name would be replaced by the rename; refuse it plainly instead.
    if (QFileInfo(fileName).isDir())
        return QString("Filen \"%1\" kan ikke gemmes: der er en mappe med det navn.").arg(shown);
    tavlix::AtomicFile file;
    if (file.open(QFile::encodeName(fileName).toStdString())) {
        const auto size = static_cast<std::size_t>(bytes.size());
        // A short write leaves the stream in error, which the commit reports.
        std::fwrite(bytes.constData(), 1, size, file.stream());
        if (file.commit(true))
            return {};
    }
    return QString("Filen \"%1\" kan ikke gemmes: %2")
        .arg(shown, qt_cp1252::toQString(tavlix::fileErrorReason(file.failure())));
}
