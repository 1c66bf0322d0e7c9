// The window's commands: one action each in the menus, the pop-up menu and the tool bar; the section panel,
// the status bar, and which commands are available.
#include "workspace/MainWindow.h"

#include "workspace/GraphPage.h"
#include "workspace/NoticePanel.h"

#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"
#include "workspace/ToolIcons.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

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
    makeAction(Command::New, "&Ny", QKeySequence("Ctrl+N"), &MainWindow::onNew);
    makeAction(Command::Open, "Å&bn ...", QKeySequence("Ctrl+O"), &MainWindow::onOpen);
    makeAction(Command::Save, "&Gem", QKeySequence("Ctrl+S"), &MainWindow::onSave);
    makeAction(Command::SaveAs, "Gem &Som ...", {}, &MainWindow::onSaveAs);
    makeAction(Command::SaveDocumentAs, "Gem &opgave som ...", QKeySequence("Ctrl+Shift+S"),
               &MainWindow::onSaveDocumentAs);
    makeAction(Command::ClosePage, "&Luk blad", {}, &MainWindow::onClosePage);
    makeAction(Command::Print, "&Udskriv ...", QKeySequence("Ctrl+P"), &MainWindow::onPrint);
    makeAction(Command::PrintNow, "Udskriv", {}, &MainWindow::onPrintNow);
    makeAction(Command::Quit, "&Afslut", {}, &MainWindow::onQuit);

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
    connect(keep, &QAction::toggled, this, &MainWindow::onKeepResultsToggled);
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

void MainWindow::createToolBar()
{
    toolBar_ = addToolBar("Værktøjslinje");
    toolBar_->setObjectName("toolBar");
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(20, 20));
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    struct Button {
        Command command;
        const char* hint;
        Icon icon;
        bool separatorAfter;
    };
    const Button buttons[] = {
        {Command::New, "Ny opgave", Icon::New, false},
        {Command::Open, "Åbn opgave", Icon::Open, false},
        {Command::Save, "Gem opgave", Icon::Save, false},
        {Command::ClosePage, "Luk blad", Icon::Close, false},
        {Command::PrintNow, "Udskriv", Icon::Print, true},
        {Command::Cut, "Klip", Icon::Cut, false},
        {Command::Copy, "Kopier", Icon::Copy, false},
        {Command::Paste, "Sæt ind", Icon::Paste, true},
        {Command::Run, "Kør", Icon::Run, false},
        {Command::Coordinates, "Koordinater", Icon::Coordinates, false},
        {Command::FitGraph, "Tilpas graf til vindue", Icon::FitGraph, false},
        {Command::PrintSize, "Størrelse for udskrift og kopier", Icon::PrintSize, false},
        {Command::AddLabel, "Indsæt tekst i graf", Icon::Label, false},
        {Command::SolveThrough, "Løsning gennem punkt: klik i grafen", Icon::SolveThrough, true},
        // Last, so that the buttons before it keep their places.
        {Command::PasteData, "Indsæt data fra udklipsholderen i Tabeller", Icon::PasteData, false},
    };
    for (const Button& b : buttons) {
        QAction* a = action(b.command);
        a->setIcon(toolIcon(b.icon));
        a->setToolTip(b.hint);
        toolBar_->addAction(a);
        toolBar_->widgetForAction(a)->setAccessibleName(b.hint);
        if (b.separatorAfter)
            toolBar_->addSeparator();
    }
    // The label's text field sits in a holder so that it can be shown and hidden like any widget.
    auto* holder = new QWidget(toolBar_);
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(6, 0, 0, 0);
    labelTextEdit_ = new QLineEdit(holder);
    labelTextEdit_->setObjectName("labelTextEdit");
    labelTextEdit_->setFixedWidth(121);
    labelTextEdit_->setToolTip("Indtast tekst og klik med musen");
    labelTextEdit_->setPlaceholderText("Tekst til grafen");
    labelTextEdit_->setAccessibleName("Indtast tekst og klik med musen");
    connect(labelTextEdit_, &QLineEdit::returnPressed, this, &MainWindow::onLabelTextEntered);
    layout->addWidget(labelTextEdit_);
    // Keep the field right after the text button instead of centred in the rest of the tool bar.
    layout->addStretch();
    toolBar_->addWidget(holder);
}

void MainWindow::addSectionButton(QVBoxLayout* layout, Section section, const QString& caption, const QString& hint,
                                  const QKeySequence& key, const std::function<void()>& handler)
{
    auto* b = new QToolButton(sectionPanel_);
    b->setText(caption);
    // The editor keeps Tab for itself, so each button has a key of its own.
    b->setShortcut(key);
    b->setToolTip(hint);
    b->setAccessibleName(caption);
    b->setAccessibleDescription(QString("%1 (%2)").arg(hint, key.toString(QKeySequence::NativeText)));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    b->setFixedHeight(25);
    connect(b, &QToolButton::clicked, this, handler);
    layout->addWidget(b);
    sectionButtons_[static_cast<int>(section)] = b;
}

void MainWindow::createSectionPanel()
{
    auto* panel = new QFrame(this);
    sectionPanel_ = panel;
    panel->setObjectName("sectionPanel");
    panel->setAccessibleName("Sektioner");
    panel->setFrameShape(QFrame::StyledPanel);
    // Wider than the classic 72 pixels so "Tabelvariable" fits in today's fonts.
    panel->setFixedWidth(96);
    QFont font("Times New Roman");
    font.setPixelSize(13);
    panel->setFont(font);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 4, 2, 4);
    layout->setSpacing(1);
    auto separator = [&] {
        auto* line = new QFrame(panel);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        layout->addWidget(line);
    };
    auto* title = new QLabel("Sektioner:", panel);
    title->setToolTip("Sektionsoverskrifter (klik på en)");
    QFont bold = font;
    bold.setBold(true);
    title->setFont(bold);
    title->setAlignment(Qt::AlignCenter);
    title->setFixedHeight(25);
    layout->addWidget(title);
    separator();
    struct Header {
        Section section;
        const char* caption;
        const char* hint;
    };
    const Header headers[] = {
        {Section::Constants, "Konstanter", "Eks k=2  c=2*pi"},
        {Section::Tables, "Tabeller", "Eks Tab=<(0,0),(2,4)>"},
        {Section::DifferentialEquations, "Diff.ligninger", "Eks: y'=y*(1-y)   <0.1>"},
        {Section::Functions, "Funktioner", "Eks: y=t^2"},
        {Section::GraphVariables, "Grafvariable", "Eks t,y,l1"},
        {Section::TableVariables, "Tabelvariable", "Eks t,y1,y2"},
    };
    int key = Qt::Key_1;
    for (const Header& h : headers)
        addSectionButton(layout, h.section, h.caption, h.hint, QKeySequence(Qt::ALT | Qt::Key(key++)),
                         [this, s = h.section] { insertSectionHeader(s); });
    separator();
    const char* const exampleHints[] = {"Simpelt eksempel med funktioner",
                                        "Eksempel med differentialligning, tabel og flere funktioner"};
    key = Qt::Key_8;
    for (const ExampleDocument& e : ExampleDocuments)
        addSectionButton(layout, e.button, e.caption, exampleHints[&e - ExampleDocuments],
                         QKeySequence(Qt::ALT | Qt::Key(key++)), [this, &e] { openExample(e); });
    separator();
    layout->addStretch();
    panel->hide();
}

void MainWindow::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(true);
    const int widths[3] = {100, 100, 50};
    const char* names[3] = {"x", "y", "Meddelelse"};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(bar);
        label->setAccessibleName(names[i]);
        label->setMinimumWidth(widths[i]);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
        if (i < 2)
            label->setFixedWidth(widths[i]);
        bar->addWidget(label, i == 2 ? 1 : 0);
        statusFields_[i] = label;
    }
    bar->addPermanentWidget(notices_->reopenButton());
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
