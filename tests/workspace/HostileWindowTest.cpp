// Runs that would never end or would exhaust memory: the window stays in charge and keeps what was made.
#include "MainWindowFixture.h"

#include "support/MemoryUse.h"
#include "workspace/GraphPage.h"
#include "workspace/NoticePanel.h"
#include "workspace/TablePage.h"

#include <QAction>
#include <QTimer>

#include <random>

namespace {

tavlix::SettingsTexts With(std::initializer_list<std::pair<int, const char*>> changes)
{
    tavlix::SettingsTexts s = tavlix::defaultSettings();
    for (const auto& [index, text] : changes)
        s[index] = text;
    return s;
}

long long StoredPoints(const GraphPage& page)
{
    long long n = 0;
    for (const tavlix::Curve& c : page.curves())
        n += static_cast<long long>(c.points.size());
    return n;
}

}  // namespace

class TestHostile : public QObject {
    Q_OBJECT
private slots:
    // TAntal 1e12 and TDelta 1e-300 from 0: Escape ends the run, tables and graphs alike, and what was made stays.
    void escapeEndsAnEndlessRun_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<int>("setting");
        QTest::addColumn<QString>("value");
        const QStringList table{"Funktioner", "  f = sin(t)", "TabelVariable", "  t, f"};
        const QStringList graph{"Funktioner", "  f = sin(t)", "GrafVariable", "  t, f, l1"};
        const QStringList ode{"DifferentialLigninger", "  y' = -y  <1>", "GrafVariable", "  t, y, m2"};
        QTest::newRow("table, TAntal 1e12") << table << 10 << "1e12";
        QTest::newRow("graph, TAntal 1e12") << graph << 10 << "1e12";
        QTest::newRow("table, TDelta 1e-300") << table << 11 << "1e-300";
        QTest::newRow("ode graph, TAntal 1e12") << ode << 10 << "1e12";
    }

    void escapeEndsAnEndlessRun()
    {
        QFETCH(QStringList, script);
        QFETCH(int, setting);
        QFETCH(QString, value);
        MainWindowFixture f;
        const QByteArray text = value.toLatin1();
        tavlix::SettingsTexts s = With({{8, "0"}, {setting, text.constData()}});
        f.script(script, &s);
        f.window->onRun();
        // Escape once the run has drawn or written something.
        const auto drawn = [&f] {
            if (auto* table = qobject_cast<TablePage*>(f.window->activePage()))
                return table->rowCount() > 3;
            auto* graph = qobject_cast<GraphPage*>(f.window->activePage());
            return graph && StoredPoints(*graph) > 2;
        };
        QTRY_VERIFY(drawn());
        QTest::keyClick(f.window.get(), Qt::Key_Escape);
        QVERIFY(f.waitIdle());
        QVERIFY(!f.window->running());
        QCOMPARE(f.window->pageCount(), 2);
        QCOMPARE(f.window->status(StatusField::Message), QString("Kørslen blev afbrudt"));
        QVERIFY(f.errors.isEmpty());
        if (auto* table = qobject_cast<TablePage*>(f.window->activePage())) {
            QVERIFY(table->rowCount() > 3);
        } else {
            auto* graph = qobject_cast<GraphPage*>(f.window->activePage());
            QVERIFY(graph);
            QVERIFY(StoredPoints(*graph) > 2);
        }
    }

    // A graph that would exhaust memory stops the run with a clear message and keeps its points.
    void graphTooLargeStopsTheRun()
    {
        MainWindowFixture f;
        f.window->runLimits().maxGraphPoints = 3000;
        tavlix::SettingsTexts s = With({{8, "0"}, {9, "1"}, {10, "1e12"}});
        f.script({"Funktioner", "  f = t", "  g = 1 - t", "GrafVariable", "  t, f, l1   t, g, m3"}, &s);
        QVERIFY(f.run());
        f.window->runLimits() = {};
        QVERIFY(!f.window->running());
        QCOMPARE(f.errors.size(), 1);
        QVERIFY2(f.errors[0].startsWith("Grafen \"test.tvx-1\" er blevet for stor (over 3"), qPrintable(f.errors[0]));
        auto* page = qobject_cast<GraphPage*>(f.window->activePage());
        QVERIFY(page);
        QCOMPARE(StoredPoints(*page), 3000LL);
        // The next run starts afresh and is not stopped by the old bound.
        f.errors.clear();
        f.window->activatePage(f.window->page(0));
        tavlix::SettingsTexts small = With({{8, "0"}, {9, "1"}, {10, "10"}});
        f.scriptPage()->settings() = small;
        QVERIFY(f.run());
        QVERIFY(f.errors.isEmpty());
        page = qobject_cast<GraphPage*>(f.window->activePage());
        QVERIFY(page);
        QVERIFY(StoredPoints(*page) > 20 && StoredPoints(*page) < 30);
    }

    // A script of thousands of output sections: the run stops at the page bound, keeping the pages it made.
    void tooManyPagesStopsTheRun()
    {
        MainWindowFixture f;
        f.window->runLimits().maxPages = 5;
        tavlix::SettingsTexts s = With({{10, "4"}});
        QStringList script;
        for (int i = 0; i < 3000; ++i)
            script << (i % 2 ? "GrafVariable" : "TabelVariable") << (i % 2 ? "  t, t, l1" : "  t");
        f.script(script, &s);
        QVERIFY(f.run());
        QCOMPARE(f.window->pageCount(), 6);
        QCOMPARE(f.errors, QStringList{"Kørslen laver mere end 5 resultatsider og er stoppet; de lavede sider er "
                                       "bevaret."});
        // The bound is per run; the second run refills the first one's pages.
        f.errors.clear();
        f.window->activatePage(f.window->page(0));
        QVERIFY(f.run());
        QCOMPARE(f.window->pageCount(), 6);
        QCOMPARE(f.errors.size(), 1);
    }

    // Whatever fills memory, the run is stopped before the machine's memory is used up.
    void memoryGuardStopsTheRun()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = With({{8, "0"}, {10, "1e12"}});
        f.script({"Funktioner", "  f = t", "TabelVariable", "  t, f"}, &s);
        f.window->runs().setMemoryLimit(1);
        QVERIFY(f.run());
        f.window->runs().setMemoryLimit(0);
        QVERIFY(!f.window->running());
        QCOMPARE(f.errors.size(), 1);
        QVERIFY2(f.errors[0].startsWith("Kørslen er stoppet, fordi hukommelsen er ved at slippe op ("),
                 qPrintable(f.errors[0]));
        auto* table = qobject_cast<TablePage*>(f.window->activePage());
        QVERIFY(table);
        QVERIFY(table->rowCount() > 3);
    }

    // Absurd settings and scripts pieced together at random run to their end in the window: pages or messages, never
    // a crash, a hang or a sanitizer report. Each run is kept short by the page bounds.
    void randomHostileRuns()
    {
        static const char* const values[] = {"0",       "-0",   "1",     "-1", "1e300", "-1e300", "1e-300",
                                             "-1e-300", "1e37", "-1e37", "2*", "",      "abc",    "3",
                                             "1e6",     "0.5",  "10",    "-5", "1e-12", "1e308",  "4.9e-324"};
        static const char* const counts[] = {"0", "1", "2", "10", "200", "1e-300", "-5", "1e12"};
        static const char* const deltas[] = {"0", "0", "0", "1e-300", "1", "-1", "0.5", "1e300"};
        static const char* const functions[] = {"t",
                                                "t*t",
                                                "sin(t)",
                                                "1/t",
                                                "sqr(t)",
                                                "ln(t)",
                                                "exp(t)",
                                                "tan(t)",
                                                "hvis(t < 0, stop, t)",
                                                "hvis(t > 1, 1/0, t)",
                                                "t^t",
                                                "(-1)^t",
                                                "1e300*t*t",
                                                "arcsin(t)",
                                                "d(t)",
                                                "abs(t)*1e308"};
        std::mt19937 random(7);
        auto pick = [&random](const auto& list) { return QString(list[random() % (sizeof list / sizeof list[0])]); };
        MainWindowFixture f;
        f.window->runLimits().maxTableCells = 20000;
        f.window->runLimits().maxGraphPoints = 20000;
        // The user stops a run that goes on too long, as Escape does.
        QTimer impatient;
        QObject::connect(&impatient, &QTimer::timeout, [&f] {
            if (f.window->running())
                f.window->requestStop();
        });
        impatient.start(1000);
        for (int run = 0; run < 40; ++run) {
            tavlix::SettingsTexts s;
            for (auto& setting : s)
                setting = pick(values).toStdString();
            s[10] = pick(counts).toStdString();
            s[11] = pick(deltas).toStdString();
            QStringList script{"Tabeller", "  d = <(0, 1), (1e-300, 2), (1, 1e300)>"};
            if (random() % 2)
                script << "DifferentialLigninger"
                       << "  y' = " + pick(functions) + " <1>";
            script << "Funktioner"
                   << "  f = " + pick(functions) << "  g = " + pick(functions) + "  <-1, 1>";
            for (int section = 0; section < 2; ++section) {
                if (random() % 2)
                    script << "GrafVariable"
                           << QString("  t, f, l%1  f, g, m%2").arg(random() % 6 + 1).arg(random() % 6 + 1);
                else
                    script << "TabelVariable"
                           << "  t, f, g";
            }
            ScriptPage* m = f.script(script, &s);
            QVERIFY(f.run());
            QVERIFY(!f.window->running());
            QVERIFY(f.messages.isEmpty());
            QVERIFY(f.window->noticePanel()->lines().size() <= 7);  // the notices of a run are bounded
            // Close what the run made, so that the window stays small.
            while (f.window->pageCount() > 0)
                f.window->documents().closePage();
            (void)m;
        }
    }

    // A setting that cannot be computed is named in a notice; the run goes on with 0 for it.
    void unreadableSettingIsNamed()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = With({{4, "abc"}, {10, "20"}});
        f.script({"Funktioner", "  f = t", "TabelVariable", "  t, f"}, &s);
        QVERIFY(f.run());
        QCOMPARE(f.window->noticePanel()->lines(),
                 QStringList{"Koordinatindstillingen YMin kan ikke beregnes; 0 bruges i stedet. Ret den under "
                             "Koordinater (F8)."});
        auto* table = qobject_cast<TablePage*>(f.window->activePage());
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 23);
    }
};

QTEST_MAIN(TestHostile)
#include "HostileWindowTest.moc"
