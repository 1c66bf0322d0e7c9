// Runs from the parameter bar: a slider move runs the document again with the picked value, into its last
// run's pages, and moves during a run are coalesced into one run of the latest values.
#include "workspace/MainWindow.h"

#include "workspace/ParameterBar.h"
#include "workspace/ScriptPage.h"

#include <QApplication>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>

void MainWindow::onPickChanged(int parameter, int pick)
{
    ScriptPage* script = documentOf(activePage());
    if (!script)
        return;
    script->setPick(parameter, pick);
    runParametersChanged(script);
}

void MainWindow::onFamilyChanged(int parameter, bool on)
{
    ScriptPage* script = documentOf(activePage());
    if (!script)
        return;
    script->setFamily(parameter, on);
    runParametersChanged(script);
}

void MainWindow::runParametersChanged(ScriptPage* script)
{
    if (runActive_) {
        // The run or measurement under way stops; the latest position runs once it has, so no backlog builds up.
        pendingPickRun_ = script;
        requestStop();
        return;
    }
    runPickedValues(script);
}

// Once the event loop has the window again, so the run or measurement that just ended is wholly over.
void MainWindow::runParkedPick()
{
    if (!pendingPickRun_)
        return;
    QTimer::singleShot(0, this, [this] {
        ScriptPage* next = pendingPickRun_;
        pendingPickRun_.clear();
        if (next && !runActive_ && isVisible())
            runPickedValues(next);
    });
}

// Into the last run's pages unless the script changed since and the user keeps earlier results: then it is "Kør".
void MainWindow::runPickedValues(ScriptPage* script)
{
    const bool keep = action(Command::KeepResults)->isChecked() && script->editedSinceRun();
    const QPointer<Page> shown = activePage();
    const QPointer<QWidget> focus = QApplication::focusWidget();
    keptView_ = shown;
    const int sliderInHand = parameterBar_->focusedSlider();
    runDocument(script, !keep && hasResultPages(script));
    keptView_.clear();
    // The user goes on where they were: the same page, the slider still in hand. A failed run shows its error.
    if (shown && pages_->indexOf(shown) >= 0 && !shown->isOutOfDate() && activePage() != script)
        activatePage(shown);
    if (focus && parameterBar_->isAncestorOf(focus) && activePage() == shown) {
        // A slider the run's new lists replaced is out of sight: its successor takes the keys.
        if (focus->isVisible())
            focus->setFocus();
        else
            parameterBar_->focusSlider(sliderInHand);
    }
}

void MainWindow::updateParameterBar()
{
    ScriptPage* script = documentOf(activePage());
    if (script)
        parameterBar_->setParameters(script->parameters(), script->family());
    else
        parameterBar_->setParameters({});
}
