// The main window's memory: the per-user settings with "Filer > Seneste", and the recovery files of unsaved work.
#include "workspace/MainWindow.h"

#include "workspace/GraphPage.h"
#include "workspace/PrintSizeDialog.h"
#include "workspace/RecoveryStore.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"
#include "workspace/WindowSettings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTimer>

namespace {

// A pause in typing this long writes the recovery files; while typing goes on they are written this often.
constexpr int RecoveryIdleMs = 2000;
constexpr int RecoveryPeriodMs = 30000;
const char* const RecoveryIdProperty = "recoveryId";
const char* const RecoveryDirtyProperty = "recoveryDirty";

}  // namespace

// ---- settings and recent documents ---------------------------------------------------------------------------

void MainWindow::createRecentMenu()
{
    makeAction(Command::ClearRecent, "&Ryd listen", {}, &MainWindow::onClearRecent);
    recentMenu_ = new QMenu("S&eneste", this);
    recentMenu_->setObjectName("recentMenu");
    fileMenu_->insertMenu(action(Command::Save), recentMenu_);
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    fillRecentMenu();
}

void MainWindow::fillRecentMenu()
{
    recentMenu_->clear();
    const QStringList files = settings_ ? settings_->recentFiles() : QStringList();
    int number = 1;
    for (const QString& file : files) {
        if (!exampleCaption(file).isEmpty())  // listed by an earlier version; it would only open a copy
            continue;
        // A document that is gone stays visible but cannot be chosen, so the list does not jump about.
        QAction* a = recentMenu_->addAction(QString("&%1 %2").arg(number++).arg(QDir::toNativeSeparators(file)));
        a->setEnabled(QFileInfo(file).isFile());
        connect(a, &QAction::triggered, this, [this, file] { openDocument(file); });
    }
    recentMenu_->addSeparator();
    recentMenu_->addAction(action(Command::ClearRecent));
    action(Command::ClearRecent)->setEnabled(!files.isEmpty());
    recentMenu_->setEnabled(settings_ != nullptr);
}

void MainWindow::attachSettings(std::unique_ptr<WindowSettings> settings)
{
    settings_ = std::move(settings);
    if (!restoreGeometry(settings_->geometry()))
        resize(760, 520);
    restoreState(settings_->windowState());
    lastFolder_ = settings_->lastFolder();
    fillRecentMenu();
    QAction* keep = action(Command::KeepResults);
    const QSignalBlocker quiet(keep);
    keep->setChecked(settings_->keepPreviousResults());
    QAction* axes = action(Command::AxesThroughOrigin);
    const QSignalBlocker quietAxes(axes);
    axes->setChecked(settings_->axesThroughOrigin());
}

void MainWindow::onKeepResultsToggled(bool on)
{
    if (settings_)
        settings_->setKeepPreviousResults(on);
}

void MainWindow::onAxesThroughOriginToggled(bool on)
{
    if (settings_)
        settings_->setAxesThroughOrigin(on);
    for (int i = 0; i < pages_->count(); ++i)
        if (auto* graph = qobject_cast<GraphPage*>(pages_->widget(i)))
            graph->setAxesThroughOrigin(on);
}

void MainWindow::saveWindowSettings()
{
    if (settings_)
        settings_->setWindow(saveGeometry(), saveState());
}

void MainWindow::rememberDocument(const QString& fileName)
{
    if (!settings_ || !exampleCaption(fileName).isEmpty())
        return;
    settings_->addRecentFile(fileName);
    fillRecentMenu();
}

// The file dialogs start where the user last opened or saved a file, or in the documents folder.
QString MainWindow::dialogFolder() const
{
    if (!lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir())
        return lastFolder_;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void MainWindow::rememberFolder(const QString& fileName)
{
    lastFolder_ = QFileInfo(fileName).absolutePath();
    if (settings_)
        settings_->setLastFolder(lastFolder_);
}

void MainWindow::onClearRecent()
{
    if (settings_)
        settings_->clearRecentFiles();
    fillRecentMenu();
}

bool MainWindow::askPrintSize(double& widthCm, double& heightCm)
{
    if (!printSizeDialog_->edit(widthCm, heightCm))
        return false;
    if (settings_)
        settings_->setPrintSize(widthCm, heightCm);
    return true;
}

// ---- recovery ----------------------------------------------------------------------------------------------------

void MainWindow::attachRecovery(std::unique_ptr<RecoveryStore> store)
{
    recovery_ = std::move(store);
    recoveryIdleTimer_ = new QTimer(this);
    recoveryIdleTimer_->setSingleShot(true);
    recoveryIdleTimer_->setInterval(RecoveryIdleMs);
    recoveryPeriodTimer_ = new QTimer(this);
    recoveryPeriodTimer_->setInterval(RecoveryPeriodMs);
    connect(recoveryIdleTimer_, &QTimer::timeout, this, &MainWindow::writeRecoveryFiles);
    connect(recoveryPeriodTimer_, &QTimer::timeout, this, [this] {
        for (int i = 0; i < pageCount(); ++i)
            if (ScriptPage* script = scriptPageOf(page(i)))
                script->setProperty(RecoveryDirtyProperty, true);
        writeRecoveryFiles();
    });
    recoveryPeriodTimer_->start();
}

void MainWindow::watchForRecovery(ScriptPage* page)
{
    const int id = nextRecoveryId_++;
    page->setProperty(RecoveryIdProperty, id);
    connect(page->editor(), &QPlainTextEdit::textChanged, this, [this, page] {
        if (!recovery_)
            return;
        page->setProperty(RecoveryDirtyProperty, true);
        recoveryIdleTimer_->start();
    });
    // Closing a page is the user's decision about its work.
    connect(page, &QObject::destroyed, this, [this, id] {
        if (recovery_)
            recovery_->remove(id);
    });
}

void MainWindow::forgetRecovery(ScriptPage* page)
{
    page->setProperty(RecoveryDirtyProperty, false);
    if (recovery_)
        recovery_->remove(page->property(RecoveryIdProperty).toInt());
}

void MainWindow::writeRecoveryFiles()
{
    if (!recovery_)
        return;
    bool failed = false;
    for (int i = 0; i < pageCount(); ++i) {
        ScriptPage* script = scriptPageOf(page(i));
        if (!script || !script->property(RecoveryDirtyProperty).toBool())
            continue;
        const int id = script->property(RecoveryIdProperty).toInt();
        if (!script->isModified()) {
            recovery_->remove(id);
            continue;
        }
        const bool untitled = script->fileName() == UntitledFileName;
        RecoveredDocument doc{untitled ? QString() : QFileInfo(script->fileName()).absoluteFilePath(),
                              pages_->tabText(i), script->settings(), script->lines()};
        if (recovery_->write(id, doc))
            script->setProperty(RecoveryDirtyProperty, false);
        else
            failed = true;
    }
    // One warning until writing works again, not one for every attempt.
    if (failed && !recoveryWarned_)
        setStatus(StatusField::Error,
                  QString("Kan ikke gemme sikkerhedskopier i %1").arg(QDir::toNativeSeparators(recovery_->folder())));
    recoveryWarned_ = failed;
}

void MainWindow::restoreRecovered(const QString& path)
{
    RecoveredDocument doc;
    QString error;
    if (!RecoveryStore::read(path, doc, error)) {
        reportError(
            QString("Gendannelsesfilen \"%1\" er sprunget over: %2").arg(QDir::toNativeSeparators(path), error));
        return;
    }
    const QString caption =
        doc.fileName.isEmpty() ? QString("(Uden navn - %1)").arg(pageCount() + 1) : QFileInfo(doc.fileName).fileName();
    ScriptPage* page = newDocument(caption);
    page->setLines(doc.lines);
    page->settings() = doc.settings;
    if (!doc.fileName.isEmpty())
        page->setFileName(doc.fileName);
    page->markModified();
}

bool MainWindow::offerRecovery()
{
    if (!recovery_)
        return false;
    const QStringList files = recovery_->orphanedFiles();
    if (files.isEmpty())
        return false;
    const QString question =
        QString("Tavlix blev ikke afsluttet normalt. Gendan %1 ikke-gemte dokumenter?").arg(files.size());
    const bool restore = prompts_.askRestore && prompts_.askRestore(question);
    if (restore)
        for (const QString& file : files)
            restoreRecovered(file);
    recovery_->discardOrphans();
    // The restored documents are this instance's unsaved work from now on.
    writeRecoveryFiles();
    return restore;
}
