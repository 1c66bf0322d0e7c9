// Writes a result page's file (a table or a picture) atomically, as documents are written.
#include "workspace/ResultFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

QString ResultFile::write(const QString& fileName, const QByteArray& bytes)
{
    const QString shown = QDir::toNativeSeparators(fileName);
    // A folder of that name would be replaced by the rename; refuse it plainly instead.
    if (QFileInfo(fileName).isDir())
        return QString("Filen \"%1\" kan ikke gemmes: der er en mappe med det navn.").arg(shown);
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    const QString reason = file.errorString();
    file.cancelWriting();
    return QString("Filen \"%1\" kan ikke gemmes: %2").arg(shown, reason);
}
