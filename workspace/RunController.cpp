// Running a script from the window: the run command, stopping, the event pump, and what waits for the run's end.
#include "workspace/MainWindow.h"

#include "support/MemoryUse.h"
#include "workspace/NoticePanel.h"
#include "workspace/QtCp1252.h"
#include "workspace/ScriptPage.h"
#include "workspace/TableModel.h"
#include "workspace/TablePage.h"
#include "workspace/ToolIcons.h"
#include "workspace/WindowEngineHost.h"

#include <QAction>
#include <QApplication>
#include <QTabWidget>
#include <QToolBar>

#include <algorithm>

namespace {

// Pump pending events no more often than this during a run.
constexpr int PumpIntervalMs = 200;

}  // namespace

bool MainWindow::keepGoing()
{
    if (!eventPumpClock_.isValid() || eventPumpClock_.elapsed() >= PumpIntervalMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        eventPumpClock_.restart();
        // The last guard of memory, whatever the run fills: pages, points or cells.
        if (tavlix::memory::exceeds(memoryLimit_))
            stopRun(QString("Kørslen er stoppet, fordi hukommelsen er ved at slippe op (%L1 MB i brug). De beregnede "
                            "sider er bevaret; luk nogle resultatsider eller vælg færre punkter (TAntal).")
                        .arg(tavlix::memory::residentBytes() >> 20));
    }
    return !stopRequested_;
}

void MainWindow::stopRun(const QString& reason)
{
    if (!stopRequested_ && stopReason_.isEmpty())
        stopReason_ = reason;
    stopRequested_ = true;
}

// The run command turns into the stop command while a run is under way.
void MainWindow::showRunState()
{
    QAction* run = action(Command::Run);
    run->setText(runActive_ ? "&Afbryd" : "&Kør");
    run->setToolTip(runActive_ ? "Afbryd kørslen (Esc)" : "Kør");
    run->setIcon(toolIcon(runActive_ ? Icon::Stop : Icon::Run));
    if (QWidget* w = toolBar_->widgetForAction(run))
        w->setAccessibleName(run->toolTip());
    action(Command::Stop)->setEnabled(runActive_);
    setCommandEnabled(Command::Run, runActive_ || documentOf(activePage()) != nullptr);
}

void MainWindow::onRun()
{
    if (runActive_) {
        requestStop();
        return;
    }
    // On a result page the run is its document's.
    ScriptPage* script = documentOf(activePage());
    if (!script)
        return;
    const bool refresh = !action(Command::KeepResults)->isChecked() && hasResultPages(script);
    runDocument(script, refresh);
}

bool MainWindow::hasResultPages(const ScriptPage* script) const
{
    return std::any_of(script->resultPages().begin(), script->resultPages().end(),
                       [](const QPointer<Page>& page) { return !page.isNull(); });
}

void MainWindow::runDocument(ScriptPage* script, bool refresh)
{
    if (refresh && !refreshCheckPasses(script))
        return;
    runPages_.start(script, refresh ? script->resultPages() : QList<QPointer<Page>>());
    runActive_ = true;
    stopRequested_ = false;
    stopReason_.clear();
    runPageCount_ = 0;
    closeAfterRun_ = false;
    pagesToCloseAfterRun_.clear();
    engineHost_->errorShown = false;
    eventPumpClock_.start();
    showRunState();
    engineHost_->beginRun(script->runSource());
    notices_->startRun();
    tavlix::RunResult result = script->run(*engineHost_);
    notices_->endRun();
    const bool stoppedByUser = stopRequested_ && !closeAfterRun_ && pagesToCloseAfterRun_.isEmpty();
    runActive_ = false;
    stopRequested_ = false;
    showRunState();
    for (int i = 0; i < pageCount(); ++i)
        if (auto* table = qobject_cast<TablePage*>(page(i)))
            table->model()->sync();
    settleRunPages(result);
    // Shown again after the result page was shown, which empties the status bar.
    if (result.error != tavlix::ScriptError::None) {
        if (!engineHost_->errorShown)
            QApplication::beep();
        setStatus(StatusField::Error, script->statusText());
    }
    if (!stopReason_.isEmpty())
        reportError(stopReason_);
    else if (stoppedByUser && result.abandoned && !pendingPickRun_)
        setStatus(StatusField::Message, "Kørslen blev afbrudt");
    else if (result.error == tavlix::ScriptError::None && !closeAfterRun_ && pagesToCloseAfterRun_.isEmpty() &&
             !pendingPickRun_)
        // Not when something waits for the run's end: a measurement would keep it waiting, or lose it.
        followRunWithAccuracy();
    finishDeferredCloses();
    runParkedPick();
}

void MainWindow::finishDeferredCloses()
{
    QList<QPointer<Page>> pages = pagesToCloseAfterRun_;
    pagesToCloseAfterRun_.clear();
    for (const QPointer<Page>& page : pages) {
        if (!page || pages_->indexOf(page) < 0)
            continue;
        activatePage(page);
        onClosePage();
    }
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        close();
    }
}
