// The document commands: new, open, save, close and print, with the questions they ask.
#include "workspace/MainWindow.h"

#include "workspace/DocumentRecovery.h"
#include "workspace/RunController.h"

#include "support/DocumentFile.h"
#include "workspace/QtCp1252.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTabWidget>
#include <QTextCursor>

void MainWindow::reportError(const QString& text)
{
    if (prompts_.showError)
        prompts_.showError(text);
}

ScriptPage* MainWindow::newDocument(const QString& caption)
{
    auto* page = new ScriptPage(*this);
    connect(page, &ScriptPage::modifiedChanged, this, [this, page] { documentLookChanged(page); });
    connect(page, &ScriptPage::parametersChanged, this, [this, page] {
        if (documentOf(activePage()) == page)
            updateParameterBar();
    });
    pages_->addTab(page, QString());
    page->setCaption(caption);
    page->settings() = tavlix::defaultSettings();
    page->setModified(false);
    page->setFileName(UntitledFileName);
    if (recovery_)
        recovery_->watch(page);
    activatePage(page);
    page->editor()->setFocus();
    return page;
}

// Untitled documents count 1, 2, 3 in the order they are made, past any caption still open (a restored one).
void MainWindow::onNew()
{
    const auto caption = [](int n) { return QString("(Uden navn - %1)").arg(n); };
    const auto open = [this](const QString& name) {
        for (int i = 0; i < pageCount(); ++i)
            if (page(i)->caption() == name)
                return true;
        return false;
    };
    while (open(caption(untitledCount_ + 1)))
        ++untitledCount_;
    newDocument(caption(++untitledCount_));
}

// The same reader, size limit and messages as the batch mode.
ScriptPage* MainWindow::loadDocument(const QString& fileName, const QString& caption)
{
    const tavlix::DocumentReadResult read = tavlix::readDocument(QFile::encodeName(fileName).toStdString());
    if (!read.ok) {
        reportError(qt_cp1252::toQString(read.error));
        return nullptr;
    }
    ScriptPage* page = newDocument(caption);
    page->settings() = read.doc.settings;
    QStringList script;
    script.reserve(static_cast<qsizetype>(read.doc.lines.size()));
    for (const std::string& line : read.doc.lines)
        script << qt_cp1252::toQString(line);
    page->setLines(script);
    QTextCursor c = page->editor()->textCursor();
    c.movePosition(QTextCursor::Start);
    page->editor()->setTextCursor(c);
    page->editor()->setFocus();
    page->setModified(false);
    // Filling the editor counted as a change; the poll would take the save command back at its next tick.
    setCommandEnabled(Command::Save, false);
    return page;
}

// An example opens as a copy by whatever way it is chosen (the open dialog, the recent list, the command line).
ScriptPage* MainWindow::openDocument(QString fileName)
{
    if (!fileName.contains('.'))
        fileName += ".tvx";
    if (const QString example = exampleCaption(fileName); !example.isEmpty())
        return loadDocument(fileName, example);
    ScriptPage* page = loadDocument(fileName, QFileInfo(fileName).fileName());
    if (page) {
        page->setFileName(fileName);
        rememberDocument(fileName);
    }
    return page;
}

QString MainWindow::exampleCaption(const QString& fileName) const
{
    const QString file = QFileInfo(fileName).canonicalFilePath();
    for (const ExampleDocument& e : ExampleDocuments)
        if (!file.isEmpty() && file == QFileInfo(exampleDir + e.fileName).canonicalFilePath())
            return e.caption;
    return {};
}

void MainWindow::onOpen()
{
    QString file = prompts_.askOpenFileName ? prompts_.askOpenFileName(dialogFolder()) : QString();
    if (file.isEmpty())
        return;
    rememberFolder(file);
    openDocument(file);
}

// The copy keeps the untitled name, so saving it asks for a name of its own; it never enters the recent list.
void MainWindow::openExample(const ExampleDocument& example)
{
    loadDocument(exampleDir + example.fileName, example.caption);
}

void MainWindow::openStartDocuments(const QStringList& files)
{
    undockSectionPanel();
    if (files.isEmpty()) {
        onNew();
        return;
    }
    // A file that cannot be opened is reported; the others still open.
    for (const QString& file : files)
        openDocument(file);
}

bool MainWindow::saveAs(ScriptPage* page)
{
    // A saved document starts in its own folder; an untitled one in the folder last used, and a copy of an example
    // suggests the example's name.
    QString preset = page->fileName();
    if (preset == UntitledFileName)
        preset = QDir(dialogFolder()).filePath(page->caption().startsWith('(') ? preset : page->caption() + ".tvx");
    QString chosen = prompts_.askSaveFileName ? prompts_.askSaveFileName(preset) : QString();
    if (chosen.isEmpty())
        return false;
    rememberFolder(chosen);
    QString caption = QFileInfo(chosen).fileName();
    QString file = chosen;
    if (!caption.contains('.'))
        file += ".tvx";
    // The page takes the new name only once the file is written.
    QString oldName = page->fileName();
    page->setFileName(file);
    if (!page->save()) {
        page->setFileName(oldName);
        return false;
    }
    page->setCaption(caption);
    if (recovery_)
        recovery_->forget(page);
    rememberDocument(file);
    return true;
}

bool MainWindow::saveActive()
{
    ScriptPage* page = documentOf(activePage());
    if (!page)
        return false;
    if (page->fileName() == UntitledFileName)
        return saveAs(page);
    if (!page->save())
        return false;
    if (recovery_)
        recovery_->forget(page);
    return true;
}

void MainWindow::onSave()
{
    saveActive();
}

void MainWindow::onSaveDocumentAs()
{
    if (ScriptPage* document = documentOf(activePage()))
        saveAs(document);
}

void MainWindow::onSaveAs()
{
    if (ScriptPage* page = activeScriptPage())
        saveAs(page);
    else if (Page* result = activePage())
        saveResultPage(result);
}

// An untitled document is known by its caption ("Eksempel 1", "(Uden navn - 2)"), a saved one by its file.
QString MainWindow::documentName(const ScriptPage* page)
{
    return page->fileName() == UntitledFileName ? page->caption() : page->fileName();
}

// Yes saves (a cancelled or failed save keeps the page), No goes on, Abort keeps everything.
bool MainWindow::askAndSave(ScriptPage* page)
{
    QMessageBox::StandardButton answer =
        prompts_.askSaveChanges
            ? prompts_.askSaveChanges(QString("Skal ændringerne i \"%1\" gemmes?").arg(documentName(page)))
            : QMessageBox::Abort;
    if (answer == QMessageBox::Yes)
        return saveActive();
    return answer == QMessageBox::No;
}

void MainWindow::onClosePage()
{
    Page* page = activePage();
    if (!page)
        return;
    // The run stops first; the page is closed once it has returned.
    if (runs_->deferPageClose(page))
        return;
    if (ScriptPage* script = scriptPageOf(page); script && script->isModified() && !askAndSave(script))
        return;
    removePage(page);
}

// One unsaved document gets the question of closing its page; several get one question that lists them.
bool MainWindow::closeAllowed()
{
    QList<ScriptPage*> unsaved;
    for (int i = 0; i < pageCount(); ++i)
        if (ScriptPage* script = scriptPageOf(page(i)); script && script->isModified())
            unsaved << script;
    if (unsaved.size() == 1) {
        activatePage(unsaved.first());
        return askAndSave(unsaved.first());
    }
    if (unsaved.isEmpty())
        return true;
    QString text = "Disse dokumenter er ændret og ikke gemt:\n";
    for (ScriptPage* script : unsaved)
        text += "\n    " + documentName(script);
    text += "\n\nSkal ændringerne gemmes?";
    const QMessageBox::StandardButton answer = prompts_.askSaveAll ? prompts_.askSaveAll(text) : QMessageBox::Cancel;
    if (answer != QMessageBox::SaveAll)
        return answer == QMessageBox::Discard;
    // A cancelled or failed save keeps the program open, with that document in front.
    for (ScriptPage* script : unsaved) {
        activatePage(script);
        if (!saveActive())
            return false;
    }
    return true;
}

void MainWindow::onQuit()
{
    close();
}

void MainWindow::onPrint()
{
    Page* page = activePage();
    if (!page)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setCollateCopies(true);
    // The print-to-file name follows the page instead of Qt's English "print.pdf".
    printer.setDocName(page->caption());
    page->preparePrinter(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle("Udskriv");
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() == QDialog::Accepted)
        page->print(printer);
}

void MainWindow::onPrintNow()
{
    Page* page = activePage();
    if (!page)
        return;
    QPrinter printer(QPrinter::HighResolution);
    // Without a printer the print goes to a PDF file the user names, never silently nowhere.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        QString pdf = prompts_.askPdfFileName ? prompts_.askPdfFileName() : QString();
        if (pdf.isEmpty())
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    }
    page->preparePrinter(printer);
    page->print(printer);
}
