// The accuracy command in the window: the statistics in the status bar, the command's availability, the dialog's
// numbers and verdict, and interrupting the reference run.
#include "MainWindowFixture.h"

#include "workspace/AccuracyDialog.h"
#include "workspace/AccuracyTexts.h"
#include "workspace/Page.h"
#include "workspace/ParameterBar.h"
#include "workspace/TablePage.h"

#include <QAction>
#include <QLabel>
#include <QRegularExpression>
#include <QSlider>
#include <QTableWidget>
#include <QTimer>

namespace {

tavlix::SettingsTexts odeSettings(const char* tCount, const char* relTol)
{
    tavlix::SettingsTexts s = tavlix::defaultSettings();
    s[8] = "0";
    s[9] = "10";
    s[10] = tCount;
    s[11] = "0";
    s[12] = "0";
    s[13] = relTol;
    return s;
}

const QStringList Logistic = {"DifferentialLigninger",
                              "  y' = 0.8*y*(1 - y/10)   <1>",
                              "Funktioner",
                              "  f = t^2",
                              "GrafVariable",
                              "  t, y, l1",
                              "TabelVariable",
                              "  t, y, f",
                              "TabelVariable",
                              "  t, f"};

}  // namespace

class TestAccuracy : public QObject {
    Q_OBJECT
private slots:
    void numbersInDanishStyle()
    {
        struct Case {
            double value;
            int digits;
            const char* text;
        };
        const Case cases[] = {{1.2345e-4, 2, "1,2E-4"}, {0.05, 2, "0,05"}, {9.96e-7, 2, "1,0E-6"}, {0, 2, "0"},
                              {1234.5, 2, "1.235"},     {-3.5, 4, "-3,5"}, {2.5e7, 2, "2,5E7"}};
        for (const Case& c : cases)
            QCOMPARE(accuracy_texts::shortNumber(c.value, c.digits), QString(c.text));
        tavlix::SolverStatistics s;
        s.acceptedSteps = 1234;
        s.rejectedSteps = 12;
        s.smallestStep = 1.2e-4;
        QCOMPARE(accuracy_texts::summary(s), QString("1.234 skridt, 12 forkastet, mindste skridt 1,2E-4"));
    }

    // Pages from differential equations (all three here: the script has equations) show their statistics.
    void statusAndCommandFollowThePage()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = odeSettings("50", "0.00005");
        f.script(Logistic, &s);
        QVERIFY(!f.window->isCommandEnabled(Command::Accuracy));
        QVERIFY(f.run());
        const QRegularExpression summary("^\\d+ skridt, \\d+ forkastet, mindste skridt [0-9,E-]+$");
        QVERIFY2(summary.match(f.window->status(StatusField::Message)).hasMatch(),
                 qPrintable(f.window->status(StatusField::Message)));
        QVERIFY(f.window->isCommandEnabled(Command::Accuracy));
        f.window->activatePage(f.window->page(0));  // the script page
        QVERIFY(!f.window->isCommandEnabled(Command::Accuracy));
        QCOMPARE(f.window->status(StatusField::Message), QString());
        f.window->activatePage(f.window->page(1));  // the graph
        QVERIFY(f.window->isCommandEnabled(Command::Accuracy));

        f.script({"Funktioner", "  f = t^2", "TabelVariable", "  t, f"}, &s);
        QVERIFY(f.run());
        QVERIFY(!f.window->isCommandEnabled(Command::Accuracy));
        QCOMPARE(f.window->status(StatusField::Message), QString());
    }

    void dialogSaysWhatDecidedTheAccuracy()
    {
        struct Case {
            const char* tCount;
            const char* relTol;
            const char* verdict;
        };
        const Case cases[] = {{"200", "0.00005", "Tolerancerne afgjorde ikke"},
                              {"2", "1e-9", "Tolerancerne bestemte længden"}};
        for (const Case& c : cases) {
            MainWindowFixture f;
            tavlix::SettingsTexts s = odeSettings(c.tCount, c.relTol);
            f.script(Logistic, &s);
            QVERIFY(f.run());
            f.window->activatePage(f.window->page(2));  // the first table: t, y, f
            f.window->action(Command::Accuracy)->trigger();
            QVERIFY(f.waitIdle());
            AccuracyDialog& d = f.window->accuracyDialog();
            QVERIFY(d.isVisible());
            QVERIFY2(d.verdictLabel()->text().startsWith(c.verdict), qPrintable(d.verdictLabel()->text()));
            QCOMPARE(d.table()->rowCount(), 3);
            QCOMPARE(d.table()->item(1, 0)->text(), QString("y"));
            QCOMPARE(d.table()->item(0, 1)->text(), QString("–"));  // t has nothing to measure
            QVERIFY(d.table()->item(1, 1)->text() != "–");
            QCOMPARE(d.table()->item(1, 2)->text(), QString("1"));  // the range starts at the initial value
            QVERIFY(d.statisticsLabel()->text().startsWith("Skridt: "));
            QVERIFY(!f.window->running());
            d.hide();
        }
    }

    // A curve of a phase plane has a row per variable, each with its own range (u = cos t, v = -sin t).
    void phasePlaneShowsBothRanges()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = odeSettings("20", "1e-6");
        s[9] = "6";
        f.script({"DifferentialLigninger", "  u' = v   <1>", "  v' = -u   <0>", "GrafVariable", "  u, v, l1"}, &s);
        QVERIFY(f.run());
        f.window->action(Command::Accuracy)->trigger();
        QVERIFY(f.waitIdle());
        const QTableWidget* table = f.window->accuracyDialog().table();
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(0, 0)->text(), QString("u i (u, v)"));
        QCOMPARE(table->item(0, 2)->text(), QString("-0,99"));  // cos 3, the sampled point nearest pi
        QCOMPARE(table->item(0, 3)->text(), QString("1"));
        QCOMPARE(table->item(1, 0)->text(), QString("v i (u, v)"));
        QCOMPARE(table->item(1, 3)->text(), QString("0,9962"));  // -sin 4,8
        QVERIFY(table->item(1, 1)->text() != "–");
    }

    // A failed run is said to have failed, with its message: the page's own, or the reference's.
    void failedRunsAreNamed()
    {
        struct Case {
            const char* equation;
            const char* tCount;
            const char* verdict;
            int rows;
        };
        const Case cases[] = {
            {"  y' = y^2   <1>", "2", "Siden nåede ikke til ende: Beregningsusikkerhed for stor i 0,99999", 0},
            // ln of 0 at t = 1.25: a stage time of the reference's step of 5, none of the page's step of 10
            {"  y' = 1 + 0*ln((t - 1.25)^2)   <0>", "1",
             "Genberegningen nåede ikke til ende: y kan ikke udregnes i 1,25. Afvigelserne gælder kun punkterne indtil "
             "da.",
             2},
        };
        for (const Case& c : cases) {
            MainWindowFixture f;
            tavlix::SettingsTexts s = odeSettings(c.tCount, "0.00005");
            f.script({"DifferentialLigninger", c.equation, "TabelVariable", "  t, y"}, &s);
            QVERIFY(f.run());
            f.window->activatePage(f.window->page(1));
            f.window->action(Command::Accuracy)->trigger();
            QVERIFY(f.waitIdle());
            AccuracyDialog& d = f.window->accuracyDialog();
            QVERIFY2(d.verdictLabel()->text().contains(QString(c.verdict)), qPrintable(d.verdictLabel()->text()));
            QCOMPARE(d.table()->rowCount(), c.rows);
            d.hide();
        }
    }

    void referenceRunCanBeInterrupted()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = odeSettings("50", "0.00005");
        f.script({"DifferentialLigninger", "  y' = -y <1>", "TabelVariable", "  t, y"}, &s);
        QVERIFY(f.run());
        // A page whose run would take seconds to repeat: the measurement stops at the first pause after Escape.
        ResultOrigin origin = *f.window->activePage()->integration();
        s[10] = "3000000";
        origin.source = std::make_shared<RunSource>(RunSource{s, origin.source->lines, {}});
        f.window->activePage()->setIntegration(origin);
        AccuracyDialog& d = f.window->accuracyDialog();
        f.window->onAccuracy();
        QVERIFY(f.window->running());
        d.reject();  // Escape in the dialog while it measures
        QVERIFY(f.waitIdle());
        QVERIFY(d.isVisible());
        QVERIFY(d.verdictLabel()->text().startsWith("Beregningen blev afbrudt"));
        QCOMPARE(f.window->action(Command::Run)->text(), QString("&Kør"));  // no longer "Afbryd"
    }

    // An open dialog follows every run with a measurement; a close asked for during the run still closes.
    void closeDuringARunWithTheDialogOpen()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = odeSettings("50", "0.00005");
        ScriptPage* script = f.script({"DifferentialLigninger", "  y' = -y <1>", "TabelVariable", "  t, y"}, &s);
        QVERIFY(f.run());
        f.window->action(Command::Accuracy)->trigger();
        QVERIFY(f.waitIdle());
        QVERIFY(f.window->accuracyDialog().isVisible());
        script->settings()[10] = "5000000";
        f.window->onRun();
        QVERIFY(f.window->running());
        QVERIFY(!f.window->close());
        QVERIFY(f.waitIdle());
        QVERIFY(!f.window->isVisible());
    }

    // A slider moved while the dialog measures stops the measurement, and the document runs with the new value.
    void sliderMoveDuringAMeasurementRuns()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = odeSettings("50", "0.00005");
        f.script({"Konstanter", "  k = <0.5, 1>", "DifferentialLigninger", "  y' = -k*y <1>", "TabelVariable",
                  "  t, y"},
                 &s);
        QVERIFY(f.run());
        auto* table = qobject_cast<TablePage*>(f.window->activePage());
        QVERIFY(table);
        const QString before = table->cellText(1, 5);
        ResultOrigin origin = *table->integration();
        s[10] = "3000000";
        origin.source = std::make_shared<RunSource>(RunSource{s, origin.source->lines, {}});
        table->setIntegration(origin);
        f.window->onAccuracy();
        QVERIFY(f.window->running());
        f.window->parameterBar()->slider(0)->setValue(2);
        QVERIFY(f.waitIdle());
        QVERIFY(table->cellText(1, 5) != before);
        QCOMPARE(f.window->parameterBar()->valueLabel(0)->text(), QString("k = 1"));
        QCOMPARE(f.window->activePage(), static_cast<Page*>(table));
    }
};

QTEST_MAIN(TestAccuracy)
#include "AccuracyTest.moc"
