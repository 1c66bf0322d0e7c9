// The window's documents: new, open, save, save as, the questions before a page or the window closes, print, the
// untitled count, the start documents and the shipped examples.
#pragma once

#include "workspace/Command.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class DocumentRecovery;
class DocumentWindow;
class Page;
class RecoveryStore;
class RunController;
class ScriptPage;
class WindowMemory;
struct UserPrompts;

// The shipped example documents: the section button that opens each, its file in the example folder, and the
// caption its untitled copy gets.
struct ExampleDocument {
    Section button;
    const char* fileName;
    const char* caption;
};
inline constexpr ExampleDocument ExampleDocuments[] = {
    {Section::FirstExample, "2sin.tvx", "Eksempel 1"},
    {Section::SecondExample, "simpel.tvx", "Eksempel 2"},
};

class Documents : public QObject {
    Q_OBJECT
public:
    Documents(DocumentWindow& window, UserPrompts& prompts, WindowMemory& memory, RunController& runs, QObject* parent);
    ~Documents() override;

    // A new document's file name until it is saved under a name of its own.
    static inline const QString UntitledFileName = QStringLiteral("udennavn.tvx");
    // Where the two example documents live; always ends with a separator.
    QString exampleDir;

    ScriptPage* newDocument(const QString& caption);
    // "Ny": the next untitled document.
    void newUntitled();
    ScriptPage* openDocument(QString fileName);
    // "Åbn ...": asks for a file, then opens it.
    void open();
    // Saves the active page's document as the save command does; false when cancelled or failed.
    bool saveActive();
    bool saveAs(ScriptPage* page);
    // "Gem opgave som ...": the active page's document under a new name.
    void saveDocumentAs();
    // "Luk blad": asks about unsaved changes; with a run under way the page closes once it has stopped.
    void closePage();
    // The question before the window closes; false keeps it open.
    bool closeAllowed();
    // Asks for a printer first.
    void print();
    // Prints at once on the default printer, or to a PDF file when there is none.
    void printNow();
    // The documents of the command line in order, or one new document.
    void openStartDocuments(const QStringList& files);
    // Opens a copy of an example document as a new untitled document, so the shipped file is never written.
    void openExample(const ExampleDocument& example);
    // The caption of the example this file is, or empty when it is none.
    QString exampleCaption(const QString& fileName) const;
    UserPrompts& prompts() { return prompts_; }

    // Crash recovery: modified script pages are copied into the store while the user works (see RecoveryStore).
    void attachRecovery(std::unique_ptr<RecoveryStore> store);
    // Asks once whether to restore the documents of an instance that did not end normally; false when none.
    bool offerRecovery();
    // Writes every modified script page's recovery file now.
    void writeRecoveryFiles();

private:
    // Reads a document file into a new page under the caption; null (after the report) when it cannot be read.
    ScriptPage* loadDocument(const QString& fileName, const QString& caption);
    bool askAndSave(ScriptPage* page);
    ScriptPage* documentOfActivePage() const;
    static QString documentName(const ScriptPage* page);

    DocumentWindow& window_;
    UserPrompts& prompts_;
    WindowMemory& memory_;
    RunController& runs_;
    DocumentRecovery* recovery_ = nullptr;
    int untitledCount_ = 0;  // untitled documents made so far
};
