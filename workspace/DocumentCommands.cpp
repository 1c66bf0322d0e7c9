// The document commands: new, open, save, close and print, with the questions they ask.
#include "workspace/MainWindow.h"

#include "support/DocumentFile.h"
#include "workspace/QtCp1252.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"

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
    watchForRecovery(page);
    activatePage(page);
    page->editor()->setFocus();
    return page;
}

void MainWindow::onNew()
{
    newDocument(QString("(Uden navn - %1)").arg(pageCount() + 1));
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
    rememberDocument(fileName);
    return page;
}

ScriptPage* MainWindow::openDocument(QString fileName)
{
    if (!fileName.contains('.'))
        fileName += ".tvx";
    ScriptPage* page = loadDocument(fileName, QFileInfo(fileName).fileName());
    if (page)
        page->setFileName(fileName);
    return page;
}

void MainWindow::onOpen()
{
    QString file = prompts_.askOpenFileName ? prompts_.askOpenFileName() : QString();
    if (!file.isEmpty())
        openDocument(file);
}

// The copy keeps the untitled name, so saving it asks for a name of its own.
void MainWindow::openExample(const QString& fileName, const QString& caption)
{
    loadDocument(exampleDir + fileName, caption);
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
    // An untitled copy of an example suggests the example's name.
    QString preset = page->fileName();
    if (preset == UntitledFileName && !page->caption().startsWith('('))
        preset = page->caption() + ".tvx";
    QString chosen = prompts_.askSaveFileName ? prompts_.askSaveFileName(preset) : QString();
    if (chosen.isEmpty())
        return false;
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
    forgetRecovery(page);
    rememberDocument(file);
    return true;
}

bool MainWindow::saveActive()
{
    ScriptPage* page = activeScriptPage();
    if (!page)
        return false;
    if (page->fileName() == UntitledFileName)
        return saveAs(page);
    if (!page->save())
        return false;
    forgetRecovery(page);
    return true;
}

void MainWindow::onSave()
{
    saveActive();
}

void MainWindow::onSaveAs()
{
    if (ScriptPage* page = activeScriptPage())
        saveAs(page);
    else if (Page* result = activePage())
        saveResultPage(result);
}

// Yes saves (a cancelled or failed save keeps the page), No goes on, Abort keeps everything.
bool MainWindow::askAndSave(ScriptPage* page)
{
    // An untitled document is known by its caption ("Eksempel 1", "(Uden navn - 2)"), a saved one by its file.
    const QString name = page->fileName() == UntitledFileName ? page->caption() : page->fileName();
    QMessageBox::StandardButton answer =
        prompts_.askSaveChanges ? prompts_.askSaveChanges(QString("Skal ændringerne i \"%1\" gemmes?").arg(name))
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
    if (runActive_) {
        // The run stops first; the page is closed once it has returned.
        requestStop();
        pagesToCloseAfterRun_ << page;
        return;
    }
    if (ScriptPage* script = scriptPageOf(page); script && script->isModified() && !askAndSave(script))
        return;
    removePage(page);
}

bool MainWindow::closeAllowed()
{
    for (int i = pageCount() - 1; i >= 0; --i) {
        ScriptPage* script = scriptPageOf(page(i));
        if (!script || !script->isModified())
            continue;
        activatePage(script);
        if (!askAndSave(script))
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
