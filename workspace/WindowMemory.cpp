// The main window's memory: the per-user settings with "Filer > Seneste", and where its recovery files are kept.
#include "workspace/MainWindow.h"

#include "workspace/DocumentRecovery.h"
#include "workspace/GraphPage.h"
#include "workspace/PrintSizeDialog.h"
#include "workspace/RecoveryStore.h"
#include "workspace/ScriptPage.h"
#include "workspace/WindowSettings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSignalBlocker>
#include <QStandardPaths>

namespace {}  // namespace

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
    recovery_ = new DocumentRecovery(*this, std::move(store));
    // Pages opened before the store came are watched from now on.
    for (int i = 0; i < pageCount(); ++i)
        if (ScriptPage* script = scriptPageOf(page(i)))
            recovery_->watch(script);
}

RecoveryStore* MainWindow::recovery() const
{
    return recovery_ ? &recovery_->store() : nullptr;
}

void MainWindow::writeRecoveryFiles()
{
    if (recovery_)
        recovery_->writeFiles();
}

bool MainWindow::offerRecovery()
{
    return recovery_ && recovery_->offer();
}
