// The main window: menus, tool bar, section panel, status bar and the tabbed pages.
#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

#include "workspace/PageHost.h"

#include <functional>
#include <memory>
#include <string>

class QAction;
class QBoxLayout;
class QVBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
namespace tavlix {
class GraphSink;
class TableSink;
}  // namespace tavlix
class GuiHost;
class TFindDialog;
class TTabGen;
class TTabMemo;

class TForm1 : public QMainWindow, public PageHost {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // PageHost
    void resetCommands() override { UpdateMenus(); }
    void setCommandEnabled(Command command, bool on) override;
    void setStatus(StatusField field, const QString& text) override;
    void stopRun(const QString& reason) override { StopRun(reason); }
    void reportError(const QString& text) override { GeneralError(text); }
    QLineEdit* labelTextEdit() override { return Edit1; }
    QMenu* contextMenu() override { return PopupMenu1; }
    void pageCaptionChanged(QWidget* page, const QString& caption) override;
    void dockSectionPanel(QWidget* page, QBoxLayout* layout) override { PutPanel2Into(page, layout); }
    void startEditCommandPoll() override;
    bool askPrintSize(double& widthCm, double& heightCm) override;

    // Resets every page command (see the availability table) and empties the status bar.
    void UpdateMenus();
    // Enables or disables a menu item or tool button by its component name ("SbPrint", "Tekst1").
    void Enable(const char* name, bool on);
    bool IsEnabled(const char* name) const;
    // Writes one of the three status panels (0 "x: …", 1 "y: …", 2 compiler messages).
    void SetStatusText(int panel, const QString& text);
    QString StatusText(int panel) const;

    QLineEdit* Edit1 = nullptr;
    int GraphWidth = 0;
    int GraphHeight = 0;
    // Where the two example documents live; always ends with a separator.
    QString ExampleDir;
    // Whether showing the window the first time opens the command line's documents (tests turn it off).
    bool OpenOnShow = true;

    // The pages.
    QTabWidget* PageControl1 = nullptr;
    int PageCount() const;
    TTabGen* Page(int index) const;
    TTabGen* ActivePage() const;
    TTabMemo* ActiveMemo() const;
    // Makes a page active from the program and sets the commands for it.
    void ActivatePage(TTabGen* page);

    // Result pages asked for by the engine; null when no page can be made (the run is stopping).
    tavlix::TableSink* LavTabel(const QString& caption);
    tavlix::GraphSink* LavGraf(const QString& caption);

    // Documents.
    TTabMemo* Ny(const QString& caption);
    TTabMemo* Open(QString fileName);
    // Saves the active script page as the save command does; false when cancelled or failed.
    bool SaveActive();
    bool SaveAs(TTabMemo* page);
    // The documents of the command line in order, or one new document.
    void OpenStartDocuments(const QStringList& files);

    // The section panel, put into the script page that was entered last.
    QWidget* Panel2 = nullptr;
    void PutPanel2Into(QWidget* page, QBoxLayout* layout);
    void TakePanel2Off();

    // Runs: while one is under way the run command interrupts it and closing is deferred until it returns.
    bool Running() const { return RunActive; }
    void RequestStop() { StopRequested = true; }
    // Stops the run and reports why once it has returned.
    void StopRun(const QString& reason);
    // A run that would make more result pages than this is stopped rather than let it exhaust memory.
    static inline int MaxRunPages = 1000;
    bool StopWanted() const { return StopRequested; }
    // Lets pending events run at most every 0.2 s; false when the run should stop.
    bool KeepGoing();
    GuiHost& Host() { return *HostImpl; }

    // Questions and dialogs, replaceable so that tests can answer them.
    std::function<QMessageBox::StandardButton(const QString& text)> AskSaveChanges;
    std::function<QString(const QString& preset)> AskSaveFileName;
    std::function<QString()> AskOpenFileName;
    // Information boxes: notices, the find dialog's "not found", the general error report.
    std::function<void(const QString& text)> ShowMessage;
    std::function<void(const QString& text)> ShowError;
    // The file a print goes to when no printer is installed; empty cancels.
    std::function<QString()> AskPdfFileName;

    // The general error report: a message box with the error's text; the command is abandoned.
    void GeneralError(const QString& text);

    // Command handlers.
    void Ny1Click();
    void bn1Click();
    void Gem1Click();
    void GemSom1Click();
    void Luk1Click();
    void Print1Click();
    void SbPrintClick();
    void Afslut1Click();
    void Klip1Click();
    void Kopier1Click();
    void Stind1Click();
    void Ryd1Click();
    void Marker1Click();
    void Sg1Click();
    void FindDialog1Find();
    void BrugMetafile1Click();
    void Run1Click();
    void Koordinater1Click();
    void sbSizeClick();
    void SbTekstClick();
    void SbTilpasClick();
    void OmTavlix1Click();
    void SectionButtonClick(const QString& header);
    void SpeedButton8Click();
    void SpeedButton9Click();
    void Timer1Timer();
    void PageControl1Change(int index);

    QTimer* Timer1 = nullptr;
    TFindDialog* FindDialog1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Action(const char* name) const;
    QToolButton* SectionButton(const char* name) const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createSectionPanel();
    void createStatusBar();
    void createPages();

    QAction* makeAction(const char* name, const QString& text, const QKeySequence& shortcut,
                        void (TForm1::*handler)());
    QAction* makeButton(const char* name, const QString& hint, const char* icon, void (TForm1::*handler)());
    void addSectionButton(QVBoxLayout* layout, const char* name, const QString& caption,
                          const QString& hint, const QKeySequence& key, std::function<void()> handler);
    void onFocusChanged(QWidget* old, QWidget* now);
    void EnterPage(TTabGen* page);
    void RemovePage(TTabGen* page);
    bool MayMakePage();
    bool CloseAllowed();
    bool AskAndSave(TTabMemo* page);
    bool PrintTo(QPrinter& printer);
    void ShowRunState();
    void FinishDeferred();
    TTabMemo* MemoOf(TTabGen* page) const;

    QHash<QString, QAction*> Actions;
    QHash<QString, QToolButton*> SectionButtons;
    QToolBar* Panel1 = nullptr;
    QLabel* StatusPanels[3] = {};
    QPointer<TTabGen> Entered;
    bool Shown = false;
    bool ProgramChangesPage = false;
    QStringList StartFiles;

    std::unique_ptr<GuiHost> HostImpl;
    bool RunActive = false;
    bool StopRequested = false;
    bool CloseAfterRun = false;
    QList<QPointer<TTabGen>> CloseAfterRunPages;
    QString StopReason;
    int RunPages = 0;  // result pages made by the run under way
    // Whether the clipboard holds text, read when it changes rather than at every tick.
    bool ClipboardHasText = false;
    QElapsedTimer PumpClock;

public:
    // The command line's documents, opened when the window is first shown.
    void SetStartFiles(const QStringList& files) { StartFiles = files; }
};

extern TForm1* Form1;
