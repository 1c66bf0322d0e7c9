// Recovery copies of unsaved documents: one file per modified script page under the user's state folder, in a
// sub-folder of this instance that a lock keeps from every other running instance.
#pragma once

#include "support/DocumentFile.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QLockFile;

struct RecoveredDocument {
    // The document's file name as the page had it, and the tab's caption.
    QString fileName;
    QString caption;
    tavlix::SettingsTexts settings;
    // The editor's lines as typed, in Unicode: even characters a document file cannot hold survive.
    QStringList lines;
};

class RecoveryStore {
public:
    // folder is the store's root; this instance's sub-folder is made and locked at once.
    explicit RecoveryStore(const QString& folder);
    // A normal end: this instance's files and folder go.
    ~RecoveryStore();
    // $XDG_STATE_HOME/tavlix (by default ~/.local/state/tavlix).
    static QString userFolder();

    // Writes (atomically) or removes the file of page pageId; false when the file could not be written.
    bool write(int pageId, const RecoveredDocument& doc);
    void remove(int pageId);
    QString folder() const { return ownFolder_; }

    // The files of instances that are not running; their folders are taken over until discardOrphans().
    QStringList orphanedFiles();
    // Deletes the taken-over files and their folders.
    void discardOrphans();

    // Reads one recovery file; false with a reason when it is not one.
    static bool read(const QString& path, RecoveredDocument& doc, QString& error);

private:
    QString pageFile(int pageId) const;

    QString root_;
    QString ownFolder_;
    std::unique_ptr<QLockFile> lock_;
    std::vector<std::unique_ptr<QLockFile>> takenLocks_;
    QStringList takenFolders_;
};
