// Copies of unsaved work: written after a pause in typing and every half minute, deleted on save and close.
#include "workspace/DocumentRecovery.h"

#include "workspace/DocumentWindow.h"
#include "workspace/Documents.h"
#include "workspace/PageHost.h"
#include "workspace/RecoveryStore.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"
#include "workspace/UserPrompts.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>

namespace {

// A pause in typing this long writes the recovery files; while typing goes on they are written this often.
constexpr int IdleMs = 2000;
constexpr int PeriodMs = 30000;
const char* const IdProperty = "recoveryId";
const char* const DirtyProperty = "recoveryDirty";

}  // namespace

DocumentRecovery::DocumentRecovery(DocumentWindow& window, Documents& documents, std::unique_ptr<RecoveryStore> store)
    : QObject(&documents), window_(window), documents_(documents), store_(std::move(store))
{
    idleTimer_ = new QTimer(this);
    idleTimer_->setSingleShot(true);
    idleTimer_->setInterval(IdleMs);
    periodTimer_ = new QTimer(this);
    periodTimer_->setInterval(PeriodMs);
    connect(idleTimer_, &QTimer::timeout, this, &DocumentRecovery::writeFiles);
    connect(periodTimer_, &QTimer::timeout, this, [this] {
        for (int i = 0; i < window_.pageCount(); ++i)
            if (Page* page = window_.page(i); page && page->kind() == PageKind::Script)
                page->setProperty(DirtyProperty, true);
        writeFiles();
    });
    periodTimer_->start();
}

DocumentRecovery::~DocumentRecovery() = default;

void DocumentRecovery::watch(ScriptPage* page)
{
    const int id = nextId_++;
    page->setProperty(IdProperty, id);
    connect(page->editor(), &QPlainTextEdit::textChanged, this, [this, page] {
        page->setProperty(DirtyProperty, true);
        idleTimer_->start();
    });
    // Closing a page is the user's decision about its work.
    connect(page, &QObject::destroyed, this, [this, id] { store_->remove(id); });
}

void DocumentRecovery::forget(ScriptPage* page)
{
    page->setProperty(DirtyProperty, false);
    store_->remove(page->property(IdProperty).toInt());
}

void DocumentRecovery::writeFiles()
{
    bool failed = false;
    for (int i = 0; i < window_.pageCount(); ++i) {
        Page* page = window_.page(i);
        if (!page || page->kind() != PageKind::Script || !page->property(DirtyProperty).toBool())
            continue;
        auto* script = static_cast<ScriptPage*>(page);
        const int id = script->property(IdProperty).toInt();
        if (!script->isModified()) {
            store_->remove(id);
            continue;
        }
        const bool untitled = script->fileName() == Documents::UntitledFileName;
        RecoveredDocument doc{untitled ? QString() : QFileInfo(script->fileName()).absoluteFilePath(),
                              window_.tabs()->tabText(i), script->settings(), script->lines()};
        if (store_->write(id, doc))
            script->setProperty(DirtyProperty, false);
        else
            failed = true;
    }
    // One warning until writing works again, not one for every attempt.
    if (failed && !warned_)
        window_.pageHost().setStatus(
            StatusField::Error,
            QString("Kan ikke gemme sikkerhedskopier i %1").arg(QDir::toNativeSeparators(store_->folder())));
    warned_ = failed;
}

void DocumentRecovery::restore(const QString& path)
{
    RecoveredDocument doc;
    QString error;
    if (!RecoveryStore::read(path, doc, error)) {
        window_.pageHost().reportError(
            QString("Gendannelsesfilen \"%1\" er sprunget over: %2").arg(QDir::toNativeSeparators(path), error));
        return;
    }
    const QString caption = doc.fileName.isEmpty() ? QString("(Uden navn - %1)").arg(window_.pageCount() + 1)
                                                   : QFileInfo(doc.fileName).fileName();
    ScriptPage* page = documents_.newDocument(caption);
    page->setLines(doc.lines);
    page->settings() = doc.settings;
    if (!doc.fileName.isEmpty())
        page->setFileName(doc.fileName);
    page->markModified();
}

bool DocumentRecovery::offer()
{
    const QStringList files = store_->orphanedFiles();
    if (files.isEmpty())
        return false;
    const QString question =
        QString("Tavlix blev ikke afsluttet normalt. Gendan %1 ikke-gemte dokumenter?").arg(files.size());
    const bool restoring = documents_.prompts().askRestore && documents_.prompts().askRestore(question);
    if (restoring)
        for (const QString& file : files)
            restore(file);
    store_->discardOrphans();
    // The restored documents are this instance's unsaved work from now on.
    writeFiles();
    return restoring;
}
