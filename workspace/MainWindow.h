// The main window: menus, tool bar, section panel, status bar and the tabbed pages.
#pragma once

#include "engine/RunLimits.h"
#include "workspace/PageHost.h"
#include "workspace/RunPagePlan.h"
#include "workspace/UserPrompts.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

namespace tavlix {
class GraphSink;
class TableSink;
struct RunResult;
}  // namespace tavlix
class AboutDialog;
class AccuracyDialog;
class FindDialog;
class Page;
class QAction;
class QLabel;
class QPrinter;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class ScriptPage;
class CoordinatesDialog;
class NoticePanel;
class FitDialog;
class ParameterBar;
class PrintSizeDialog;
class RunController;
class WindowEngineHost;
class WindowSettings;
class DocumentRecovery;
class RecoveryStore;

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

class MainWindow : public QMainWindow, public PageHost {
    Q_OBJECT
public:
    // Prompts left empty are answered by the window's own dialogs.
    explicit MainWindow(UserPrompts prompts = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // PageHost
    void resetCommands() override;
    void setCommandEnabled(Command command, bool on) override;
    void setCommandHint(Command command, const QString& hint) override;
    void setStatus(StatusField field, const QString& text) override;
    void stopRun(const QString& reason) override;
    void reportError(const QString& text) override;
    QLineEdit* labelTextEdit() override { return labelTextEdit_; }
    QMenu* contextMenu() override { return editorContextMenu_; }
    void pageCaptionChanged(QWidget* page, const QString& caption) override;
    void dockSectionPanel(QWidget* page, QBoxLayout* layout) override;
    void startEditCommandPoll() override;
    bool askPrintSize(double& widthCm, double& heightCm) override;
    void setCommandChecked(Command command, bool on) override;
    QMenu* resultContextMenu(PageKind kind) override;

    // Commands: one action each, shared by the menu, the pop-up menu and the tool bar.
    QAction* action(Command command) const;
    bool isCommandEnabled(Command command) const;
    QToolButton* sectionButton(Section section) const;
    QString status(StatusField field) const;
    QWidget* sectionPanel() const { return sectionPanel_; }
    bool editCommandPollActive() const;

    UserPrompts& prompts() { return prompts_; }
    FindDialog& findDialog() const { return *findDialog_; }
    CoordinatesDialog& coordinatesDialog() const { return *coordinatesDialog_; }
    tavlix::RunLimits& runLimits() { return runLimits_; }

    // Where the two example documents live; always ends with a separator.
    QString exampleDir;
    // Whether showing the window the first time opens the command line's documents (tests turn it off).
    bool openStartFilesOnShow = true;
    // The command line's documents, opened when the window is first shown.
    void setStartFiles(const QStringList& files) { startFiles_ = files; }

    // The per-user memory: restores the window's geometry and state, the drawing size and "Filer > Seneste" at once,
    // and keeps them up to date from then on. A window without one (tests) remembers nothing.
    void attachSettings(std::unique_ptr<WindowSettings> settings);
    WindowSettings* settings() const { return settings_.get(); }
    QMenu* recentMenu() const { return recentMenu_; }
    void onClearRecent();

    // Crash recovery: modified script pages are copied into the store while the user works (see RecoveryStore).
    void attachRecovery(std::unique_ptr<RecoveryStore> store);
    RecoveryStore* recovery() const;
    // Asks once whether to restore the documents of an instance that did not end normally; false when none.
    bool offerRecovery();
    // Writes every modified script page's recovery file now.
    void writeRecoveryFiles();

    // The pages.
    QTabWidget* tabs() const { return pages_; }
    // The sliders of the active document's list constants, above the pages.
    ParameterBar* parameterBar() const { return parameterBar_; }
    // The last run's notices, under the pages.
    NoticePanel* noticePanel() const { return notices_; }
    int pageCount() const;
    Page* page(int index) const;
    Page* activePage() const;
    ScriptPage* activeScriptPage() const;
    // The document a page belongs to: a script page itself, or the script page whose run made a result page.
    ScriptPage* documentOf(Page* page) const;
    // Makes a page active from the program and sets the commands for it.
    void activatePage(Page* page);

    // Result pages asked for by the engine; null when no page can be made (the run is stopping).
    tavlix::TableSink* createTablePage(const QString& caption);
    tavlix::GraphSink* createGraphPage(const QString& caption);

    // Documents. A new document's file name until it is saved under a name of its own.
    static inline const QString UntitledFileName = QStringLiteral("udennavn.tvx");
    ScriptPage* newDocument(const QString& caption);
    ScriptPage* openDocument(QString fileName);
    // Saves the active page's document as the save command does; false when cancelled or failed.
    bool saveActive();
    bool saveAs(ScriptPage* page);
    // The documents of the command line in order, or one new document.
    void openStartDocuments(const QStringList& files);

    // Runs: while one is under way the run command interrupts it and closing is deferred until it returns.
    bool running() const override;
    void requestStop();
    RunController& runs() const { return *runs_; }
    // For tests: the memory a run may hold before it is stopped (0: the machine's limit again).
    void setMemoryLimitForTests(std::size_t bytes);
    WindowEngineHost& engineHost();

    // Command handlers.
    void onNew();
    void onOpen();
    void onSave();
    void onSaveAs();
    void onSaveDocumentAs();
    void onClosePage();
    // Asks for a printer first.
    void onPrint();
    // Prints at once on the default printer, or to a PDF file when there is none.
    void onPrintNow();
    void onQuit();
    void onCut();
    void onCopy();
    void onPaste();
    // The clipboard's or a file's table as table lines in the Tabeller section, as one undo step.
    void onPasteData();
    void onImportData();
    void insertData(const QString& text);
    void onDelete();
    void onSelectAll();
    void onFind();
    void findNext();
    void onRun();
    // A slider moved: the document runs again with the value, into its last run's pages.
    void onPickChanged(int parameter, int pick);
    // "Skare" turned on or off: the document runs again, drawing or no longer drawing the family.
    void onFamilyChanged(int parameter, bool on);
    void onCoordinates();
    void onPrintSize();
    void onAddLabel();
    void onFitGraph();
    void onZoomBack();
    // Enter in the label field: the active graph page waits for the click that places the label.
    void onLabelTextEntered();
    void onAbout();
    // Goes to the section, or puts it where it belongs with a template line (a section button).
    void insertSectionHeader(Section section);
    // Opens a copy of an example document as a new untitled document, so the shipped file is never written.
    void openExample(const ExampleDocument& example);
    // The caption of the example this file is, or empty when it is none.
    QString exampleCaption(const QString& fileName) const;
    void onShowLegend();
    void onSlopeField();
    void onSolveThrough();
    // Opens the fit dialog for the active page's document; made at the first use.
    void onFitConstants();
    FitDialog* fitDialog() const { return fitDialog_; }
    // "Gem Som ..." on a table or graph page: asks for a file and a type, writes it, reports a failure.
    void saveResultPage(Page* page);
    // Measures the active result page against a finer run (interruptible like a run) and shows the dialog.
    void onAccuracy();
    AccuracyDialog& accuracyDialog() const { return *accuracyDialog_; }
    void onUndo();
    void onRedo();
    // Opens the script language's help, at the entry of the word under the caret when there is one.
    void onLanguageHelp();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The run's requests and its end go through the controller, which asks the window for pages and reports.
    friend class RunController;

    void createActions();
    void createMenus();
    void createToolBar();
    void createSectionPanel();
    void createStatusBar();
    void createPages();
    void createDialogs();
    void createResultContextMenus();
    void createRecentMenu();
    void fillRecentMenu();
    void rememberDocument(const QString& fileName);
    // The folder the open and save dialogs start in, and the one a chosen file makes the next.
    QString dialogFolder() const;
    void rememberFolder(const QString& fileName);
    void saveWindowSettings();

    QAction* makeAction(Command command, const QString& text, const QKeySequence& shortcut,
                        void (MainWindow::*handler)());
    void addSectionButton(QVBoxLayout* layout, Section section, const QString& caption, const QString& hint,
                          const QKeySequence& key, const std::function<void()>& handler);
    // Reads a document file into a new page under the caption; null (after the report) when it cannot be read.
    ScriptPage* loadDocument(const QString& fileName, const QString& caption);
    void pollEditCommands();
    void onCurrentPageChanged(int index);
    void onFocusChanged(QWidget* old, QWidget* now);
    void enterPage(Page* page);
    // Closes a page; a script page takes its result pages along.
    void removePage(Page* page);
    // Takes the page out and deletes it, and nothing else.
    void discardPage(Page* page);
    void updateWindowTitle();
    void updateTabLook(Page* page);
    // The document's caption or modified state changed: its tab, its result pages' tabs and the title follow.
    void documentLookChanged(ScriptPage* script);
    void switchPage(int step);
    void onKeepResultsToggled(bool on);
    void onAxesThroughOriginToggled(bool on);
    int newRunPageIndex() const;
    void addRunPage(Page* page, const QString& caption);
    void takeOverRunPage(Page* page);
    void markOutOfDate(Page* page);
    bool refreshCheckPasses(ScriptPage* script);
    void settleRunPages(const tavlix::RunResult& result);
    void showRunResult(ScriptPage* script, const tavlix::RunResult& result);
    void undockSectionPanel();
    bool closeAllowed();
    bool askAndSave(ScriptPage* page);
    static QString documentName(const ScriptPage* page);
    void showRunState();
    bool hasResultPages(const ScriptPage* script) const;
    void updateParameterBar();
    // After a run: the statistics of the page it ended on, and its accuracy when the dialog is open.
    void followRunWithAccuracy();
    ScriptPage* scriptPageOf(Page* page) const;

    UserPrompts prompts_;
    tavlix::RunLimits runLimits_;

    std::array<QAction*, CommandCount> actions_{};
    std::array<QToolButton*, SectionCount> sectionButtons_{};
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* tavlixMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QMenu* editorContextMenu_ = nullptr;
    QMenu* tableContextMenu_ = nullptr;
    QMenu* graphContextMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLineEdit* labelTextEdit_ = nullptr;
    QWidget* sectionPanel_ = nullptr;
    std::array<QLabel*, 3> statusFields_{};  // x, y and the message field, which Error shares
    QLabel* statusLabel(StatusField field) const;
    QTabWidget* pages_ = nullptr;
    ParameterBar* parameterBar_ = nullptr;
    NoticePanel* notices_ = nullptr;
    QTimer* editCommandPoll_ = nullptr;

    FindDialog* findDialog_ = nullptr;
    AboutDialog* aboutDialog_ = nullptr;
    CoordinatesDialog* coordinatesDialog_ = nullptr;
    PrintSizeDialog* printSizeDialog_ = nullptr;
    AccuracyDialog* accuracyDialog_ = nullptr;
    FitDialog* fitDialog_ = nullptr;

    QPointer<Page> enteredPage_;
    bool shownOnce_ = false;
    bool changingPage_ = false;
    QStringList startFiles_;
    // Whether the clipboard holds text, read when it changes rather than at every tick.
    bool clipboardHasText_ = false;

    std::unique_ptr<WindowSettings> settings_;
    QMenu* recentMenu_ = nullptr;
    QString lastFolder_;  // of the file dialogs; empty until one chose a file
    DocumentRecovery* recovery_ = nullptr;
    int untitledCount_ = 0;  // untitled documents made so far
    RunController* runs_ = nullptr;
};
