// Which commands are available with no page, a script page, a table page and a graph page, and the poll.
#include "MainWindowFixture.h"

#include "graph/GraphView.h"
#include "workspace/GraphPage.h"
#include "workspace/TablePage.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

namespace {

enum State { NoPage, Script, Table, Graph };

}  // namespace

class TestAvailability : public QObject {
    Q_OBJECT
private:
    void enter(MainWindowFixture& f, State state)
    {
        switch (state) {
        case NoPage: break;
        case Script: f.script({"Konstanter", "  a = 2"}); break;
        case Table: {
            f.script({});
            tavlix::TableSink* t = f.window->createTablePage("test.tvx-1");
            t->setColumnCount(2);
            t->setRowCount(2);
            t->showGrid();
            break;
        }
        case Graph:
            f.script({});
            QVERIFY(f.window->createGraphPage("test.tvx-1") != nullptr);
            break;
        }
    }

private slots:
    void table_data()
    {
        QTest::addColumn<QList<Command>>("commands");
        QTest::addColumn<QList<bool>>("on");  // no page, script, table, graph
        auto row = [](const char* tag, QList<Command> commands, QList<bool> on) {
            QTest::newRow(tag) << commands << on;
        };
        row("new and open", {Command::New, Command::Open}, {true, true, true, true});
        row("always", {Command::Quit, Command::About}, {true, true, true, true});
        row("close", {Command::ClosePage}, {false, true, true, true});
        row("save", {Command::Save}, {false, false, false, false});
        row("save as", {Command::SaveAs}, {false, true, true, true});
        row("save document as", {Command::SaveDocumentAs}, {false, true, false, false});  // these pages have none
        row("print", {Command::Print, Command::PrintNow}, {false, true, true, true});
        row("cut", {Command::Cut}, {false, false, false, false});
        row("copy", {Command::Copy}, {false, false, true, true});
        row("delete", {Command::Delete}, {false, false, false, false});
        row("paste", {Command::Paste}, {false, false, false, false});
        row("select all", {Command::SelectAll}, {false, true, false, false});
        row("find", {Command::Find}, {false, true, false, false});
        row("run", {Command::Run}, {false, true, false, false});
        row("coordinates", {Command::Coordinates}, {false, true, false, false});
        row("graph", {Command::PrintSize, Command::AddLabel, Command::FitGraph, Command::ShowLegend},
            {false, false, false, true});
        row("zoom back (nothing to go back to)", {Command::ZoomBack}, {false, false, false, false});
        row("stop", {Command::Stop}, {false, false, false, false});
    }

    // Each row holds in each state as the page is entered (an unmodified page, nothing selected).
    void table()
    {
        QFETCH(QList<Command>, commands);
        QFETCH(QList<bool>, on);
        for (State state : {NoPage, Script, Table, Graph}) {
            MainWindowFixture f;
            enter(f, state);
            for (Command c : commands)
                QVERIFY2(f.window->isCommandEnabled(c) == on[state],
                         qPrintable(QString("command %1 in state %2").arg(int(c)).arg(int(state))));
        }
    }

    // One action per command: turning it off in one place turns it off in the menu, the pop-up menu and the tool bar.
    void menuPopupAndToolBarShareOneAction_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<bool>("inMenuBar");
        QTest::addColumn<bool>("inPopup");
        QTest::addColumn<bool>("onToolBar");
        QTest::newRow("new") << Command::New << true << false << true;
        QTest::newRow("print") << Command::Print << true << false << false;
        QTest::newRow("print now") << Command::PrintNow << false << false << true;
        QTest::newRow("cut") << Command::Cut << true << true << true;
        QTest::newRow("copy") << Command::Copy << true << true << true;
        QTest::newRow("paste") << Command::Paste << true << true << true;
        QTest::newRow("delete") << Command::Delete << true << true << false;
        QTest::newRow("find") << Command::Find << true << true << false;
        QTest::newRow("run") << Command::Run << true << false << true;
        QTest::newRow("label") << Command::AddLabel << true << false << true;
        QTest::newRow("legend") << Command::ShowLegend << true << false << false;
    }

    void menuPopupAndToolBarShareOneAction()
    {
        QFETCH(Command, command);
        QFETCH(bool, inMenuBar);
        QFETCH(bool, inPopup);
        QFETCH(bool, onToolBar);
        MainWindowFixture f;
        QAction* a = f.window->action(command);
        QVERIFY(a);
        bool menuBarHolds = false;
        for (QAction* menu : f.window->menuBar()->actions())
            menuBarHolds = menuBarHolds || menu->menu()->actions().contains(a);
        QCOMPARE(menuBarHolds, inMenuBar);
        QCOMPARE(f.window->contextMenu()->actions().contains(a), inPopup);
        auto* toolBar = f.window->findChild<QToolBar*>();
        QCOMPARE(toolBar->actions().contains(a), onToolBar);
        // Exactly one action of the window carries the command's shortcut.
        if (!a->shortcut().isEmpty()) {
            int carriers = 0;
            for (QAction* other : f.window->findChildren<QAction*>())
                carriers += other->shortcut() == a->shortcut();
            QCOMPARE(carriers, 1);
        }
    }

    void noPageShowsNothing()
    {
        MainWindowFixture f;
        for (StatusField field : {StatusField::X, StatusField::Y, StatusField::Message})
            QCOMPARE(f.window->status(field), QString());
        QVERIFY(!f.window->sectionPanel()->isVisible());
        QVERIFY(!f.window->editCommandPollActive());
    }

    void sectionPanelOnlyOnScriptPage()
    {
        MainWindowFixture f;
        ScriptPage* m = f.script({});
        QVERIFY(f.window->sectionPanel()->isVisible());
        QCOMPARE(f.window->sectionPanel()->parentWidget(), static_cast<QWidget*>(m));
        QVERIFY(f.window->editCommandPollActive());
        f.window->createGraphPage("x-1");
        QVERIFY(!f.window->sectionPanel()->isVisible());
        QVERIFY(!f.window->editCommandPollActive());
    }

    void pollFollowsSelection()
    {
        MainWindowFixture f;
        ScriptPage* m = f.script({"Konstanter", "  a = 2"});
        QVERIFY(!f.window->isCommandEnabled(Command::Cut));
        m->editor()->selectAll();
        QTRY_VERIFY_WITH_TIMEOUT(f.window->isCommandEnabled(Command::Cut), 1000);
        QVERIFY(f.window->isCommandEnabled(Command::Copy));
        QVERIFY(f.window->isCommandEnabled(Command::Delete));
        QTextCursor c = m->editor()->textCursor();
        c.clearSelection();
        m->editor()->setTextCursor(c);
        QTRY_VERIFY_WITH_TIMEOUT(!f.window->isCommandEnabled(Command::Cut), 1000);
        QVERIFY(!f.window->isCommandEnabled(Command::Delete));
    }

    void pollFollowsClipboard()
    {
        MainWindowFixture f;
        QApplication::clipboard()->setText("k = 2");
        f.script({});
        // Entering the page leaves paste off; the next tick turns it on.
        QVERIFY(!f.window->isCommandEnabled(Command::Paste));
        QTRY_VERIFY_WITH_TIMEOUT(f.window->isCommandEnabled(Command::Paste), 1000);
        QApplication::clipboard()->clear();
        QTRY_VERIFY_WITH_TIMEOUT(!f.window->isCommandEnabled(Command::Paste), 1000);
    }

    void saveFollowsModified()
    {
        MainWindowFixture f;
        ScriptPage* m = f.script({});
        QTemporaryDir dir;
        m->setFileName(dir.filePath("a.tvx"));
        QVERIFY(!f.window->isCommandEnabled(Command::Save));
        m->editor()->insertPlainText("Konstanter\n");
        // The change turns saving on at once, without waiting for the poll.
        QVERIFY(f.window->isCommandEnabled(Command::Save));
        f.window->documents().saveActive();
        QVERIFY(!m->isModified());
        QTRY_VERIFY_WITH_TIMEOUT(!f.window->isCommandEnabled(Command::Save), 1000);
    }

    void switchingTabsEmptiesStatusBar()
    {
        MainWindowFixture f;
        f.script({});
        f.script({});
        f.window->setStatus(StatusField::Message, "a ukendt");
        f.window->tabs()->setCurrentIndex(0);
        QCOMPARE(f.window->status(StatusField::Message), QString());
        QCOMPARE(f.window->activePage(), f.window->page(0));
    }

    void graphSurfaceIsFourPixelsSmaller()
    {
        MainWindowFixture f;
        ScriptPage* m = f.script({});
        QSize area = m->size();
        auto* graph = static_cast<GraphPage*>(f.window->createGraphPage("g-1"));
        QCOMPARE(graph->view().size(), QSize(area.width() - 4, area.height() - 4));
    }

    void everyControlHasAnAccessibleName()
    {
        MainWindowFixture f;
        f.script({});
        auto* toolBar = f.window->findChild<QToolBar*>();
        int buttons = 0;
        for (QAction* a : toolBar->actions()) {
            auto* w = qobject_cast<QToolButton*>(toolBar->widgetForAction(a));
            if (!w)
                continue;
            ++buttons;
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(a->text()));
            QCOMPARE(w->accessibleName(), w->toolTip());
        }
        QCOMPARE(buttons, 15);
        for (auto* w : f.window->sectionPanel()->findChildren<QToolButton*>())
            QVERIFY(!w->accessibleName().isEmpty());
        QVERIFY(!f.window->labelTextEdit()->accessibleName().isEmpty());
        QVERIFY(!f.scriptPage()->editor()->accessibleName().isEmpty());
    }
};

QTEST_MAIN(TestAvailability)
#include "AvailabilityTest.moc"
