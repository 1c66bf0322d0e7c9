// Commands that open dialogs or act on graph pages: coordinates, printing at once, the text tool, the about box.
#include "MainWindowFixture.h"

#include "graph/GraphView.h"
#include "workspace/AboutDialog.h"
#include "workspace/CoordinatesDialog.h"
#include "workspace/FindDialog.h"
#include "workspace/GraphPage.h"

#include <QLineEdit>
#include <QMenu>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void coordinatesConfirmedMarkTheDocument_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("OK") << true;
        QTest::newRow("cancel") << false;
    }

    void coordinatesConfirmedMarkTheDocument()
    {
        QFETCH(bool, confirm);
        MainWindowFixture f;
        CoordinatesDialog& dialog = f.window->coordinatesDialog();
        ScriptPage* m = f.script({"a"});
        QVERIFY(!f.window->isCommandEnabled(Command::Save));
        QTimer::singleShot(200, &dialog, [&] {
            dialog.field(tavlix::Setting::Tmax)->setText("20");
            dialog.findChild<QPushButton*>(confirm ? "okButton" : "cancelButton")->click();
        });
        f.window->action(Command::Coordinates)->trigger();
        QCOMPARE(m->isModified(), confirm);
        QCOMPARE(f.window->isCommandEnabled(Command::Save), confirm);
        QCOMPARE(m->settings()[9], std::string(confirm ? "20" : "10"));
    }

    // Without a printer the print goes to a PDF file the user names; a cancelled name prints nothing.
    void printAtOnceWithoutPrinter()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("a printer is installed here");
        MainWindowFixture f;
        f.script({"Konstanter", "  a = 1"});
        QTemporaryDir dir;
        int asked = 0;
        QString target;
        f.window->prompts().askPdfFileName = [&] {
            ++asked;
            return target;
        };
        f.window->documents().printNow();
        QCOMPARE(asked, 1);
        target = dir.filePath("udskrift.pdf");
        f.window->documents().printNow();
        QCOMPARE(asked, 2);
        QVERIFY(FileBytes(target).startsWith("%PDF"));
        QVERIFY(f.errors.isEmpty());
    }

    void textToolShowsTheLabelFieldUntilThePageChanges()
    {
        MainWindowFixture f;
        f.script({});
        f.window->createGraphPage("g-1");
        QVERIFY(f.window->labelTextEdit()->isHidden());
        f.window->action(Command::AddLabel)->trigger();
        QVERIFY(!f.window->labelTextEdit()->isHidden());
        QTRY_VERIFY(f.window->labelTextEdit()->hasFocus());
        // Focus in the text box is outside every page: the graph page's commands stay.
        QVERIFY(f.window->isCommandEnabled(Command::AddLabel));
        f.window->labelTextEdit()->setText("maksimum");
        f.window->activatePage(f.window->page(0));
        QVERIFY(f.window->labelTextEdit()->isHidden());
        QCOMPARE(f.window->labelTextEdit()->text(), QString());
    }

    // On a graph: the wheel turns "Zoom tilbage" on and Backspace steps back; Enter in the label field says to click.
    void graphZoomBackAndLabelField()
    {
        MainWindowFixture f;
        f.script({});
        auto* graph = static_cast<GraphPage*>(f.window->createGraphPage("g-1"));
        graph->setSettings({{-5, 10, 1, 0, -5, 5, 1, 0, -5, 10, 200, 0, 0, 0.00005, 0, 0}});
        graph->begin();
        graph->fitToWindow();
        GraphView& v = graph->view();
        QVERIFY(!f.window->isCommandEnabled(Command::ZoomBack));
        v.handleWheel({0, 120}, {}, 300, 200);
        QVERIFY(f.window->isCommandEnabled(Command::ZoomBack));
        QTRY_VERIFY(v.hasFocus());
        QTest::keyClick(&v, Qt::Key_Backspace);
        QCOMPARE(v.geometry().ranges(), (ValueRect{-5, 10, -5, 5}));
        QVERIFY(!f.window->isCommandEnabled(Command::ZoomBack));
        QCOMPARE(f.window->action(Command::ZoomBack)->text(), QString("&Zoom tilbage"));

        f.window->action(Command::AddLabel)->trigger();
        QTRY_VERIFY(f.window->labelTextEdit()->hasFocus());
        QTest::keyClicks(f.window->labelTextEdit(), "Top");
        QTest::keyClick(f.window->labelTextEdit(), Qt::Key_Return);
        QCOMPARE(f.window->status(StatusField::Message),
                 QString::fromUtf8(
                     "Klik i grafen, hvor teksten skal stå, eller flyt krydset med piletasterne og tryk Enter"));
        QCOMPARE(v.cursor().shape(), Qt::IBeamCursor);
        QVERIFY(!f.window->labelTextEdit()->isHidden());
        QTRY_VERIFY(v.hasFocus());
        // Focus moved within the page: the tool is still armed and the commands stay.
        QVERIFY(f.window->isCommandEnabled(Command::AddLabel));

        QList<QAction*> menu = f.window->resultContextMenu(PageKind::Graph)->actions();
        menu.removeIf([](QAction* a) { return a->isSeparator(); });
        const QList<Command> expected = {Command::Copy,
                                         Command::SaveAs,
                                         Command::Print,
                                         Command::ShowLegend,
                                         Command::AxesThroughOrigin,
                                         Command::SlopeField,
                                         Command::SolveThrough,
                                         Command::AddLabel,
                                         Command::FitGraph,
                                         Command::ZoomBack,
                                         Command::PrintSize,
                                         Command::Accuracy,
                                         Command::FitConstants,
                                         Command::ShowPoints,
                                         Command::TangentAt,
                                         Command::AreaUnder};
        QCOMPARE(menu.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(menu[i], f.window->action(expected[i]));
    }

    // The menu keys reach their commands from the editor, each once.
    void keyboard()
    {
        MainWindowFixture f;
        ScriptPage* m = f.script({"TabelVariable", "  t"});
        m->settings()[10] = std::string(1, '4');
        m->editor()->setFocus();
        QTest::keyClick(m->editor(), Qt::Key_B, Qt::ControlModifier);
        QVERIFY(f.window->findDialog().isVisible());
        f.window->findDialog().hide();
        f.window->activateWindow();
        m->editor()->setFocus();
        QTest::keyClick(m->editor(), Qt::Key_F9);
        QVERIFY(f.waitIdle());
        QCOMPARE(f.window->pageCount(), 2);
        QCOMPARE(f.window->activePage()->kind(), PageKind::Table);
        QTest::keyClick(f.window.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(f.window->pageCount(), 3);
        QCOMPARE(f.window->activePage()->caption(), QString("(Uden navn - 1)"));
    }

    void aboutBox()
    {
        AboutDialog box;
        QCOMPARE(box.windowTitle(), QString("Om Tavlix"));
        QCOMPARE(box.size(), QSize(298, 213));
        auto* ok = box.findChild<QPushButton*>("OKButton");
        QVERIFY(ok);
        QCOMPARE(ok->text(), QString("OK"));
        QVERIFY(ok->isDefault());
        QTimer::singleShot(100, ok, &QPushButton::click);
        QCOMPARE(box.exec(), int(QDialog::Accepted));
    }

    void titleAndMenus()
    {
        MainWindowFixture f;
        QCOMPARE(f.window->windowTitle(), QString("Tavlix"));
        // Where the menu and the pop-up menu once had captions of their own, the menu's is the one left.
        const QList<QPair<Command, QString>> items = {
            {Command::New, "&Ny"},
            {Command::Open, QString::fromUtf8("Å&bn ...")},
            {Command::SaveAs, "Gem &Som ..."},
            {Command::ClosePage, "&Luk blad"},
            {Command::Paste, QString::fromUtf8("Sæt i&nd")},
            {Command::Find, QString::fromUtf8("&Søg ...")},
            {Command::Run, "&Kør"},
            {Command::Coordinates, "K&oordinater ..."},
            {Command::FitGraph, "Tilpas &graf ..."},
            {Command::Delete, "&Ryd"},
            {Command::PrintNow, "Udskriv"},
        };
        for (const auto& [command, text] : items)
            QCOMPARE(f.window->action(command)->text(), text);
        const QList<QPair<Command, QString>> keys = {
            {Command::New, "Ctrl+N"},   {Command::Open, "Ctrl+O"},     {Command::Save, "Ctrl+S"},
            {Command::Print, "Ctrl+P"}, {Command::Delete, "Ctrl+Del"}, {Command::Find, "Ctrl+B"},
            {Command::Run, "F9"},       {Command::Coordinates, "F8"},  {Command::SelectAll, "Ctrl+A"},
        };
        for (const auto& [command, key] : keys)
            QCOMPARE(f.window->action(command)->shortcut(), QKeySequence(key));
        // The tool bar keeps its own hints.
        QCOMPARE(f.window->action(Command::New)->toolTip(), QString("Ny opgave"));
        QCOMPARE(f.window->action(Command::Cut)->toolTip(), QString("Klip"));
    }
};

QTEST_MAIN(TestCommands)
#include "CommandsTest.moc"
