// Writes a result page's file (a table or a picture) atomically, as documents are written.
#include "workspace/ResultFile.h"

#include "support/AtomicFile.h"
#include "support/DocumentFile.h"
#include "workspace/QtCp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString ResultFile::write(const QString& fileName, const QByteArray& bytes)
{
    const QString shown = QDir::toNativeSeparators(fileName);
    // A folder of that name would be replaced by the rename; refuse it plainly instead.
    if (QFileInfo(fileName).isDir())
        return QString("Filen \"%1\" kan ikke gemmes: der er en mappe med det navn.").arg(shown);
    tavlix::AtomicFile file;
    if (file.write(QFile::encodeName(fileName).toStdString(),
                   std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), true))
        return {};
    return QString("Filen \"%1\" kan ikke gemmes: %2")
        .arg(shown, qt_cp1252::toQString(tavlix::fileErrorReason(file.failure())));
}
