// The window's own dialogs behind each prompt that a caller leaves empty.
#include "workspace/UserPrompts.h"

#include <QFileDialog>
#include <QPushButton>

UserPrompts withDialogDefaults(UserPrompts prompts, QWidget* parent)
{
    if (!prompts.askSaveChanges)
        prompts.askSaveChanges = [parent](const QString& text) {
            QMessageBox box(QMessageBox::Question, "Tavlix", text,
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Abort, parent);
            box.button(QMessageBox::Yes)->setText("&Ja");
            box.button(QMessageBox::No)->setText("&Nej");
            box.button(QMessageBox::Abort)->setText("&Annuller");
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Abort);
            return static_cast<QMessageBox::StandardButton>(box.exec());
        };
    if (!prompts.askSaveFileName)
        prompts.askSaveFileName = [parent](const QString& preset) {
            return QFileDialog::getSaveFileName(parent, "Gem som", preset);
        };
    if (!prompts.askOpenFileName)
        prompts.askOpenFileName = [parent] {
            return QFileDialog::getOpenFileName(parent, "Åbn", QString(),
                                                "Tavlixfiler (*.tvx);;Tekstfiler (*.txt);;Alle filer (*)");
        };
    if (!prompts.showMessage)
        prompts.showMessage = [parent](const QString& text) { QMessageBox::information(parent, "Tavlix", text); };
    if (!prompts.showError)
        prompts.showError = [parent](const QString& text) { QMessageBox::warning(parent, "Tavlix", text); };
    if (!prompts.askRestore)
        prompts.askRestore = [parent](const QString& text) {
            QMessageBox box(QMessageBox::Question, "Tavlix", text, QMessageBox::Yes | QMessageBox::No, parent);
            box.button(QMessageBox::Yes)->setText("&Ja");
            box.button(QMessageBox::No)->setText("&Nej");
            box.setDefaultButton(QMessageBox::Yes);
            return box.exec() == QMessageBox::Yes;
        };
    if (!prompts.askPdfFileName)
        prompts.askPdfFileName = [parent] {
            return QFileDialog::getSaveFileName(parent, "Der er ingen printer. Gem udskriften som PDF", "udskrift.pdf",
                                                "PDF-filer (*.pdf)");
        };
    return prompts;
}
