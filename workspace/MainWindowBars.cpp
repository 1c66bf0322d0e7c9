// The window's bars: the tool bar with the label field, the section panel with its header and example buttons,
// and the status bar's fields.
#include "workspace/MainWindow.h"

#include "workspace/Documents.h"
#include "workspace/NoticePanel.h"
#include "workspace/ToolIcons.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

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
                         QKeySequence(Qt::ALT | Qt::Key(key++)), [this, &e] { documents_->openExample(e); });
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
