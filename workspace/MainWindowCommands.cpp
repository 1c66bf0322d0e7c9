// The window's commands: one action each, shared by the menus, the pop-up menu and the tool bar, and which
// commands are available.
#include "workspace/MainWindow.h"

#include "workspace/Documents.h"
#include "workspace/GraphPage.h"
#include "workspace/NoticePanel.h"

#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"
#include "workspace/ToolIcons.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace {

// Every command the availability rules switch; a page turns on its own when it is entered.
constexpr Command PageCommands[] = {
    Command::Cut,
    Command::Copy,
    Command::Paste,
    Command::Delete,
    Command::SelectAll,
    Command::Find,
    Command::Save,
    Command::SaveAs,
    Command::ClosePage,
    Command::Print,
    Command::PrintNow,
    Command::Run,
    Command::Coordinates,
    Command::PrintSize,
    Command::AddLabel,
    Command::FitGraph,
    Command::ShowLegend,
    Command::ZoomBack,
    Command::Accuracy,
    Command::Undo,
    Command::Redo,
    Command::SlopeField,
    Command::SolveThrough,
    Command::AxesThroughOrigin,
    Command::SaveDocumentAs,
    Command::PasteData,
    Command::ImportData,
    Command::ShowPoints,
    Command::TangentAt,
    Command::AreaUnder,
};

}  // namespace

// ---- construction --------------------------------------------------------------------------------------------

QAction* MainWindow::makeAction(Command command, const QString& text, const QKeySequence& shortcut,
                                void (MainWindow::*handler)())
{
    auto* a = new QAction(text, this);
    a->setShortcut(shortcut);
    // The menus show texts only, as they always have; the icons are the tool bar's.
    a->setIconVisibleInMenu(false);
    if (handler)
        connect(a, &QAction::triggered, this, handler);
    actions_[static_cast<int>(command)] = a;
    return a;
}

void MainWindow::createActions()
{
    // The document commands are the documents', which are made after the actions.
    using DocumentCommand = void (*)(Documents&);
    const auto documentAction = [this](Command command, const QString& text, const QKeySequence& key,
                                       DocumentCommand act) {
        connect(makeAction(command, text, key, nullptr), &QAction::triggered, this, [this, act] { act(*documents_); });
    };
    documentAction(Command::New, "&Ny", QKeySequence("Ctrl+N"), [](Documents& d) { d.newUntitled(); });
    documentAction(Command::Open, "Å&bn ...", QKeySequence("Ctrl+O"), [](Documents& d) { d.open(); });
    documentAction(Command::Save, "&Gem", QKeySequence("Ctrl+S"), [](Documents& d) { d.saveActive(); });
    makeAction(Command::SaveAs, "Gem &Som ...", {}, &MainWindow::onSaveAs);
    documentAction(Command::SaveDocumentAs, "Gem &opgave som ...", QKeySequence("Ctrl+Shift+S"),
                   [](Documents& d) { d.saveDocumentAs(); });
    documentAction(Command::ClosePage, "&Luk blad", {}, [](Documents& d) { d.closePage(); });
    documentAction(Command::Print, "&Udskriv ...", QKeySequence("Ctrl+P"), [](Documents& d) { d.print(); });
    documentAction(Command::PrintNow, "Udskriv", {}, [](Documents& d) { d.printNow(); });
    makeAction(Command::Quit, "&Afslut", {}, &MainWindow::onQuit);
    // The recent list and its clearing are the window memory's.
    makeAction(Command::ClearRecent, "&Ryd listen", {}, nullptr);

    makeAction(Command::Undo, "&Fortryd", QKeySequence::Undo, &MainWindow::onUndo);
    makeAction(Command::Redo, "&Gentag", QKeySequence("Ctrl+Y"), &MainWindow::onRedo)
        ->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    makeAction(Command::Cut, "&Klip", QKeySequence("Ctrl+X"), &MainWindow::onCut);
    makeAction(Command::Copy, "K&opier", QKeySequence("Ctrl+C"), &MainWindow::onCopy);
    makeAction(Command::Paste, "Sæt i&nd", QKeySequence("Ctrl+V"), &MainWindow::onPaste);
    makeAction(Command::PasteData, "Indsæt &data", {}, &MainWindow::onPasteData);
    makeAction(Command::ImportData, "&Importér data ...", {}, &MainWindow::onImportData);
    makeAction(Command::Delete, "&Ryd", QKeySequence("Ctrl+Del"), &MainWindow::onDelete);
    makeAction(Command::SelectAll, "&Marker alt", QKeySequence("Ctrl+A"), &MainWindow::onSelectAll);
    makeAction(Command::Find, "&Søg ...", QKeySequence("Ctrl+B"), &MainWindow::onFind);

    makeAction(Command::Run, "&Kør", QKeySequence("F9"), &MainWindow::onRun);
    makeAction(Command::Coordinates, "K&oordinater ...", QKeySequence("F8"), &MainWindow::onCoordinates);
    makeAction(Command::PrintSize, "&Størrelse ...", {}, &MainWindow::onPrintSize);
    makeAction(Command::AddLabel, "&Tekst", {}, &MainWindow::onAddLabel);
    makeAction(Command::FitGraph, "Tilpas &graf ...", {}, &MainWindow::onFitGraph);
    makeAction(Command::ZoomBack, "&Zoom tilbage", QKeySequence(Qt::Key_Backspace), &MainWindow::onZoomBack);
    makeAction(Command::About, "Om Tavlix ...", {}, &MainWindow::onAbout);
    QAction* keep = makeAction(Command::KeepResults, "&Behold tidligere resultater", {}, nullptr);
    keep->setCheckable(true);
    keep->setStatusTip("Hver kørsel laver nye sider i stedet for at opdatere den forrige kørsels sider");
    // Page switching works wherever the focus is, so the window owns these keys.
    QAction* next = makeAction(Command::NextPage, "&Næste blad", {}, nullptr);
    next->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    connect(next, &QAction::triggered, this, [this] { switchPage(1); });
    QAction* previous = makeAction(Command::PreviousPage, "&Forrige blad", {}, nullptr);
    previous->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    connect(previous, &QAction::triggered, this, [this] { switchPage(-1); });
    QAction* legend = makeAction(Command::ShowLegend, "Vis &forklaring", {}, &MainWindow::onShowLegend);
    legend->setCheckable(true);
    legend->setChecked(true);
    QAction* axes = makeAction(Command::AxesThroughOrigin, "&Akser gennem (0; 0)", {}, nullptr);
    axes->setCheckable(true);
    connect(axes, &QAction::toggled, this, &MainWindow::onAxesThroughOriginToggled);
    makeAction(Command::Accuracy, "&Nøjagtighed ...", {}, &MainWindow::onAccuracy);
    makeAction(Command::SlopeField, "&Hældningsfelt", {}, &MainWindow::onSlopeField)->setCheckable(true);
    makeAction(Command::SolveThrough, "Løsning gennem &punkt", {}, &MainWindow::onSolveThrough);
    makeAction(Command::FitConstants, "T&ilpas konstanter ...", {}, &MainWindow::onFitConstants);
    // The graph page's analysis: each acts on the active graph page (GraphPageAnalysis.cpp).
    const auto onGraph = [this](void (GraphPage::*act)()) {
        return [this, act] {
            if (auto* graph = qobject_cast<GraphPage*>(activePage()))
                (graph->*act)();
        };
    };
    QAction* points = makeAction(Command::ShowPoints, "Vis p&unkter", {}, nullptr);
    points->setCheckable(true);
    connect(points, &QAction::triggered, this, [this](bool on) {
        if (auto* graph = qobject_cast<GraphPage*>(activePage()))
            graph->setPointsShown(on);
    });
    connect(makeAction(Command::TangentAt, "Tang&ent i punkt", {}, nullptr), &QAction::triggered, this,
            onGraph(&GraphPage::armTangentTool));
    connect(makeAction(Command::AreaUnder, "A&real under graf ...", {}, nullptr), &QAction::triggered, this,
            onGraph(&GraphPage::askArea));
    makeAction(Command::LanguageHelp, "&Hjælp til Tavlix", QKeySequence(Qt::Key_F1), &MainWindow::onLanguageHelp);

    // Escape interrupts a run; the action exists only for its shortcut.
    QAction* stop = makeAction(Command::Stop, "Afbryd", QKeySequence(Qt::Key_Escape), &MainWindow::requestStop);
    stop->setEnabled(false);
    addAction(stop);
}

void MainWindow::createMenus()
{
    auto fill = [this](QMenu* menu, std::initializer_list<Command> commands) {
        for (Command c : commands)
            menu->addAction(action(c));
    };
    fileMenu_ = menuBar()->addMenu("&Filer");
    fill(fileMenu_, {Command::New, Command::Open, Command::Save, Command::SaveAs, Command::SaveDocumentAs,
                     Command::ImportData, Command::ClosePage, Command::Print});
    fileMenu_->addSeparator();
    fill(fileMenu_, {Command::Quit});
    recentMenu_ = new QMenu("S&eneste", this);
    recentMenu_->setObjectName("recentMenu");
    fileMenu_->insertMenu(action(Command::Save), recentMenu_);

    editMenu_ = menuBar()->addMenu("&Rediger");
    fill(editMenu_, {Command::Undo, Command::Redo});
    editMenu_->addSeparator();
    fill(editMenu_,
         {Command::Cut, Command::Copy, Command::Paste, Command::PasteData, Command::Delete, Command::SelectAll});
    editMenu_->addSeparator();
    fill(editMenu_, {Command::Find});

    tavlixMenu_ = menuBar()->addMenu("&Tavlix");
    tavlixMenu_->setToolTipsVisible(true);  // says why Hældningsfelt is off
    fill(tavlixMenu_, {Command::Run, Command::Coordinates, Command::PrintSize, Command::AddLabel, Command::FitGraph,
                       Command::ZoomBack, Command::ShowLegend, Command::AxesThroughOrigin, Command::SlopeField,
                       Command::SolveThrough, Command::Accuracy});
    fill(tavlixMenu_, {Command::FitConstants, Command::ShowPoints, Command::TangentAt, Command::AreaUnder});
    tavlixMenu_->addSeparator();
    fill(tavlixMenu_, {Command::KeepResults, Command::NextPage, Command::PreviousPage});
    tavlixMenu_->addSeparator();
    fill(tavlixMenu_, {Command::About});

    helpMenu_ = menuBar()->addMenu("&Hjælp");
    fill(helpMenu_, {Command::LanguageHelp});

    editorContextMenu_ = new QMenu(this);
    fill(editorContextMenu_, {Command::Cut, Command::Copy, Command::Paste, Command::Delete, Command::SelectAll});
    editorContextMenu_->addSeparator();
    fill(editorContextMenu_, {Command::Find});
    createResultContextMenus();
}

// ---- availability ----------------------------------------------------------------------------------------------

QAction* MainWindow::action(Command command) const
{
    return actions_[static_cast<int>(command)];
}

QToolButton* MainWindow::sectionButton(Section section) const
{
    return sectionButtons_[static_cast<int>(section)];
}

void MainWindow::setCommandEnabled(Command command, bool on)
{
    // While a run is under way the run command is the way to interrupt it.
    if (runs_ && running() && command == Command::Run)
        on = true;
    action(command)->setEnabled(on);
}

bool MainWindow::isCommandEnabled(Command command) const
{
    return action(command)->isEnabled();
}

void MainWindow::setStatus(StatusField field, const QString& text)
{
    QLabel* label = statusLabel(field);
    label->setText(text);
    if (field == StatusField::Message || field == StatusField::Error) {
        // Errors stand out; statistics, hints and the like read as plain text.
        label->setStyleSheet(field == StatusField::Error ? QStringLiteral("color: #a4161a;") : QString());
        // A screen reader reads the message itself, not only the field's fixed name.
        label->setAccessibleDescription(text);
    }
}

QLabel* MainWindow::statusLabel(StatusField field) const
{
    return statusFields_[std::min(static_cast<std::size_t>(field), statusFields_.size() - 1)];
}

QString MainWindow::status(StatusField field) const
{
    return statusLabel(field)->text();
}

void MainWindow::resetCommands()
{
    for (StatusField field : {StatusField::X, StatusField::Y, StatusField::Message})
        setStatus(field, QString());
    labelTextEdit_->hide();
    labelTextEdit_->clear();
    for (Command c : PageCommands)
        setCommandEnabled(c, false);
    editCommandPoll_->stop();
    if (pageCount() == 0)
        return;
    setCommandEnabled(Command::ClosePage, true);
    // A result page runs, sets the coordinates of and saves its document.
    if (ScriptPage* document = documentOf(activePage())) {
        setCommandEnabled(Command::Run, true);
        setCommandEnabled(Command::Coordinates, true);
        setCommandEnabled(Command::Save, document->isModified());
        setCommandEnabled(Command::SaveDocumentAs, true);
    }
    if (activeScriptPage())
        editCommandPoll_->start();
}

void MainWindow::startEditCommandPoll()
{
    editCommandPoll_->start();
}

bool MainWindow::editCommandPollActive() const
{
    return editCommandPoll_->isActive();
}

void MainWindow::pollEditCommands()
{
    ScriptPage* script = activeScriptPage();
    if (!script)
        return;
    const bool selected = script->selectionLength() > 0;
    for (Command c : {Command::Copy, Command::Cut, Command::Delete})
        setCommandEnabled(c, selected);
    setCommandEnabled(Command::Paste, clipboardHasText_);
    setCommandEnabled(Command::PasteData, clipboardHasText_);
    setCommandEnabled(Command::ImportData, true);
    setCommandEnabled(Command::Save, script->isModified());
    setCommandEnabled(Command::Undo, script->editor()->document()->isUndoAvailable());
    setCommandEnabled(Command::Redo, script->editor()->document()->isRedoAvailable());
}
