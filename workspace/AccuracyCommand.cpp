// The accuracy command: a result page from differential equations measured against a finer run, which the user can
// interrupt as any run, and the statistics a run leaves in the status bar.
#include "workspace/MainWindow.h"

#include "compiler/AccuracyCheck.h"
#include "workspace/AccuracyDialog.h"
#include "workspace/AccuracyTexts.h"
#include "workspace/Page.h"
#include "workspace/WindowEngineHost.h"

#include <QAction>

void MainWindow::followRunWithAccuracy()
{
    Page* page = activePage();
    const ResultOrigin* origin = page ? page->integration() : nullptr;
    if (!origin)
        return;
    setStatus(StatusField::Message, accuracy_texts::summary(origin->statistics));
    setCommandEnabled(Command::Accuracy, true);
    // An open dialog follows the new page, so that a changed setting shows in its numbers at once.
    if (accuracyDialog_->isVisible())
        onAccuracy();
}

void MainWindow::onAccuracy()
{
    Page* page = activePage();
    if (runActive_ || !page || !page->integration())
        return;
    // Copied: the page may be closed while the reference runs.
    const ResultOrigin origin = *page->integration();
    const QString caption = page->caption();
    // A close asked for during the run this measurement follows is still to be done after it.
    runActive_ = true;
    stopRequested_ = false;
    stopReason_.clear();
    eventPumpClock_.start();
    showRunState();
    accuracyDialog_->showMeasuring(caption);
    const tavlix::AccuracyReport report = tavlix::measureAccuracy(
        origin.source->settings, origin.source->lines, origin.pageNumber, *engineHost_, origin.source->picks);
    runActive_ = false;
    stopRequested_ = false;
    showRunState();
    if (report.complete)
        accuracyDialog_->showReport(caption, report);
    else
        accuracyDialog_->showInterrupted(caption);
    if (!stopReason_.isEmpty())
        reportError(stopReason_);
    finishDeferredCloses();
    runParkedPick();
}
