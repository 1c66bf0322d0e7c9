// The main window: menus, tool bar, section panel, status bar and the tabbed pages, wired to the parts that do
// the work: the documents, the runs and the window's memory.
#pragma once

#include "engine/RunLimits.h"
#include "workspace/DocumentWindow.h"
#include "workspace/PageHost.h"
#include "workspace/RunWindow.h"
#include "workspace/UserPrompts.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>

namespace tavlix {
class GraphSink;
class TableSink;
struct RunResult;
}  // namespace tavlix
class AboutDialog;
class AccuracyDialog;
class CoordinatesDialog;
class Documents;
class FindDialog;
class FitDialog;
class NoticePanel;
class Page;
class ParameterBar;
class PrintSizeDialog;
class QAction;
class QLabel;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class RunController;
class ScriptPage;
class WindowMemory;

class MainWindow : public QMainWindow, public PageHost, public DocumentWindow, public RunWindow {
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
    tavlix::RunLimits& runLimits() override { return runLimits_; }

    // The parts the window is wired to.
    Documents& documents() const { return *documents_; }
    RunController& runs() const { return *runs_; }
    WindowMemory& memory() const { return *memory_; }

    // Whether showing the window the first time opens a new document (the entry point and tests open their own).
    bool openStartFilesOnShow = true;

    // The pages.
    QTabWidget* tabs() const override { return pages_; }
    // The sliders of the active document's list constants, above the pages.
    ParameterBar* parameterBar() const override { return parameterBar_; }
    // The last run's notices, under the pages.
    NoticePanel* noticePanel() const override { return notices_; }
    int pageCount() const override;
    Page* page(int index) const override;
    Page* activePage() const override;
    ScriptPage* activeScriptPage() const;
    // The document a page belongs to: a script page itself, or the script page whose run made a result page.
    ScriptPage* documentOf(Page* page) const;
    // Makes a page active from the program and sets the commands for it.
    void activatePage(Page* page) override;

    tavlix::TableSink* createTablePage(const QString& caption) override;
    tavlix::GraphSink* createGraphPage(const QString& caption) override;

    // Runs: while one is under way the run command interrupts it and closing is deferred until it returns.
    bool running() const override;
    void requestStop();

    // Command handlers that are called directly as well as through their actions; the others are private, and the
    // document commands are the documents'.
    // "Gem Som ...": the script page's document, or the result page's table or drawing.
    void onSaveAs();
    void onCut();
    void onCopy();
    void onPaste();
    // The clipboard's table as table lines in the Tabeller section, as one undo step.
    void onPasteData();
    void onDelete();
    void onSelectAll();
    void onFind();
    void findNext();
    void onRun();
    // Measures the active result page against a finer run (interruptible like a run) and shows the dialog.
    void onAccuracy();
    // Opens the script language's help, at the entry of the word under the caret when there is one.
    void onLanguageHelp();
    FitDialog* fitDialog() const { return fitDialog_; }
    AccuracyDialog& accuracyDialog() const override { return *accuracyDialog_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // DocumentWindow
    PageHost& pageHost() override { return *this; }
    QWidget* dialogParent() override { return this; }
    void addDocumentPage(ScriptPage* page) override;
    void removePage(Page* page) override;
    void undockSectionPanel() override;

    // RunWindow
    bool keepsResults() const override;
    bool hasResultPages(const ScriptPage* script) const override;
    bool refreshCheckPasses(ScriptPage* script) override;
    void settleRunPages(const tavlix::RunResult& result) override;
    void followRunWithAccuracy() override;
    void closeActivePage() override;
    void closeWindow() override { close(); }
    bool windowShown() const override { return isVisible(); }

    // Command handlers.
    void onQuit();
    // A file's table as table lines in the Tabeller section, as one undo step.
    void onImportData();
    void insertData(const QString& text);
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
    void onShowLegend();
    void onSlopeField();
    void onSolveThrough();
    // Opens the fit dialog for the active page's document; made at the first use.
    void onFitConstants();
    // "Gem Som ..." on a table or graph page: asks for a file and a type, writes it, reports a failure.
    void saveResultPage(Page* page);
    void onUndo();
    void onRedo();

    void createActions();
    void createMenus();
    void createToolBar();
    void createSectionPanel();
    void createStatusBar();
    void createPages();
    void createDialogs();
    void createResultContextMenus();
    void createParts();

    QAction* makeAction(Command command, const QString& text, const QKeySequence& shortcut,
                        void (MainWindow::*handler)());
    void addSectionButton(QVBoxLayout* layout, Section section, const QString& caption, const QString& hint,
                          const QKeySequence& key, const std::function<void()>& handler);
    void pollEditCommands();
    void onCurrentPageChanged(int index);
    void onFocusChanged(QWidget* old, QWidget* now);
    void enterPage(Page* page);
    // Takes the page out and deletes it, and nothing else.
    void discardPage(Page* page);
    void updateWindowTitle();
    void updateTabLook(Page* page);
    // The document's caption or modified state changed: its tab, its result pages' tabs and the title follow.
    void documentLookChanged(ScriptPage* script);
    void switchPage(int step);
    void onAxesThroughOriginToggled(bool on);
    int newRunPageIndex() const;
    void addRunPage(Page* page, const QString& caption);
    void takeOverRunPage(Page* page);
    void markOutOfDate(Page* page);
    void showRunResult(ScriptPage* script, const tavlix::RunResult& result);
    void showRunState();
    void updateParameterBar();

    UserPrompts prompts_;
    tavlix::RunLimits runLimits_;

    std::array<QAction*, CommandCount> actions_{};
    std::array<QToolButton*, SectionCount> sectionButtons_{};
    QMenu* fileMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
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

    WindowMemory* memory_ = nullptr;
    RunController* runs_ = nullptr;
    Documents* documents_ = nullptr;

    QPointer<Page> enteredPage_;
    bool shownOnce_ = false;
    bool changingPage_ = false;
    // Whether the clipboard holds text, read when it changes rather than at every tick.
    bool clipboardHasText_ = false;
};
