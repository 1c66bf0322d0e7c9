// Recovery files: a header naming the document, its sixteen settings, then its script, all UTF-8.
#include "workspace/RecoveryStore.h"

#include "workspace/QtCp1252.h"
#include "workspace/ResultFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <QUuid>

namespace {

const QByteArray Magic = "TavlixRecovery 1";
const QString LockName = "instance.lock";
const QString Suffix = ".tvr";
constexpr qsizetype HeaderLines = 3;
constexpr qsizetype SettingLines = 16;

// A lock that only a running process holds: its age never makes it stale, its owner's death does.
std::unique_ptr<QLockFile> makeLock(const QString& folder)
{
    auto lock = std::make_unique<QLockFile>(folder + "/" + LockName);
    lock->setStaleLockTime(0);
    return lock;
}

}  // namespace

RecoveryStore::RecoveryStore(const QString& folder) : root_(folder)
{
    ownFolder_ = root_ + "/" + QString::number(QCoreApplication::applicationPid()) + "-" +
                 QUuid::createUuid().toString(QUuid::Id128).left(8);
    if (QDir().mkpath(ownFolder_)) {
        lock_ = makeLock(ownFolder_);
        if (!lock_->tryLock(0))
            lock_.reset();
    }
}

RecoveryStore::~RecoveryStore()
{
    if (lock_)
        lock_->unlock();
    QDir(ownFolder_).removeRecursively();
}

QString RecoveryStore::userFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + "/.local/state";
    return state + "/tavlix";
}

QString RecoveryStore::pageFile(int pageId) const
{
    return QString("%1/page-%2%3").arg(ownFolder_).arg(pageId).arg(Suffix);
}

bool RecoveryStore::write(int pageId, const RecoveredDocument& doc)
{
    // Without its lock the folder is not safely this instance's: another one could take the files.
    if (!lock_)
        return false;
    QByteArray bytes = Magic + '\n' + doc.fileName.toUtf8() + '\n' + doc.caption.toUtf8() + '\n';
    for (const std::string& setting : doc.settings)
        bytes += qt_cp1252::toQString(setting).toUtf8() + '\n';
    for (const QString& line : doc.lines)
        bytes += line.toUtf8() + '\n';
    return ResultFile::write(pageFile(pageId), bytes).isEmpty();
}

void RecoveryStore::remove(int pageId)
{
    QFile::remove(pageFile(pageId));
}

QStringList RecoveryStore::orphanedFiles()
{
    QStringList files;
    const QDir root(root_);
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString folder = root.filePath(name);
        if (folder == ownFolder_ || takenFolders_.contains(folder))
            continue;
        // A free lock means the instance is gone; holding it keeps a third instance from taking the same files.
        std::unique_ptr<QLockFile> lock = makeLock(folder);
        if (!lock->tryLock(0))
            continue;
        takenLocks_.push_back(std::move(lock));
        takenFolders_ << folder;
        for (const QString& file : QDir(folder).entryList({"*" + Suffix}, QDir::Files, QDir::Name))
            files << folder + "/" + file;
    }
    return files;
}

void RecoveryStore::discardOrphans()
{
    for (auto& lock : takenLocks_)
        lock->unlock();
    takenLocks_.clear();
    for (const QString& folder : takenFolders_)
        QDir(folder).removeRecursively();
    takenFolders_.clear();
}

bool RecoveryStore::read(const QString& path, RecoveredDocument& doc, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    if (file.size() > static_cast<qint64>(tavlix::MaxDocumentBytes) * 4) {
        error = "filen er for stor";
        return false;
    }
    const QByteArray bytes = file.readAll();
    QStringList lines = QString::fromUtf8(bytes).split('\n');
    if (!bytes.startsWith(Magic + '\n') || !bytes.endsWith('\n') || lines.size() < HeaderLines + SettingLines + 1) {
        error = "ikke en hel gendannelsesfil";
        return false;
    }
    lines.removeLast();  // after the final line end
    doc.fileName = lines[1];
    doc.caption = lines[2];
    for (qsizetype i = 0; i < SettingLines; ++i)
        doc.settings[static_cast<size_t>(i)] = qt_cp1252::fromQString(lines[HeaderLines + i]);
    doc.lines = lines.mid(HeaderLines + SettingLines);
    return true;
}
