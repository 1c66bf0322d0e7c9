// The window's own dialogs behind each prompt that a caller leaves empty.
#include "workspace/UserPrompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QPushButton>

namespace {

// Qt's file dialog with its own labels set in Danish, so that it reads Danish even where Qt's translations are
// not installed; the empty text is a cancel.
QString askFileName(QWidget* parent, QFileDialog::AcceptMode mode, const QString& title, const QString& preset,
                    const QString& filter, QString* chosenFilter = nullptr)
{
    QFileDialog dialog(parent, title, preset, filter);
    if (chosenFilter && !chosenFilter->isEmpty())
        dialog.selectNameFilter(*chosenFilter);
    const bool saving = mode == QFileDialog::AcceptSave;
    dialog.setAcceptMode(mode);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setLabelText(QFileDialog::LookIn, "Søg i:");
    dialog.setLabelText(QFileDialog::FileName, "Filnavn:");
    dialog.setLabelText(QFileDialog::FileType, "Filtype:");
    dialog.setLabelText(QFileDialog::Accept, saving ? "&Gem" : "&Åbn");
    dialog.setLabelText(QFileDialog::Reject, "Annuller");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (chosenFilter)
        *chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

struct Answer {
    QMessageBox::StandardButton button;
    const char* text;
};

// A question with Danish buttons: the first is the default, the last answers Escape.
QMessageBox::StandardButton ask(QWidget* parent, const QString& text, std::initializer_list<Answer> answers)
{
    QMessageBox box(QMessageBox::Question, "Tavlix", text, QMessageBox::NoButton, parent);
    for (const Answer& a : answers)
        box.addButton(a.button)->setText(a.text);
    box.setDefaultButton(answers.begin()->button);
    box.setEscapeButton((answers.end() - 1)->button);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

UserPrompts withDialogDefaults(UserPrompts prompts, QWidget* parent)
{
    if (!prompts.askSaveChanges)
        prompts.askSaveChanges = [parent](const QString& text) {
            return ask(parent, text,
                       {{QMessageBox::Yes, "&Ja"}, {QMessageBox::No, "&Nej"}, {QMessageBox::Abort, "&Annuller"}});
        };
    if (!prompts.askSaveAll)
        prompts.askSaveAll = [parent](const QString& text) {
            return ask(parent, text,
                       {{QMessageBox::SaveAll, "&Gem alle"},
                        {QMessageBox::Discard, "Gem &ingen"},
                        {QMessageBox::Cancel, "&Annuller"}});
        };
    if (!prompts.askSaveFileName)
        prompts.askSaveFileName = [parent](const QString& preset) {
            return askFileName(parent, QFileDialog::AcceptSave, "Gem som", preset,
                               "Tavlixfiler (*.tvx);;Alle filer (*)");
        };
    if (!prompts.askOpenFileName)
        prompts.askOpenFileName = [parent](const QString& folder) {
            return askFileName(parent, QFileDialog::AcceptOpen, "Åbn", folder,
                               "Tavlixfiler (*.tvx);;Tekstfiler (*.txt);;Alle filer (*)");
        };
    if (!prompts.showMessage)
        prompts.showMessage = [parent](const QString& text) { QMessageBox::information(parent, "Tavlix", text); };
    if (!prompts.showError)
        prompts.showError = [parent](const QString& text) { QMessageBox::warning(parent, "Tavlix", text); };
    if (!prompts.askResultFileName)
        prompts.askResultFileName = [parent](const QString& preset, const QStringList& filters, QString& chosen) {
            return askFileName(parent, QFileDialog::AcceptSave, "Gem som", preset, filters.join(";;"), &chosen);
        };
    if (!prompts.askRestore)
        prompts.askRestore = [parent](const QString& text) {
            return ask(parent, text, {{QMessageBox::Yes, "&Ja"}, {QMessageBox::No, "&Nej"}}) == QMessageBox::Yes;
        };
    if (!prompts.askPdfFileName)
        prompts.askPdfFileName = [parent] {
            return askFileName(parent, QFileDialog::AcceptSave, "Der er ingen printer. Gem udskriften som PDF",
                               "udskrift.pdf", "PDF-filer (*.pdf)");
        };
    if (!prompts.askImportFileName)
        prompts.askImportFileName = [parent] {
            return askFileName(parent, QFileDialog::AcceptOpen, "Importér data", QString(),
                               "Data (*.csv *.tsv *.txt);;Alle filer (*)");
        };
    if (!prompts.askText)
        prompts.askText = [parent](const QString& label) {
            return QInputDialog::getText(parent, "Indsæt data", label);
        };
    return prompts;
}
