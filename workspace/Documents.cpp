// The document commands: new, open, save, close and print, with the questions they ask.
#include "workspace/Documents.h"

#include "support/DocumentFile.h"
#include "workspace/DocumentRecovery.h"
#include "workspace/DocumentWindow.h"
#include "workspace/PageHost.h"
#include "workspace/QtCp1252.h"
#include "workspace/RecoveryStore.h"
#include "workspace/RunController.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"
#include "workspace/UserPrompts.h"
#include "workspace/WindowMemory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextCursor>

Documents::Documents(DocumentWindow& window, UserPrompts& prompts, WindowMemory& memory, RunController& runs,
                     QObject* parent)
    : QObject(parent), window_(window), prompts_(prompts), memory_(memory), runs_(runs)
{}

Documents::~Documents() = default;

// On a result page the document is the script page whose run made it.
ScriptPage* Documents::documentOfActivePage() const
{
    Page* page = window_.activePage();
    return page ? ScriptPage::of(page->document()) : nullptr;
}

ScriptPage* Documents::newDocument(const QString& caption)
{
    auto* page = new ScriptPage(window_.pageHost());
    window_.addDocumentPage(page);
    page->setCaption(caption);
    page->settings() = tavlix::defaultSettings();
    page->setModified(false);
    page->setFileName(UntitledFileName);
    if (recovery_)
        recovery_->watch(page);
    window_.activatePage(page);
    page->editor()->setFocus();
    return page;
}

// Untitled documents count 1, 2, 3 in the order they are made, past any caption still open (a restored one).
void Documents::newUntitled()
{
    const auto caption = [](int n) { return QString("(Uden navn - %1)").arg(n); };
    const auto open = [this](const QString& name) {
        for (int i = 0; i < window_.pageCount(); ++i)
            if (window_.page(i)->caption() == name)
                return true;
        return false;
    };
    while (open(caption(untitledCount_ + 1)))
        ++untitledCount_;
    newDocument(caption(++untitledCount_));
}

// The same reader, size limit and messages as the batch mode.
ScriptPage* Documents::loadDocument(const QString& fileName, const QString& caption)
{
    const tavlix::DocumentReadResult read = tavlix::readDocument(QFile::encodeName(fileName).toStdString());
    if (!read.ok) {
        window_.pageHost().reportError(qt_cp1252::toQString(read.error));
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
    window_.pageHost().setCommandEnabled(Command::Save, false);
    return page;
}

// An example opens as a copy by whatever way it is chosen (the open dialog, the recent list, the command line).
ScriptPage* Documents::openDocument(QString fileName)
{
    if (!fileName.contains('.'))
        fileName += ".tvx";
    if (const QString example = exampleCaption(fileName); !example.isEmpty())
        return loadDocument(fileName, example);
    ScriptPage* page = loadDocument(fileName, QFileInfo(fileName).fileName());
    if (page) {
        page->setFileName(fileName);
        memory_.rememberDocument(fileName);
    }
    return page;
}

QString Documents::exampleCaption(const QString& fileName) const
{
    const QString file = QFileInfo(fileName).canonicalFilePath();
    for (const ExampleDocument& e : ExampleDocuments)
        if (!file.isEmpty() && file == QFileInfo(exampleDir + e.fileName).canonicalFilePath())
            return e.caption;
    return {};
}

void Documents::open()
{
    QString file = prompts_.askOpenFileName ? prompts_.askOpenFileName(memory_.dialogFolder()) : QString();
    if (file.isEmpty())
        return;
    memory_.rememberFolder(file);
    openDocument(file);
}

// The copy keeps the untitled name, so saving it asks for a name of its own; it never enters the recent list.
void Documents::openExample(const ExampleDocument& example)
{
    loadDocument(exampleDir + example.fileName, example.caption);
}

void Documents::openStartDocuments(const QStringList& files)
{
    window_.undockSectionPanel();
    if (files.isEmpty()) {
        newUntitled();
        return;
    }
    // A file that cannot be opened is reported; the others still open.
    for (const QString& file : files)
        openDocument(file);
}

bool Documents::saveAs(ScriptPage* page)
{
    // A saved document starts in its own folder; an untitled one in the folder last used, and a copy of an example
    // suggests the example's name.
    QString preset = page->fileName();
    if (preset == UntitledFileName)
        preset =
            QDir(memory_.dialogFolder()).filePath(page->caption().startsWith('(') ? preset : page->caption() + ".tvx");
    QString chosen = prompts_.askSaveFileName ? prompts_.askSaveFileName(preset) : QString();
    if (chosen.isEmpty())
        return false;
    memory_.rememberFolder(chosen);
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
    memory_.rememberDocument(file);
    return true;
}

bool Documents::saveActive()
{
    ScriptPage* page = documentOfActivePage();
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

void Documents::saveDocumentAs()
{
    if (ScriptPage* document = documentOfActivePage())
        saveAs(document);
}

// An untitled document is known by its caption ("Eksempel 1", "(Uden navn - 2)"), a saved one by its file.
QString Documents::documentName(const ScriptPage* page)
{
    return page->fileName() == UntitledFileName ? page->caption() : page->fileName();
}

// Yes saves (a cancelled or failed save keeps the page), No goes on, Abort keeps everything.
bool Documents::askAndSave(ScriptPage* page)
{
    QMessageBox::StandardButton answer =
        prompts_.askSaveChanges
            ? prompts_.askSaveChanges(QString("Skal ændringerne i \"%1\" gemmes?").arg(documentName(page)))
            : QMessageBox::Abort;
    if (answer == QMessageBox::Yes)
        return saveActive();
    return answer == QMessageBox::No;
}

void Documents::closePage()
{
    Page* page = window_.activePage();
    if (!page)
        return;
    // The run stops first; the page is closed once it has returned.
    if (runs_.deferPageClose(page))
        return;
    if (ScriptPage* script = ScriptPage::of(page); script && script->isModified() && !askAndSave(script))
        return;
    window_.removePage(page);
}

// One unsaved document gets the question of closing its page; several get one question that lists them.
bool Documents::closeAllowed()
{
    QList<ScriptPage*> unsaved;
    for (int i = 0; i < window_.pageCount(); ++i)
        if (ScriptPage* script = ScriptPage::of(window_.page(i)); script && script->isModified())
            unsaved << script;
    if (unsaved.size() == 1) {
        window_.activatePage(unsaved.first());
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
        window_.activatePage(script);
        if (!saveActive())
            return false;
    }
    return true;
}

void Documents::print()
{
    Page* page = window_.activePage();
    if (!page)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setCollateCopies(true);
    // The print-to-file name follows the page instead of Qt's English "print.pdf".
    printer.setDocName(page->caption());
    page->preparePrinter(printer);
    QPrintDialog dialog(&printer, window_.dialogParent());
    dialog.setWindowTitle("Udskriv");
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() == QDialog::Accepted)
        page->print(printer);
}

void Documents::printNow()
{
    Page* page = window_.activePage();
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

// ---- recovery ----------------------------------------------------------------------------------------------------

void Documents::attachRecovery(std::unique_ptr<RecoveryStore> store)
{
    recovery_ = new DocumentRecovery(window_, *this, std::move(store));
    // Pages opened before the store came are watched from now on.
    for (int i = 0; i < window_.pageCount(); ++i)
        if (ScriptPage* script = ScriptPage::of(window_.page(i)))
            recovery_->watch(script);
}

void Documents::writeRecoveryFiles()
{
    if (recovery_)
        recovery_->writeFiles();
}

bool Documents::offerRecovery()
{
    return recovery_ && recovery_->offer();
}
