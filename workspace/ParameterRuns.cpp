// Runs from the parameter bar: a slider move runs the document again with the picked value, into its last
// run's pages, and moves during a run are coalesced into one run of the latest values.
#include "workspace/MainWindow.h"

#include "workspace/ParameterBar.h"
#include "workspace/RunController.h"
#include "workspace/ScriptPage.h"

void MainWindow::onPickChanged(int parameter, int pick)
{
    ScriptPage* script = documentOf(activePage());
    if (!script)
        return;
    script->setPick(parameter, pick);
    runs_->parametersChanged(script);
}

void MainWindow::onFamilyChanged(int parameter, bool on)
{
    ScriptPage* script = documentOf(activePage());
    if (!script)
        return;
    script->setFamily(parameter, on);
    runs_->parametersChanged(script);
}

void MainWindow::updateParameterBar()
{
    ScriptPage* script = documentOf(activePage());
    if (script)
        parameterBar_->setParameters(script->parameters(), script->family());
    else
        parameterBar_->setParameters({});
}
