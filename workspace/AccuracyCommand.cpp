// The accuracy command: a result page from differential equations measured against a finer run, which the user can
// interrupt as any run, and the statistics a run leaves in the status bar.
#include "workspace/MainWindow.h"

#include "workspace/AccuracyDialog.h"
#include "workspace/AccuracyTexts.h"
#include "workspace/Page.h"
#include "workspace/RunController.h"

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
    runs_->measureAccuracy(activePage());
}
