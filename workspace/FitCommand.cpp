// "Tilpas konstanter ...": the fit dialog for the active page's document, and the run after its values are used.
#include "workspace/MainWindow.h"

#include "workspace/FitDialog.h"
#include "workspace/RunController.h"
#include "workspace/ScriptPage.h"

#include <QAction>

void MainWindow::onFitConstants()
{
    ScriptPage* script = documentOf(activePage());
    if (!script || running())
        return;
    if (!fitDialog_) {
        fitDialog_ = new FitDialog(this);
        // The script changed under its result pages: they show the fitted model at once.
        connect(fitDialog_, &FitDialog::valuesUsed, this, [this](ScriptPage* document) {
            if (running() || documentOf(document) != document)
                return;
            runs_->runDocument(document, !action(Command::KeepResults)->isChecked() && hasResultPages(document));
        });
    }
    fitDialog_->showFor(script);
}
