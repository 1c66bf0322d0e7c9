// Runs from the window: result pages, the error caret and status text, notices, and interrupting a run.
#include "MainWindowFixture.h"

#include "workspace/NoticePanel.h"
#include "workspace/TableModel.h"
#include "workspace/TablePage.h"

#include <QTableView>

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTabWidget>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

namespace {

tavlix::SettingsTexts Range(const char* tmin, const char* tmax, const char* count)
{
    tavlix::SettingsTexts s = tavlix::defaultSettings();
    s[8] = tmin;
    s[9] = tmax;
    s[10] = count;
    return s;
}

// A table long enough that only an interruption ends it in time.
const QStringList LongTable = {"Funktioner", "  f = sin(t)", "TabelVariable", "  t, f"};

}  // namespace

class TestRun : public QObject {
    Q_OBJECT
private slots:
    void tablePage()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = Range("0", "1", "4");
        ScriptPage* m = f.script({"Funktioner", "  f = t*t", "TabelVariable", "  t, f"}, &s);
        QVERIFY(f.run());
        auto* page = qobject_cast<TablePage*>(f.window->activePage());
        QVERIFY(page);
        QCOMPARE(page->caption(), QString("test.tvx-1"));
        QCOMPARE(page->kind(), PageKind::Table);
        QCOMPARE(page->columnCount(), 2);
        // The header, five rows from 0 to 1 and the empty last row.
        QCOMPARE(page->rowCount(), 7);
        QCOMPARE(page->cellText(0, 0), QString("t"));
        QCOMPARE(page->cellText(1, 0), QString("f"));
        QStringList t, y;
        for (int r = 1; r <= 5; ++r) {
            t << page->cellText(0, r).trimmed();
            y << page->cellText(1, r).trimmed();
        }
        QCOMPARE(t, (QStringList{"0", "0.25", "0.5", "0.75", "1"}));
        QCOMPARE(y, (QStringList{"0", "0.0625", "0.25", "0.5625", "1"}));
        QCOMPARE(page->cellText(0, 1).size(), 12);
        QCOMPARE(page->cellText(0, 6), QString());
        // The view shows every data row under the fixed header row.
        QVERIFY(page->view()->isVisibleTo(page));
        QCOMPARE(page->model()->rowCount(), 6);
        QCOMPARE(page->model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QString("f"));
        QCOMPARE(m->resultPageCount(), 1);
        // The run leaves the table page's commands, with its document's run.
        QVERIFY(f.window->isCommandEnabled(Command::ClosePage));
        QVERIFY(f.window->isCommandEnabled(Command::Run));
        QCOMPARE(f.window->action(Command::Run)->text(), QString("&Kør"));
        // A second run refills the page under its caption, while the numbering goes on for new pages.
        f.window->activatePage(m);
        QVERIFY(f.run());
        QCOMPARE(f.window->activePage(), static_cast<Page*>(page));
        QCOMPARE(f.window->activePage()->caption(), QString("test.tvx-1"));
        QCOMPARE(m->resultPageCount(), 2);
    }

    void tableAndGraphPages()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = Range("0", "1", "10");
        f.script({"Funktioner", "  f = t", "GrafVariable", "  t, f, l1", "TabelVariable", "  t, f"}, &s);
        QVERIFY(f.run());
        QCOMPARE(f.window->pageCount(), 3);
        QCOMPARE(f.window->page(1)->kind(), PageKind::Graph);
        QCOMPARE(f.window->page(1)->caption(), QString("test.tvx-1"));
        QCOMPARE(f.window->page(2)->kind(), PageKind::Table);
        // The graph is shown, though the table came last.
        QCOMPARE(f.window->activePage(), f.window->page(1));
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::newRow("= missing") << QStringList{"Konstanter", "  k 2"} << QString("= forventet") << 1 << 4;
        QTest::newRow("unknown character") << QStringList{"Konstanter", "  k = 2 # 3"} << QString("# ukendt") << 1 << 8;
        QTest::newRow("defined twice") << QStringList{"Funktioner", "  f = t", "  f = 2"}
                                       << QString::fromUtf8("f brugt før") << 2 << 2;
        QTest::newRow("comment not closed")
            << QStringList{"Konstanter", "  a = 1", "(* aaa"} << QString("*) forventet") << 2 << 0;
    }

    void errors()
    {
        QFETCH(QStringList, script);
        QFETCH(QString, message);
        QFETCH(int, line);
        QFETCH(int, column);
        MainWindowFixture f;
        ScriptPage* m = f.script(script);
        QVERIFY(f.run());
        QCOMPARE(f.window->status(StatusField::Message), message);
        QCOMPARE(f.window->activePage(), static_cast<Page*>(m));
        QTextCursor c = m->editor()->textCursor();
        QVERIFY(!c.hasSelection());
        QCOMPARE(c.block().blockNumber(), line);
        QCOMPARE(c.positionInBlock(), column);
    }

    void runWithoutErrorDropsSelection()
    {
        MainWindowFixture f;
        ScriptPage* m = f.script({"Konstanter", "  a = 2"});
        m->editor()->selectAll();
        QVERIFY(f.run());
        QVERIFY(!m->editor()->textCursor().hasSelection());
        QCOMPARE(f.window->status(StatusField::Message),
                 QString("Scriptet har ingen GrafVariable eller TabelVariable, så der er intet at vise"));
        QCOMPARE(f.window->pageCount(), 1);
    }

    // Notices wait in the panel under the pages: no box stops the run, and every page is drawn to its end.
    void noticesGoToThePanelAndFaultsToABox()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = Range("-1", "1", "2");
        f.script({"Funktioner", "  f = 1/t", "GrafVariable", "  t, f, m1", "TabelVariable", "  t, f"}, &s);
        QVERIFY(f.run());
        QVERIFY(f.messages.isEmpty());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        NoticePanel* panel = f.window->noticePanel();
        QCOMPARE(panel->lines(), (QStringList{"Division med 0 ved t = 0 på test.tvx-1 (1a)",
                                              "Division med 0 ved t = 0 på test.tvx-2 (1a)"}));
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->reopenButton()->text(), QString("Meddelelser (2)"));
        f.window->activatePage(f.window->page(f.window->pageCount() - 1));
        auto* page = qobject_cast<TablePage*>(f.window->activePage());
        QVERIFY(page);
        QCOMPARE(page->cellText(1, 2).trimmed(), QString("Fejl"));
        QCOMPARE(page->cellText(1, 3).trimmed(), QString("1"));
        // Closed, it opens again from the status bar; a run without notices takes it away.
        panel->findChild<QToolButton*>("closeNotices")->click();
        QVERIFY(!panel->isVisible());
        panel->reopenButton()->click();
        QVERIFY(panel->isVisible());
        f.script({"Funktioner", "  f = t", "TabelVariable", "  t, f"}, &s);
        QVERIFY(f.run());
        QVERIFY(!panel->isVisible() && !panel->reopenButton()->isVisible());

        // No step at all: the general error report, the page made so far stays, the program goes on.
        tavlix::SettingsTexts none = Range("0", "1", "0");
        f.script({"TabelVariable", "  t"}, &none);
        QVERIFY(f.run());
        QCOMPARE(f.errors.size(), 1);
        QCOMPARE(f.window->activePage()->kind(), PageKind::Table);
        QVERIFY(!f.window->running());
    }

    // The interruption, by the run command or by Escape, ends the run and keeps what was made.
    void interrupt_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("run command") << false;
        QTest::newRow("escape") << true;
    }

    void interrupt()
    {
        QFETCH(bool, escape);
        MainWindowFixture f;
        tavlix::SettingsTexts s = Range("0", "1", "5000000");
        ScriptPage* m = f.script(LongTable, &s);
        f.window->onRun();
        // A table page is active, yet the run can be stopped once it has rows.
        QTRY_VERIFY(qobject_cast<TablePage*>(f.window->activePage()) &&
                    qobject_cast<TablePage*>(f.window->activePage())->rowCount() > 3);
        const QString captionDuring = f.window->action(Command::Run)->text();
        const bool runOnDuring = f.window->isCommandEnabled(Command::Run);
        // A second run cannot start: the command interrupts instead.
        if (escape)
            QTest::keyClick(f.window.get(), Qt::Key_Escape);
        else
            f.window->action(Command::Run)->trigger();
        QVERIFY(f.waitIdle());
        QCOMPARE(captionDuring, QString("&Afbryd"));
        QVERIFY(runOnDuring);
        QVERIFY(!f.window->running());
        QCOMPARE(f.window->pageCount(), 2);
        QCOMPARE(m->resultPageCount(), 1);
        auto* page = qobject_cast<TablePage*>(f.window->activePage());
        QVERIFY(page);
        QVERIFY(page->rowCount() > 3);
        QVERIFY(page->rowCount() < 5000000);
        QCOMPARE(page->model()->rowCount(), page->rowCount() - 1);
        QCOMPARE(f.window->action(Command::Run)->text(), QString("&Kør"));
        QVERIFY(f.window->isCommandEnabled(Command::Run));
        QVERIFY(f.errors.isEmpty());
        QCOMPARE(f.window->status(StatusField::Message), QString("Kørslen blev afbrudt"));
    }

    // Closing a page during a run stops the run first; the page goes once the run has returned.
    void closeDuringRun_data()
    {
        QTest::addColumn<bool>("closeScript");
        QTest::newRow("result page") << false;
        QTest::newRow("script page") << true;
    }

    void closeDuringRun()
    {
        QFETCH(bool, closeScript);
        MainWindowFixture f;
        tavlix::SettingsTexts s = Range("0", "1", "5000000");
        ScriptPage* m = f.script(LongTable, &s);
        QPointer<Page> closed;
        int pagesDuring = -1;
        QTimer::singleShot(300, f.window.get(), [&] {
            if (closeScript)
                f.window->activatePage(m);
            closed = f.window->activePage();
            f.window->documents().closePage();
            pagesDuring = f.window->pageCount();
        });
        QVERIFY(f.run());
        QCOMPARE(pagesDuring, 2);
        QVERIFY(!f.window->running());
        QVERIFY(closed.isNull());
        // A closed document takes its result pages along.
        QCOMPARE(f.window->pageCount(), closeScript ? 0 : 1);
        if (!closeScript)
            QCOMPARE(f.window->activePage()->kind(), PageKind::Script);
    }

    // A table that would exhaust memory stops the run with a clear message and keeps its rows.
    void tableTooLargeStopsTheRun()
    {
        MainWindowFixture f;
        f.window->runLimits().maxTableCells = 2000;
        tavlix::SettingsTexts s = Range("0", "1", "100000");
        f.script(LongTable, &s);
        QVERIFY(f.run());
        QCOMPARE(f.errors.size(), 1);
        QVERIFY2(f.errors[0].contains("for stor"), qPrintable(f.errors[0]));
        auto* page = qobject_cast<TablePage*>(f.window->activePage());
        QVERIFY(page);
        QVERIFY(page->rowCount() >= 1000 && page->rowCount() <= 1003);
        // The last row written is a whole row, not a row overwritten by the next point.
        QVERIFY(!page->cellText(0, page->rowCount() - 2).trimmed().isEmpty());
        QVERIFY(!f.window->running());
    }

    void programCloseDuringRun()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = Range("0", "1", "5000000");
        f.script(LongTable, &s);
        bool closedDuring = true;
        QTimer::singleShot(300, f.window.get(), [&] { closedDuring = f.window->close(); });
        QVERIFY(f.run());
        QVERIFY(!closedDuring);
        QVERIFY(!f.window->isVisible());
    }
};

QTEST_MAIN(TestRun)
#include "RunTest.moc"
