// Crash recovery of the window's documents: modified script pages are copied into the recovery store while the
// user works, and the copies an instance that did not end normally left are offered at the start.
#pragma once

#include <QObject>

#include <memory>

class DocumentWindow;
class Documents;
class QTimer;
class RecoveryStore;
class ScriptPage;

class DocumentRecovery : public QObject {
    Q_OBJECT
public:
    DocumentRecovery(DocumentWindow& window, Documents& documents, std::unique_ptr<RecoveryStore> store);
    ~DocumentRecovery() override;

    RecoveryStore& store() const { return *store_; }
    // A new page: its changes are copied after a pause in typing; closing it deletes its copy.
    void watch(ScriptPage* page);
    // The page was saved: its copy goes.
    void forget(ScriptPage* page);
    // Writes every modified script page's recovery file now.
    void writeFiles();
    // Asks once whether to restore the documents of an instance that did not end normally; false when none.
    bool offer();

private:
    void restore(const QString& path);

    DocumentWindow& window_;
    Documents& documents_;
    std::unique_ptr<RecoveryStore> store_;
    QTimer* idleTimer_ = nullptr;
    QTimer* periodTimer_ = nullptr;
    int nextId_ = 1;
    bool warned_ = false;
};
