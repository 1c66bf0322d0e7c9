// The window's run commands: "Kør" and "Afbryd", and how the commands show whether a run is under way. The runs
// themselves are the RunController's.
#include "workspace/MainWindow.h"

#include "workspace/RunController.h"
#include "workspace/ScriptPage.h"
#include "workspace/ToolIcons.h"

#include <QAction>
#include <QToolBar>

#include <algorithm>

bool MainWindow::running() const
{
    return runs_->active();
}

void MainWindow::requestStop()
{
    runs_->requestStop();
}

void MainWindow::stopRun(const QString& reason)
{
    runs_->stopRun(reason);
}

// The run command turns into the stop command while a run is under way.
void MainWindow::showRunState()
{
    const bool active = running();
    QAction* run = action(Command::Run);
    run->setText(active ? "&Afbryd" : "&Kør");
    run->setToolTip(active ? "Afbryd kørslen (Esc)" : "Kør");
    run->setIcon(toolIcon(active ? Icon::Stop : Icon::Run));
    if (QWidget* w = toolBar_->widgetForAction(run))
        w->setAccessibleName(run->toolTip());
    action(Command::Stop)->setEnabled(active);
    setCommandEnabled(Command::Run, active || documentOf(activePage()) != nullptr);
}

void MainWindow::onRun()
{
    if (running()) {
        requestStop();
        return;
    }
    // On a result page the run is its document's.
    ScriptPage* script = documentOf(activePage());
    if (!script)
        return;
    const bool refresh = !keepsResults() && hasResultPages(script);
    runs_->runDocument(script, refresh);
}

bool MainWindow::keepsResults() const
{
    return action(Command::KeepResults)->isChecked();
}

bool MainWindow::hasResultPages(const ScriptPage* script) const
{
    return std::any_of(script->resultPages().begin(), script->resultPages().end(),
                       [](const QPointer<Page>& page) { return !page.isNull(); });
}
