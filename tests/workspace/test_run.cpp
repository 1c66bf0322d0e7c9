// Runs from the window: result pages, the error caret and status text, notices, and interrupting a run.
#include "FormFixture.h"

#include "workspace/TTabTabel.h"
#include "workspace/TTabelModel.h"

#include <QTableView>

#include <QAction>
#include <QPointer>
#include <QTabWidget>
#include <QTextBlock>
#include <QTimer>

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
        FormFixture f;
        tavlix::SettingsTexts s = Range("0", "1", "4");
        TTabMemo* m = f.script({"Funktioner", "  f = t*t", "TabelVariable", "  t, f"}, &s);
        f.form->Run1Click();
        auto* page = qobject_cast<TTabTabel*>(f.form->ActivePage());
        QVERIFY(page);
        QCOMPARE(page->Caption(), QString("test.tvx-1"));
        QCOMPARE(page->Tag, 2);
        QCOMPARE(page->ColCount(), 2);
        // The header, five rows from 0 to 1 and the empty last row.
        QCOMPARE(page->rowCount(), 7);
        QCOMPARE(page->CellText(0, 0), QString("t"));
        QCOMPARE(page->CellText(1, 0), QString("f"));
        QStringList t, y;
        for (int r = 1; r <= 5; ++r) {
            t << page->CellText(0, r).trimmed();
            y << page->CellText(1, r).trimmed();
        }
        QCOMPARE(t, (QStringList{"0", "0.25", "0.5", "0.75", "1"}));
        QCOMPARE(y, (QStringList{"0", "0.0625", "0.25", "0.5625", "1"}));
        QCOMPARE(page->CellText(0, 1).size(), 12);
        QCOMPARE(page->CellText(0, 6), QString());
        // The view shows every data row under the fixed header row.
        QVERIFY(page->Grid->isVisibleTo(page));
        QCOMPARE(page->Model->rowCount(), 6);
        QCOMPARE(page->Model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QString("f"));
        QCOMPARE(m->ResultCount(), 1);
        // The run leaves the table page's commands.
        QVERIFY(f.form->IsEnabled("Luk1"));
        QVERIFY(!f.form->IsEnabled("Run1"));
        QCOMPARE(f.form->Action("Run1")->text(), QString("&Kør"));
        // A second run numbers on.
        f.form->ActivatePage(m);
        f.form->Run1Click();
        QCOMPARE(f.form->ActivePage()->Caption(), QString("test.tvx-2"));
    }

    void tableAndGraphPages()
    {
        FormFixture f;
        tavlix::SettingsTexts s = Range("0", "1", "10");
        f.script({"Funktioner", "  f = t", "GrafVariable", "  t, f, l1", "TabelVariable", "  t, f"}, &s);
        f.form->Run1Click();
        QCOMPARE(f.form->PageCount(), 3);
        QCOMPARE(f.form->Page(1)->Tag, 3);
        QCOMPARE(f.form->Page(1)->Caption(), QString("test.tvx-1"));
        QCOMPARE(f.form->Page(2)->Tag, 2);
        QCOMPARE(f.form->ActivePage(), f.form->Page(2));
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::newRow("= missing") << QStringList{"Konstanter", "  k 2"} << QString("= forventet") << 1 << 4;
        QTest::newRow("unknown character") << QStringList{"Konstanter", "  k = 2 # 3"} << QString("# ukendt") << 1
                                           << 8;
        QTest::newRow("defined twice") << QStringList{"Funktioner", "  f = t", "  f = 2"}
                                       << QString::fromUtf8("f brugt før") << 2 << 2;
        QTest::newRow("comment not closed") << QStringList{"Konstanter", "  a = 1", "(* aaa"}
                                            << QString("*) forventet") << 2 << 0;
    }

    void errors()
    {
        QFETCH(QStringList, script);
        QFETCH(QString, message);
        QFETCH(int, line);
        QFETCH(int, column);
        FormFixture f;
        TTabMemo* m = f.script(script);
        f.form->Run1Click();
        QCOMPARE(f.form->StatusText(2), message);
        QCOMPARE(f.form->ActivePage(), static_cast<TTabGen*>(m));
        QTextCursor c = m->Editor->textCursor();
        QVERIFY(!c.hasSelection());
        QCOMPARE(c.block().blockNumber(), line);
        QCOMPARE(c.positionInBlock(), column);
    }

    void runWithoutErrorDropsSelection()
    {
        FormFixture f;
        TTabMemo* m = f.script({"Konstanter", "  a = 2"});
        m->Editor->selectAll();
        f.form->Run1Click();
        QVERIFY(!m->Editor->textCursor().hasSelection());
        QCOMPARE(f.form->StatusText(2), QString());
        QCOMPARE(f.form->PageCount(), 1);
    }

    void noticeAndFaultBoxes()
    {
        FormFixture f;
        tavlix::SettingsTexts s = Range("-1", "1", "2");
        f.script({"Funktioner", "  f = 1/t", "TabelVariable", "  t, f"}, &s);
        f.form->Run1Click();
        QCOMPARE(f.messages, QStringList{"1a"});
        auto* page = qobject_cast<TTabTabel*>(f.form->ActivePage());
        QVERIFY(page);
        QCOMPARE(page->CellText(1, 2).trimmed(), QString("Fejl"));
        QCOMPARE(page->CellText(1, 3).trimmed(), QString("1"));

        // No step at all: the general error report, the page made so far stays, the program goes on.
        tavlix::SettingsTexts none = Range("0", "1", "0");
        f.script({"TabelVariable", "  t"}, &none);
        f.form->Run1Click();
        QCOMPARE(f.errors.size(), 1);
        QCOMPARE(f.form->ActivePage()->Tag, 2);
        QVERIFY(!f.form->Running());
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
        FormFixture f;
        tavlix::SettingsTexts s = Range("0", "1", "5000000");
        TTabMemo* m = f.script(LongTable, &s);
        QString captionDuring;
        bool runOnDuring = false;
        QTimer::singleShot(300, f.form.get(), [&] {
            captionDuring = f.form->Action("Run1")->text();
            runOnDuring = f.form->IsEnabled("SbRun");  // a table page is active, yet the run can be stopped
            // A second run cannot start: the command interrupts instead.
            if (escape)
                QTest::keyClick(f.form.get(), Qt::Key_Escape);
            else
                f.form->Action("SbRun")->trigger();
        });
        f.form->Run1Click();
        QCOMPARE(captionDuring, QString("&Afbryd"));
        QVERIFY(runOnDuring);
        QVERIFY(!f.form->Running());
        QCOMPARE(f.form->PageCount(), 2);
        QCOMPARE(m->ResultCount(), 1);
        auto* page = qobject_cast<TTabTabel*>(f.form->ActivePage());
        QVERIFY(page);
        QVERIFY(page->rowCount() > 3);
        QVERIFY(page->rowCount() < 5000000);
        QCOMPARE(page->Model->rowCount(), page->rowCount() - 1);
        QCOMPARE(f.form->Action("Run1")->text(), QString("&Kør"));
        QVERIFY(!f.form->IsEnabled("SbRun"));
        QVERIFY(f.errors.isEmpty());
        QCOMPARE(f.form->StatusText(2), QString("Kørslen blev afbrudt"));
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
        FormFixture f;
        tavlix::SettingsTexts s = Range("0", "1", "5000000");
        TTabMemo* m = f.script(LongTable, &s);
        QPointer<TTabGen> closed;
        int pagesDuring = -1;
        QTimer::singleShot(300, f.form.get(), [&] {
            if (closeScript)
                f.form->ActivatePage(m);
            closed = f.form->ActivePage();
            f.form->Luk1Click();
            pagesDuring = f.form->PageCount();
        });
        f.form->Run1Click();
        QCOMPARE(pagesDuring, 2);
        QVERIFY(!f.form->Running());
        QVERIFY(closed.isNull());
        QCOMPARE(f.form->PageCount(), 1);
        QCOMPARE(f.form->ActivePage()->Tag, closeScript ? 2 : 1);
    }

    // A table that would exhaust memory stops the run with a clear message and keeps its rows.
    void tableTooLargeStopsTheRun()
    {
        FormFixture f;
        const long long saved = TTabTabel::MaxCells;
        TTabTabel::MaxCells = 2000;
        tavlix::SettingsTexts s = Range("0", "1", "100000");
        f.script(LongTable, &s);
        f.form->Run1Click();
        TTabTabel::MaxCells = saved;
        QCOMPARE(f.errors.size(), 1);
        QVERIFY2(f.errors[0].contains("for stor"), qPrintable(f.errors[0]));
        auto* page = qobject_cast<TTabTabel*>(f.form->ActivePage());
        QVERIFY(page);
        QVERIFY(page->rowCount() >= 1000 && page->rowCount() <= 1003);
        // The last row written is a whole row, not a row overwritten by the next point.
        QVERIFY(!page->CellText(0, page->rowCount() - 2).trimmed().isEmpty());
        QVERIFY(!f.form->Running());
    }

    void programCloseDuringRun()
    {
        FormFixture f;
        tavlix::SettingsTexts s = Range("0", "1", "5000000");
        f.script(LongTable, &s);
        bool closedDuring = true;
        QTimer::singleShot(300, f.form.get(), [&] { closedDuring = f.form->close(); });
        f.form->Run1Click();
        QVERIFY(!closedDuring);
        QVERIFY(!f.form->isVisible());
    }
};

QTEST_MAIN(TestRun)
#include "test_run.moc"
