// A fixed-size modal dialog that checks what is typed and stays open while an entry it refused waits for a fix.
#include "workspace/CheckedDialog.h"

#include <QCloseEvent>

CheckedDialog::CheckedDialog(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
}

void CheckedDialog::onCancel()
{
    keepOpen_ = false;
    reject();
}

void CheckedDialog::done(int result)
{
    if (result == QDialog::Rejected)
        keepOpen_ = false;
    if (keepOpen_)
        return;
    QDialog::done(result);
}

void CheckedDialog::closeEvent(QCloseEvent* event)
{
    if (keepOpen_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
