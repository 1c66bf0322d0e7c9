// The main window: builds the commands and panels, keeps the commands true to the active page, and runs scripts.
#include "workspace/TForm1.h"

#include "graph/TKoordinater.h"
#include "graph/TOKBottomDlg.h"
#include "graph/TTabGraf.h"
#include "support/MemoryUse.h"
#include "workspace/Cp1252.h"
#include "workspace/GuiHost.h"
#include "workspace/TAboutBox.h"
#include "workspace/TFindDialog.h"
#include "workspace/TTabMemo.h"
#include "workspace/TTabTabel.h"
#include "workspace/TTabelModel.h"
#include "workspace/ToolIcons.h"

#include <vector>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextCursor>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TForm1* Form1 = nullptr;

namespace {

constexpr const char* Untitled = "udennavn.tvx";
// Pump pending events no more often than this during a run.
constexpr int PumpIntervalMs = 200;

// Every command the availability rules switch: menu items first, then tool buttons.
constexpr const char* PageCommands[] = {
    "Klip1", "Kopier1", "Stind1", "Ryd1",    "Marker1", "Sg1",     "Gem1",   "GemSom1", "Luk1",    "Print1",
    "Klip2", "Kopier2", "Stind2", "Ryd2",    "Marker2", "Sg2",     "SbGem",  "SbLuk",   "SbPrint", "SbKlip",
    "SbCopy", "SbPaste", "sbKoord", "SbTilpas", "SbTekst", "sbSize", "SbRun", "Run1",    "Koord1",  "Size1",
    "Tekst1", "Tilpas1",
};

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent), HostImpl(new GuiHost(*this))
{
    Form1 = this;
    setObjectName("Form1");
    setWindowTitle("Tavlix");
    setWindowIcon(ProgramIcon());
    // Larger than the classic 544 x 343: today's fonts need the room.
    resize(760, 520);
    createActions();
    createMenus();
    createToolBar();
    createSectionPanel();
    createPages();
    createStatusBar();
    // FormCreate: no pages yet, so every page command is off.
    UpdateMenus();
    ExampleDir = QCoreApplication::applicationDirPath() + "/";
}

TForm1::~TForm1()
{
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(PageControl1, nullptr, this, nullptr);
    Timer1->stop();
    TakePanel2Off();
    while (PageControl1->count() > 0) {
        QWidget* page = PageControl1->widget(0);
        PageControl1->removeTab(0);
        delete page;
    }
    if (Form1 == this)
        Form1 = nullptr;
}

// ---- construction --------------------------------------------------------------------------------------------

QAction* TForm1::makeAction(const char* name, const QString& text, const QKeySequence& shortcut,
                            void (TForm1::*handler)())
{
    auto* a = new QAction(text, this);
    a->setObjectName(name);
    a->setShortcut(shortcut);
    connect(a, &QAction::triggered, this, handler);
    Actions.insert(name, a);
    return a;
}

QAction* TForm1::makeButton(const char* name, const QString& hint, const char* icon, void (TForm1::*handler)())
{
    auto* a = new QAction(ToolIcon(icon), hint, this);
    a->setObjectName(name);
    a->setToolTip(hint);
    connect(a, &QAction::triggered, this, handler);
    Actions.insert(name, a);
    return a;
}

void TForm1::createActions()
{
    makeAction("Ny1", "&Ny", QKeySequence("Ctrl+N"), &TForm1::Ny1Click);
    makeAction("bn1", "Å&bn ...", QKeySequence("Ctrl+O"), &TForm1::bn1Click);
    makeAction("Gem1", "&Gem", QKeySequence("Ctrl+S"), &TForm1::Gem1Click);
    makeAction("GemSom1", "Gem &Som ...", {}, &TForm1::GemSom1Click);
    makeAction("Luk1", "&Luk blad", {}, &TForm1::Luk1Click);
    makeAction("Print1", "&Print ...", QKeySequence("Ctrl+P"), &TForm1::Print1Click);
    makeAction("Afslut1", "&Afslut", {}, &TForm1::Afslut1Click);

    makeAction("Klip2", "&Klip", QKeySequence("Ctrl+X"), &TForm1::Klip1Click);
    makeAction("Kopier2", "K&opier", QKeySequence("Ctrl+C"), &TForm1::Kopier1Click);
    makeAction("Stind2", "Sæt i&nd", QKeySequence("Ctrl+V"), &TForm1::Stind1Click);
    makeAction("Ryd2", "&Ryd", QKeySequence("Ctrl+Del"), &TForm1::Ryd1Click);
    makeAction("Marker2", "&Marker alt", QKeySequence("Ctrl+A"), &TForm1::Marker1Click);
    makeAction("Sg2", "&Søg ...", QKeySequence("Ctrl+B"), &TForm1::Sg1Click);
    QAction* meta = makeAction("BrugMetafile1", "Brug Metafile", {}, &TForm1::BrugMetafile1Click);
    meta->setCheckable(true);
    meta->setChecked(true);
    meta->setStatusTip("Vedrører udklip, grafik gemmes som metafile eller bitmap");
    meta->setToolTip(meta->statusTip());

    makeAction("Run1", "&Kør", QKeySequence("F9"), &TForm1::Run1Click);
    makeAction("Koord1", "K&oordinater ...", QKeySequence("F8"), &TForm1::Koordinater1Click);
    makeAction("Size1", "&Størrelse ...", {}, &TForm1::sbSizeClick);
    makeAction("Tekst1", "&Tekst", {}, &TForm1::SbTekstClick);
    makeAction("Tilpas1", "Tilpas &graf ...", {}, &TForm1::SbTilpasClick);
    makeAction("OmTavlix1", "Om Tavlix ...", {}, &TForm1::OmTavlix1Click);

    makeAction("Klip1", "&Klip", QKeySequence("Ctrl+X"), &TForm1::Klip1Click);
    makeAction("Kopier1", "K&opier", QKeySequence("Ctrl+C"), &TForm1::Kopier1Click);
    makeAction("Stind1", "Sæt i&nd", QKeySequence("Ctrl+V"), &TForm1::Stind1Click);
    makeAction("Ryd1", "Ry&d", QKeySequence("Ctrl+Del"), &TForm1::Ryd1Click);
    makeAction("Marker1", "&Marker alt", QKeySequence("Ctrl+A"), &TForm1::Marker1Click);
    makeAction("Sg1", "&Søg", QKeySequence("Ctrl+B"), &TForm1::Sg1Click);

    // Escape interrupts a run; the action exists only for its shortcut.
    QAction* stop = makeAction("Afbryd1", "Afbryd", QKeySequence(Qt::Key_Escape), &TForm1::RequestStop);
    stop->setEnabled(false);
    addAction(stop);
}

void TForm1::createMenus()
{
    auto menu = [this](const char* name, const QString& title, std::initializer_list<const char*> items) {
        QMenu* m = menuBar()->addMenu(title);
        m->setObjectName(name);
        for (const char* item : items) {
            if (item[0] == 'N' && item[1] >= '0' && item[1] <= '9')
                m->addSeparator()->setObjectName(item);
            else
                m->addAction(Actions.value(item));
        }
        return m;
    };
    menu("Filer1", "&Filer", {"Ny1", "bn1", "Gem1", "GemSom1", "Luk1", "Print1", "N1", "Afslut1"});
    menu("Rediger1", "&Rediger", {"Klip2", "Kopier2", "Stind2", "Ryd2", "Marker2", "N3", "Sg2", "N5", "BrugMetafile1"});
    menu("Tavlix1", "&Tavlix", {"Run1", "Koord1", "Size1", "Tekst1", "Tilpas1", "N4", "OmTavlix1"});
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    for (const char* item : {"Klip1", "Kopier1", "Stind1", "Ryd1", "Marker1"})
        PopupMenu1->addAction(Actions.value(item));
    PopupMenu1->addSeparator()->setObjectName("N2");
    PopupMenu1->addAction(Actions.value("Sg1"));
}

void TForm1::createToolBar()
{
    Panel1 = addToolBar("Værktøjslinje");
    Panel1->setObjectName("Panel1");
    Panel1->setMovable(false);
    Panel1->setFloatable(false);
    Panel1->setIconSize(QSize(20, 20));
    Panel1->setContextMenuPolicy(Qt::PreventContextMenu);
    struct Button {
        const char* name;
        const char* hint;
        const char* icon;
        void (TForm1::*handler)();
        bool separatorAfter;
    };
    const Button buttons[] = {
        {"SbNy", "Ny opgave", "new", &TForm1::Ny1Click, false},
        {"SbOpen", "Åbn opgave", "open", &TForm1::bn1Click, false},
        {"SbGem", "Gem opgave", "save", &TForm1::Gem1Click, false},
        {"SbLuk", "Luk blad", "close", &TForm1::Luk1Click, false},
        {"SbPrint", "Udskriv", "print", &TForm1::SbPrintClick, true},
        {"SbKlip", "Klip", "cut", &TForm1::Klip1Click, false},
        {"SbCopy", "Kopier", "copy", &TForm1::Kopier1Click, false},
        {"SbPaste", "Sæt ind", "paste", &TForm1::Stind1Click, true},
        {"SbRun", "Kør", "run", &TForm1::Run1Click, false},
        {"sbKoord", "Koordinater", "koord", &TForm1::Koordinater1Click, false},
        {"SbTilpas", "Tilpas graf til vindue", "tilpas", &TForm1::SbTilpasClick, false},
        {"sbSize", "Størrelse for udskrift og kopier", "size", &TForm1::sbSizeClick, false},
        {"SbTekst", "Indsæt tekst i graf", "tekst", &TForm1::SbTekstClick, true},
    };
    for (const Button& b : buttons) {
        QAction* a = makeButton(b.name, b.hint, b.icon, b.handler);
        Panel1->addAction(a);
        QWidget* w = Panel1->widgetForAction(a);
        w->setObjectName(b.name);
        w->setAccessibleName(b.hint);
        if (b.separatorAfter)
            Panel1->addSeparator();
    }
    // Edit1 sits in a holder so that it can be shown and hidden like any widget.
    auto* holder = new QWidget(Panel1);
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(6, 0, 0, 0);
    Edit1 = new QLineEdit(holder);
    Edit1->setObjectName("Edit1");
    Edit1->setFixedWidth(121);
    Edit1->setToolTip("Indtast tekst og klik med musen");
    Edit1->setPlaceholderText("Tekst til grafen");
    Edit1->setAccessibleName("Indtast tekst og klik med musen");
    layout->addWidget(Edit1);
    // Keep Edit1 right after the text button instead of centred in the rest of the tool bar.
    layout->addStretch();
    Panel1->addWidget(holder);
}

void TForm1::addSectionButton(QVBoxLayout* layout, const char* name, const QString& caption, const QString& hint,
                              const QKeySequence& key, std::function<void()> handler)
{
    auto* b = new QToolButton(Panel2);
    b->setObjectName(name);
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
    SectionButtons.insert(name, b);
}

void TForm1::createSectionPanel()
{
    auto* panel = new QFrame(this);
    Panel2 = panel;
    panel->setObjectName("Panel2");
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
    title->setObjectName("SpeedButton7");
    title->setToolTip("Sektionsoverskrifter (klik på en)");
    QFont bold = font;
    bold.setBold(true);
    title->setFont(bold);
    title->setAlignment(Qt::AlignCenter);
    title->setFixedHeight(25);
    layout->addWidget(title);
    separator();
    struct Section {
        const char* name;
        const char* caption;
        const char* hint;
        const char* header;
    };
    const Section sections[] = {
        {"SpeedButton1", "Konstanter", "Eks k=2  c=2*pi", "Konstanter"},
        {"SpeedButton2", "Tabeller", "Eks Tab=<(0,0),(2,4)>", "Tabeller"},
        {"SpeedButton3", "Diff.ligninger", "Eks: y'=y*(1-y)   <0.1>", "DifferentialLigninger"},
        {"SpeedButton4", "Funktioner", "Eks: y=t^2", "Funktioner"},
        {"SpeedButton5", "Grafvariable", "Eks t,y,l1", "GrafVariable"},
        {"SpeedButton6", "Tabelvariable", "Eks t,y1,y2", "TabelVariable"},
    };
    int key = Qt::Key_1;
    for (const Section& s : sections) {
        QString header = s.header;
        addSectionButton(layout, s.name, s.caption, s.hint, QKeySequence(Qt::ALT | Qt::Key(key++)),
                         [this, header] { SectionButtonClick(header); });
    }
    separator();
    addSectionButton(layout, "SpeedButton8", "Eksempel 1", "Simpelt eksempel med funktioner",
                     QKeySequence(Qt::ALT | Qt::Key_8), [this] { SpeedButton8Click(); });
    addSectionButton(layout, "SpeedButton9", "Eksempel 2", "Eksempel med flere funktioner og Dm",
                     QKeySequence(Qt::ALT | Qt::Key_9), [this] { SpeedButton9Click(); });
    separator();
    layout->addStretch();
    panel->hide();
}

void TForm1::createPages()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setAccessibleName("Blade");
    PageControl1->setTabPosition(QTabWidget::South);
    PageControl1->setDocumentMode(true);
    PageControl1->setUsesScrollButtons(true);
    setCentralWidget(PageControl1);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::PageControl1Change);
    connect(qApp, &QApplication::focusChanged, this, &TForm1::onFocusChanged);

    // Asking the clipboard can wait on another program, so its answer is kept until it changes.
    auto readClipboard = [this] {
        const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
        ClipboardHasText = clip && clip->hasText();
    };
    readClipboard();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, readClipboard);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    FindDialog1 = new TFindDialog(this);
    connect(FindDialog1, &TFindDialog::Find, this, &TForm1::FindDialog1Find);

    AskSaveChanges = [this](const QString& text) {
        QMessageBox box(QMessageBox::Question, "Tavlix", text,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Abort, this);
        box.button(QMessageBox::Yes)->setText("&Ja");
        box.button(QMessageBox::No)->setText("&Nej");
        box.button(QMessageBox::Abort)->setText("&Annuller");
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Abort);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    };
    AskSaveFileName = [this](const QString& preset) { return QFileDialog::getSaveFileName(this, "Gem som", preset); };
    AskOpenFileName = [this] {
        return QFileDialog::getOpenFileName(this, "Åbn", QString(),
                                            "Tavlixfiler (*.tvx);;Tekstfiler (*.txt);;Alle filer (*)");
    };
    ShowMessage = [this](const QString& text) { QMessageBox::information(this, "Tavlix", text); };
    ShowError = [this](const QString& text) { QMessageBox::warning(this, "Tavlix", text); };
    AskPdfFileName = [this] {
        return QFileDialog::getSaveFileName(this, "Der er ingen printer. Gem udskriften som PDF", "udskrift.pdf",
                                            "PDF-filer (*.pdf)");
    };
}

void TForm1::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(true);
    const int widths[3] = {100, 100, 50};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(QString("StatusPanel%1").arg(i));
        label->setAccessibleName(i == 2 ? "Meddelelse" : i == 0 ? "x" : "y");
        label->setMinimumWidth(widths[i]);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
        if (i < 2)
            label->setFixedWidth(widths[i]);
        else
            label->setStyleSheet("color: #a4161a;");  // the compiler's messages are errors
        bar->addWidget(label, i == 2 ? 1 : 0);
        StatusPanels[i] = label;
    }
}

// ---- commands and their availability ---------------------------------------------------------------------------

QAction* TForm1::Action(const char* name) const
{
    return Actions.value(name);
}

QToolButton* TForm1::SectionButton(const char* name) const
{
    return SectionButtons.value(name);
}

void TForm1::Enable(const char* name, bool on)
{
    QString key = name;
    // While a run is under way the run command is the way to interrupt it.
    if (RunActive && (key == "Run1" || key == "SbRun"))
        on = true;
    if (QAction* a = Actions.value(key))
        a->setEnabled(on);
}

bool TForm1::IsEnabled(const char* name) const
{
    QAction* a = Actions.value(name);
    return a && a->isEnabled();
}

void TForm1::SetStatusText(int panel, const QString& text)
{
    if (panel >= 0 && panel < 3)
        StatusPanels[panel]->setText(text);
}

QString TForm1::StatusText(int panel) const
{
    return panel >= 0 && panel < 3 ? StatusPanels[panel]->text() : QString();
}

void TForm1::UpdateMenus()
{
    for (int i = 0; i < 3; ++i)
        SetStatusText(i, QString());
    Edit1->hide();
    Edit1->clear();
    for (const char* name : PageCommands)
        Enable(name, false);
    Timer1->stop();
    if (PageCount() == 0)
        return;
    Enable("Luk1", true);
    Enable("SbLuk", true);
    if (ActivePage() && ActivePage()->Tag == 1)
        Timer1->start();
}

void TForm1::Timer1Timer()
{
    TTabMemo* memo = ActiveMemo();
    if (!memo)
        return;
    bool s = memo->SelectionLength() > 0;
    for (const char* name : {"SbCopy", "SbKlip", "Kopier1", "Kopier2", "Klip1", "Klip2", "Ryd1", "Ryd2"})
        Enable(name, s);
    for (const char* name : {"SbPaste", "Stind1", "Stind2"})
        Enable(name, ClipboardHasText);
    Enable("SbGem", memo->Modified);
    Enable("Gem1", memo->Modified);
}

// ---- pages -----------------------------------------------------------------------------------------------------

int TForm1::PageCount() const
{
    return PageControl1->count();
}

TTabGen* TForm1::Page(int index) const
{
    return qobject_cast<TTabGen*>(PageControl1->widget(index));
}

TTabGen* TForm1::ActivePage() const
{
    return qobject_cast<TTabGen*>(PageControl1->currentWidget());
}

TTabMemo* TForm1::MemoOf(TTabGen* page) const
{
    return page && page->Tag == 1 ? static_cast<TTabMemo*>(page) : nullptr;
}

TTabMemo* TForm1::ActiveMemo() const
{
    return MemoOf(ActivePage());
}

void TForm1::EnterPage(TTabGen* page)
{
    Entered = page;
    if (page)
        page->SetEnable();
}

void TForm1::ActivatePage(TTabGen* page)
{
    ProgramChangesPage = true;
    PageControl1->setCurrentWidget(page);
    ProgramChangesPage = false;
    page->setFocus();
    EnterPage(page);
}

void TForm1::PageControl1Change(int)
{
    if (ProgramChangesPage)
        return;
    TTabGen* page = ActivePage();
    if (!page)
        return;
    if (TTabMemo* memo = MemoOf(page))
        memo->Editor->setFocus();
    else
        page->setFocus();
    EnterPage(page);
}

void TForm1::onFocusChanged(QWidget*, QWidget* now)
{
    for (QWidget* w = now; w; w = w->parentWidget()) {
        auto* page = qobject_cast<TTabGen*>(w);
        if (page && PageControl1->indexOf(page) >= 0) {
            if (page != Entered)
                EnterPage(page);
            return;
        }
    }
}

void TForm1::PutPanel2Into(QWidget* page, QBoxLayout* layout)
{
    if (Panel2->parentWidget() != page)
        layout->addWidget(Panel2);
    Panel2->show();
}

void TForm1::TakePanel2Off()
{
    Panel2->hide();
    if (Panel2->parentWidget() != this)
        Panel2->setParent(this);
}

void TForm1::RemovePage(TTabGen* page)
{
    if (Panel2->parentWidget() == page)
        TakePanel2Off();
    int index = PageControl1->indexOf(page);
    ProgramChangesPage = true;
    PageControl1->removeTab(index);
    ProgramChangesPage = false;
    if (Entered == page)
        Entered = nullptr;
    delete page;
    if (PageCount() == 0) {
        UpdateMenus();
        return;
    }
    ActivatePage(Page(index < PageCount() ? index : 0));
}

// False, and the run stopped, when the run has made as many pages as it may.
bool TForm1::MayMakePage()
{
    if (StopRequested)
        return false;
    if (++RunPages <= MaxRunPages)
        return true;
    StopRun(QString("Kørslen laver mere end %L1 resultatsider og er stoppet; de lavede sider er bevaret.")
                .arg(MaxRunPages));
    return false;
}

tavlix::TableSink* TForm1::LavTabel(const QString& caption)
{
    if (!MayMakePage())
        return nullptr;
    auto* page = new TTabTabel;
    PageControl1->addTab(page, QString());
    page->SetCaption(caption);
    ActivatePage(page);
    return page;
}

tavlix::GraphSink* TForm1::LavGraf(const QString& caption)
{
    if (!MayMakePage())
        return nullptr;
    // Measured on the page that is active before the new one exists.
    QWidget* area = ActivePage() ? static_cast<QWidget*>(ActivePage()) : PageControl1;
    GraphWidth = std::max(area->width() - 4, 100);
    GraphHeight = std::max(area->height() - 4, 80);
    auto* page = new TTabGraf(GraphWidth, GraphHeight);
    PageControl1->addTab(page, QString());
    page->SetCaption(caption);
    ActivatePage(page);
    return page;
}

// ---- documents -------------------------------------------------------------------------------------------------

void TForm1::GeneralError(const QString& text)
{
    if (ShowError)
        ShowError(text);
}

TTabMemo* TForm1::Ny(const QString& caption)
{
    auto* page = new TTabMemo;
    PageControl1->addTab(page, QString());
    page->SetCaption(caption);
    page->Settings = tavlix::defaultSettings();
    page->Modified = false;
    page->FileName = Untitled;
    ActivatePage(page);
    page->Editor->setFocus();
    return page;
}

void TForm1::Ny1Click()
{
    Ny(QString("(Uden navn - %1)").arg(PageCount() + 1));
}

TTabMemo* TForm1::Open(QString fileName)
{
    // Larger files are not scripts; refusing them keeps the editor usable.
    constexpr qint64 MaxDocumentBytes = 16 * 1024 * 1024;
    if (!fileName.contains('.'))
        fileName += ".tvx";
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        QFileInfo info(fileName);
        QString why = !info.exists()    ? QString("Filen findes ikke.")
                      : info.isDir()     ? QString("Det er en mappe, ikke en fil.")
                      : !info.isReadable() ? QString("Du har ikke adgang til at læse filen.")
                                           : file.errorString();
        GeneralError(QString("Kan ikke åbne filen \"%1\".\n%2").arg(fileName, why));
        return nullptr;
    }
    if (file.size() > MaxDocumentBytes) {
        GeneralError(QString("Filen \"%1\" er for stor til at være en Tavlix-opgave (%2 MB).")
                         .arg(fileName).arg(file.size() / (1024 * 1024)));
        return nullptr;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        GeneralError(QString("Kan ikke læse filen \"%1\".\n%2").arg(fileName, file.errorString()));
        return nullptr;
    }
    std::vector<std::string> lines = tavlix::splitLines(std::string_view(bytes.constData(), bytes.size()));
    if (lines.size() < 16) {
        GeneralError(QString("\"%1\" er ikke en Tavlix-opgave: filen har %2 linjer, men en opgave begynder med "
                             "16 linjer med koordinatindstillinger.")
                         .arg(fileName)
                         .arg(lines.size()));
        return nullptr;
    }
    TTabMemo* page = Ny(QFileInfo(fileName).fileName());
    for (int i = 0; i < 16; ++i)
        page->Settings[i] = lines[i];
    QStringList script;
    script.reserve(static_cast<qsizetype>(lines.size()) - 16);
    for (std::size_t i = 16; i < lines.size(); ++i)
        script << Cp1252::ToQString(lines[i]);
    page->SetLines(script);
    QTextCursor c = page->Editor->textCursor();
    c.movePosition(QTextCursor::Start);
    page->Editor->setTextCursor(c);
    page->Editor->setFocus();
    page->FileName = fileName;
    page->Modified = false;
    // Filling the editor counted as a change; the poll would take the save commands back at its next tick.
    Enable("Gem1", false);
    Enable("SbGem", false);
    return page;
}

void TForm1::bn1Click()
{
    QString file = AskOpenFileName ? AskOpenFileName() : QString();
    if (!file.isEmpty())
        Open(file);
}

bool TForm1::SaveAs(TTabMemo* page)
{
    QString chosen = AskSaveFileName ? AskSaveFileName(page->FileName) : QString();
    if (chosen.isEmpty())
        return false;
    QString caption = QFileInfo(chosen).fileName();
    QString file = chosen;
    if (!caption.contains('.'))
        file += ".tvx";
    // The page takes the new name only once the file is written.
    QString oldName = page->FileName;
    page->FileName = file;
    if (!page->Gem()) {
        page->FileName = oldName;
        return false;
    }
    page->SetCaption(caption);
    return true;
}

bool TForm1::SaveActive()
{
    TTabMemo* page = ActiveMemo();
    if (!page)
        return false;
    return page->FileName == Untitled ? SaveAs(page) : page->Gem();
}

void TForm1::Gem1Click()
{
    SaveActive();
}

void TForm1::GemSom1Click()
{
    if (TTabMemo* page = ActiveMemo())
        SaveAs(page);
}

// Yes saves (a cancelled or failed save keeps the page), No goes on, Abort keeps everything.
bool TForm1::AskAndSave(TTabMemo* page)
{
    QMessageBox::StandardButton answer =
        AskSaveChanges ? AskSaveChanges(QString("Skal ændringerne i \"%1\" gemmes?").arg(page->FileName))
                       : QMessageBox::Abort;
    if (answer == QMessageBox::Yes)
        return SaveActive();
    return answer == QMessageBox::No;
}

void TForm1::Luk1Click()
{
    TTabGen* page = ActivePage();
    if (!page)
        return;
    if (RunActive) {
        // The run stops first; the page is closed once it has returned.
        RequestStop();
        CloseAfterRunPages << page;
        return;
    }
    if (TTabMemo* memo = MemoOf(page); memo && memo->Modified && !AskAndSave(memo))
        return;
    RemovePage(page);
}

bool TForm1::CloseAllowed()
{
    for (int i = PageCount() - 1; i >= 0; --i) {
        TTabMemo* memo = MemoOf(Page(i));
        if (!memo || !memo->Modified)
            continue;
        ActivatePage(memo);
        if (!AskAndSave(memo))
            return false;
    }
    return true;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (RunActive) {
        RequestStop();
        CloseAfterRun = true;
        event->ignore();
        return;
    }
    if (!CloseAllowed()) {
        event->ignore();
        return;
    }
    FindDialog1->hide();
    Timer1->stop();
    event->accept();
}

void TForm1::Afslut1Click()
{
    close();
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (Shown)
        return;
    Shown = true;
    if (OpenOnShow)
        QMetaObject::invokeMethod(this, [this] { OpenStartDocuments(StartFiles); }, Qt::QueuedConnection);
}

void TForm1::OpenStartDocuments(const QStringList& files)
{
    TakePanel2Off();
    if (files.isEmpty()) {
        Ny1Click();
        return;
    }
    // A file that cannot be opened is reported; the others still open.
    for (const QString& file : files)
        Open(file);
}

void TForm1::SectionButtonClick(const QString& header)
{
    TTabMemo* memo = ActiveMemo();
    if (!memo)
        return;
    memo->Editor->insertPlainText(header + "\n");
    memo->Editor->setFocus();
}

void TForm1::SpeedButton8Click()
{
    Open(ExampleDir + "2sin.tvx");
}

void TForm1::SpeedButton9Click()
{
    Open(ExampleDir + "simpel.tvx");
}

// ---- printing --------------------------------------------------------------------------------------------------

void TForm1::Print1Click()
{
    TTabGen* page = ActivePage();
    if (!page)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setCollateCopies(true);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName("PrintDialog1");
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() == QDialog::Accepted)
        page->Print(printer);
}

void TForm1::SbPrintClick()
{
    TTabGen* page = ActivePage();
    if (!page)
        return;
    QPrinter printer(QPrinter::HighResolution);
    // Without a printer the print goes to a PDF file the user names, never silently nowhere.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        QString pdf = AskPdfFileName ? AskPdfFileName() : QString();
        if (pdf.isEmpty())
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    }
    page->Print(printer);
}

// ---- editing and find ------------------------------------------------------------------------------------------

void TForm1::Klip1Click()
{
    if (TTabMemo* memo = ActiveMemo())
        memo->Editor->cut();
}

void TForm1::Kopier1Click()
{
    if (TTabGen* page = ActivePage())
        page->Kopier();
}

void TForm1::Stind1Click()
{
    if (TTabMemo* memo = ActiveMemo())
        memo->Editor->paste();
}

void TForm1::Ryd1Click()
{
    if (TTabMemo* memo = ActiveMemo())
        memo->Editor->textCursor().removeSelectedText();
}

void TForm1::Marker1Click()
{
    if (TTabMemo* memo = ActiveMemo())
        memo->Editor->selectAll();
}

void TForm1::Sg1Click()
{
    FindDialog1->show();
    FindDialog1->raise();
    FindDialog1->activateWindow();
}

// The search works on the active script page only; with another page active it does nothing.
void TForm1::FindDialog1Find()
{
    TTabMemo* memo = ActiveMemo();
    if (!memo) {
        QApplication::beep();
        return;
    }
    const QString what = FindDialog1->FindText();
    const QString text = memo->Editor->toPlainText();
    QTextCursor c = memo->Editor->textCursor();
    const int s = c.selectionStart();
    const int l = c.selectionEnd() - s;
    const int begin = FindDialog1->Down() ? s + l : 0;
    const int length = FindDialog1->Down() ? static_cast<int>(text.size()) - (s + l) : s;
    int p = TFindDialog::Search(text, begin, length, what, FindDialog1->MatchCase(), FindDialog1->WholeWord());
    if (p < 0) {
        if (ShowMessage)
            ShowMessage(QString("Kan ikke finde \"%1\"").arg(what));
        return;
    }
    c.setPosition(p);
    c.setPosition(p + static_cast<int>(what.size()), QTextCursor::KeepAnchor);
    memo->Editor->setTextCursor(c);
    memo->Editor->setFocus();
}

void TForm1::BrugMetafile1Click()
{
    // The check mark is the whole effect: graphs are always copied as a scalable picture.
}

// ---- graph commands --------------------------------------------------------------------------------------------

void TForm1::Koordinater1Click()
{
    TTabMemo* memo = ActiveMemo();
    if (!memo)
        return;
    if (Koordinater && Koordinater->Execute(memo->Settings))
        memo->OnChange();
    // OK or Cancel, typing goes on in the script.
    memo->Editor->setFocus();
}

void TForm1::sbSizeClick()
{
    if (auto* graph = qobject_cast<TTabGraf*>(ActivePage()))
        graph->NySize();
}

void TForm1::SbTekstClick()
{
    auto* graph = qobject_cast<TTabGraf*>(ActivePage());
    if (!graph)
        return;
    graph->BeginText();
    Edit1->show();
    Edit1->setFocus();
}

void TForm1::SbTilpasClick()
{
    if (auto* graph = qobject_cast<TTabGraf*>(ActivePage()))
        graph->myrepaint();
}

void TForm1::OmTavlix1Click()
{
    if (AboutBox)
        AboutBox->exec();
}

// ---- runs ------------------------------------------------------------------------------------------------------

bool TForm1::KeepGoing()
{
    if (!PumpClock.isValid() || PumpClock.elapsed() >= PumpIntervalMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        PumpClock.restart();
        // The last guard of memory, whatever the run fills: pages, points or cells.
        if (tavlix::memory::nearlyExhausted())
            StopRun(QString("Kørslen er stoppet, fordi hukommelsen er ved at slippe op (%L1 MB i brug). De beregnede "
                            "sider er bevaret; luk nogle resultatsider eller vælg færre punkter (TAntal).")
                        .arg(tavlix::memory::residentBytes() >> 20));
    }
    return !StopRequested;
}

void TForm1::StopRun(const QString& reason)
{
    if (!StopRequested && StopReason.isEmpty())
        StopReason = reason;
    StopRequested = true;
}

void TForm1::ShowRunState()
{
    QAction* run = Actions.value("Run1");
    QAction* button = Actions.value("SbRun");
    run->setText(RunActive ? "&Afbryd" : "&Kør");
    button->setText(RunActive ? "Afbryd" : "Kør");
    button->setToolTip(RunActive ? "Afbryd kørslen (Esc)" : "Kør");
    button->setIcon(ToolIcon(RunActive ? "stop" : "run"));
    if (QWidget* w = Panel1->widgetForAction(button))
        w->setAccessibleName(button->toolTip());
    Actions.value("Afbryd1")->setEnabled(RunActive);
    bool onScript = ActiveMemo() != nullptr;
    Enable("Run1", RunActive || onScript);
    Enable("SbRun", RunActive || onScript);
}

void TForm1::Run1Click()
{
    if (RunActive) {
        RequestStop();
        return;
    }
    TTabMemo* memo = ActiveMemo();
    if (!memo)
        return;
    RunActive = true;
    StopRequested = false;
    StopReason.clear();
    RunPages = 0;
    CloseAfterRun = false;
    CloseAfterRunPages.clear();
    HostImpl->StatusShown = false;
    PumpClock.start();
    ShowRunState();
    tavlix::RunResult result = memo->Run(*HostImpl);
    const bool stoppedByUser = StopRequested && !CloseAfterRun && CloseAfterRunPages.isEmpty();
    RunActive = false;
    StopRequested = false;
    ShowRunState();
    for (int i = 0; i < PageCount(); ++i)
        if (auto* table = qobject_cast<TTabTabel*>(Page(i)))
            table->Model->Sync();
    if (result.error != tavlix::ScriptError::None && !HostImpl->StatusShown) {
        QApplication::beep();
        SetStatusText(2, Cp1252::ToQString(result.message));
    }
    if (!StopReason.isEmpty())
        GeneralError(StopReason);
    else if (stoppedByUser && result.abandoned)
        SetStatusText(2, "Kørslen blev afbrudt");
    FinishDeferred();
}

void TForm1::FinishDeferred()
{
    QList<QPointer<TTabGen>> pages = CloseAfterRunPages;
    CloseAfterRunPages.clear();
    for (const QPointer<TTabGen>& page : pages) {
        if (!page || PageControl1->indexOf(page) < 0)
            continue;
        ActivatePage(page);
        Luk1Click();
    }
    if (CloseAfterRun) {
        CloseAfterRun = false;
        close();
    }
}

// ---- page host ----------------------------------------------------------------------------------------------

namespace {

// The component names that carry each command today.
std::vector<const char*> CommandNames(Command command)
{
    switch (command) {
    case Command::New: return {"Ny1", "SbNy"};
    case Command::Open: return {"bn1", "SbOpen"};
    case Command::Save: return {"Gem1", "SbGem"};
    case Command::SaveAs: return {"GemSom1"};
    case Command::ClosePage: return {"Luk1", "SbLuk"};
    case Command::Print: return {"Print1"};
    case Command::PrintNow: return {"SbPrint"};
    case Command::Quit: return {"Afslut1"};
    case Command::Cut: return {"Klip1", "Klip2", "SbKlip"};
    case Command::Copy: return {"Kopier1", "Kopier2", "SbCopy"};
    case Command::Paste: return {"Stind1", "Stind2", "SbPaste"};
    case Command::Delete: return {"Ryd1", "Ryd2"};
    case Command::SelectAll: return {"Marker1", "Marker2"};
    case Command::Find: return {"Sg1", "Sg2"};
    case Command::UseMetafile: return {"BrugMetafile1"};
    case Command::Run: return {"Run1", "SbRun"};
    case Command::Coordinates: return {"Koord1", "sbKoord"};
    case Command::PrintSize: return {"Size1", "sbSize"};
    case Command::AddLabel: return {"Tekst1", "SbTekst"};
    case Command::FitGraph: return {"Tilpas1", "SbTilpas"};
    case Command::About: return {"OmTavlix1"};
    case Command::Stop: return {"Afbryd1"};
    }
    return {};
}

}  // namespace

void TForm1::setCommandEnabled(Command command, bool on)
{
    for (const char* name : CommandNames(command))
        Enable(name, on);
}

void TForm1::setStatus(StatusField field, const QString& text)
{
    SetStatusText(static_cast<int>(field), text);
}

void TForm1::pageCaptionChanged(QWidget* page, const QString& caption)
{
    const int i = PageControl1 ? PageControl1->indexOf(page) : -1;
    if (i >= 0)
        PageControl1->setTabText(i, QString(caption).replace('&', "&&"));
}

void TForm1::startEditCommandPoll()
{
    Timer1->start();
}

bool TForm1::askPrintSize(double& widthCm, double& heightCm)
{
    if (OKBottomDlg)
        return OKBottomDlg->Execute(widthCm, heightCm);
    TOKBottomDlg dialog(this);
    return dialog.Execute(widthCm, heightCm);
}
