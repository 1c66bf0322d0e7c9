// The questions and boxes the window puts to the user, replaceable so that tests can answer them.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

struct UserPrompts {
    // Yes, No or Abort to "save the changes?".
    std::function<QMessageBox::StandardButton(const QString& text)> askSaveChanges;
    // SaveAll ("Gem alle"), Discard ("Gem ingen") or Cancel, when the program ends with several unsaved documents.
    std::function<QMessageBox::StandardButton(const QString& text)> askSaveAll;
    // The preset is a file name in the folder the dialog starts in; the open dialog starts in the folder given.
    std::function<QString(const QString& preset)> askSaveFileName;
    std::function<QString(const QString& folder)> askOpenFileName;
    // Information boxes: notices, the find dialog's "not found", the general error report.
    std::function<void(const QString& text)> showMessage;
    std::function<void(const QString& text)> showError;
    // The file a result page is saved to ("Gem Som ..." on a table or graph page): the preset name and the
    // file types offered; chosenFilter receives the type picked. Empty cancels.
    std::function<QString(const QString& preset, const QStringList& filters, QString& chosenFilter)> askResultFileName;
    // Yes (true) or No to "restore the unsaved documents?".
    std::function<bool(const QString& text)> askRestore;
    // The data file "Importér data ..." reads, and a name the user types (a table's without a header); empty cancels.
    std::function<QString()> askImportFileName;
    std::function<QString(const QString& label)> askText;
    // The file a print goes to when no printer is installed; empty cancels.
    std::function<QString()> askPdfFileName;
};

// The prompts given, with the window's own dialogs for those left empty.
UserPrompts withDialogDefaults(UserPrompts prompts, QWidget* parent);
