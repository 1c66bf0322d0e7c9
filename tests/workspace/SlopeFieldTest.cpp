// Hældningsfelt and Løsning gennem punkt in the window: when the commands are offered, the field on the picture
// and in the copy, and solutions drawn by a click, named in the legend and removed again.
#include "MainWindowFixture.h"

#include "graph/GraphView.h"
#include "workspace/GraphPage.h"

#include <QAction>

namespace {

tavlix::SettingsTexts logisticSettings()
{
    tavlix::SettingsTexts s = tavlix::defaultSettings();
    const char* values[] = {"-1", "5", "1", "0", "-0.5", "2", "0.5", "0", "0", "5", "50", "0", "0", "0.00001"};
    for (int i = 0; i < 14; ++i)
        s[static_cast<std::size_t>(i)] = values[i];
    return s;
}

const QStringList Logistic = {"DifferentialLigninger", "  y' = y*(1 - y)   <0.1>", "GrafVariable", "  t, y, l1"};

GraphPage* runToGraph(MainWindowFixture& f, const QStringList& script)
{
    return f.runToGraph(script, logisticSettings());
}

}  // namespace

class TestSlopeField : public QObject {
    Q_OBJECT
private slots:
    void commandsFollowTheEquations()
    {
        struct Case {
            QStringList script;
            bool offered;
        };
        const Case cases[] = {
            {Logistic, true},
            {{"DifferentialLigninger", "  x' = -y <1>", "  y' = x <0>", "GrafVariable", "  x, y, l1"}, true},
            {{"DifferentialLigninger", "  x' = -y <1>", "  y' = x <0>", "GrafVariable", "  t, x, l1"}, false},
            {{"Funktioner", "  f = t^2", "GrafVariable", "  t, f, l1"}, false},
        };
        for (const Case& c : cases) {
            MainWindowFixture f;
            QVERIFY(runToGraph(f, c.script));
            QCOMPARE(f.window->isCommandEnabled(Command::SlopeField), c.offered);
            QCOMPARE(f.window->isCommandEnabled(Command::SolveThrough), c.offered);
            QCOMPARE(f.window->action(Command::SlopeField)->isChecked(), false);  // off by default
            // An unavailable field says why; an available one shows the command's own tip.
            QCOMPARE(f.window->action(Command::SlopeField)->statusTip().isEmpty(), c.offered);
        }
    }

    void fieldIsDrawnUnderTheCurvesAndCopied()
    {
        MainWindowFixture f;
        GraphPage* graph = runToGraph(f, Logistic);
        QVERIFY(graph);
        graph->view().redraw();  // as a redraw shows it, not as the run drew it step by step
        const QImage without = graph->view().picture().copy();
        const QByteArray svgWithout = graph->copySvg();
        f.window->action(Command::SlopeField)->trigger();
        QVERIFY(graph->fieldShown());
        QVERIFY(graph->view().picture() != without);
        QVERIFY(graph->copySvg().size() > svgWithout.size() + 1000);  // some hundred elements more
        f.window->action(Command::SlopeField)->trigger();
        QVERIFY(!graph->fieldShown());
        QCOMPARE(graph->view().picture(), without);
    }

    void clickDrawsSolutionThatCanBeRemoved()
    {
        MainWindowFixture f;
        GraphPage* graph = runToGraph(f, Logistic);
        QVERIFY(graph);
        const auto runCurves = graph->curves().size();
        f.window->action(Command::SolveThrough)->trigger();
        QVERIFY(graph->solutionToolArmed());
        const GraphGeometry& g = graph->view().geometry();
        graph->view().handlePress(Qt::LeftButton, {}, g.toPixelX(1), g.toPixelY(0.5));
        QVERIFY(!graph->solutionToolArmed());
        QCOMPARE(graph->curves().size(), runCurves + 1);
        const tavlix::Curve& solution = graph->curves().back();
        QVERIFY(solution.origin == tavlix::CurveOrigin::Solution);
        QVERIFY2(QString::fromStdString(solution.name).startsWith("gennem ("), solution.name.c_str());
        QCOMPARE(solution.style, tavlix::CurveStyle::Line2);                     // the run's curve has l1
        QVERIFY(solution.points.front().x < 0 && solution.points.back().x > 4);  // backwards and forwards
        // The next click zooms again rather than drawing a second solution.
        graph->view().handlePress(Qt::LeftButton, {}, g.toPixelX(2), g.toPixelY(0.5));
        graph->view().handleRelease(Qt::LeftButton, {}, g.toPixelX(2), g.toPixelY(0.5));
        QCOMPARE(graph->curves().size(), runCurves + 1);
        graph->removeSolution(0);  // the run's own curve stays
        QCOMPARE(graph->curves().size(), runCurves + 1);
        graph->removeSolution(static_cast<int>(runCurves));
        QCOMPARE(graph->curves().size(), runCurves);
    }
};

QTEST_MAIN(TestSlopeField)
#include "SlopeFieldTest.moc"
