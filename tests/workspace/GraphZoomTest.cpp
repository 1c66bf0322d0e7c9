// A zoomed graph page in the window: its curves over t computed anew for the view, at least one point per two
// pixels and on the true curve, marks left at the run's points, axis steps that fit the view, and "Zoom tilbage"
// giving back the run's picture exactly.
#include "MainWindowFixture.h"

#include "graph/GraphGeometry.h"
#include "graph/GraphView.h"
#include "workspace/GraphPage.h"

#include <cmath>
#include <functional>

using tavlix::Setting;

namespace {

// Xmin, Xmax, XEnhed, YCross, YMin, YMax, YEnhed, XCross, TMin, TMax, TAntal.
tavlix::SettingsTexts settings(const char* const (&values)[11])
{
    tavlix::SettingsTexts s = tavlix::defaultSettings();
    for (int i = 0; i < 11; ++i)
        s[static_cast<std::size_t>(i)] = values[i];
    return s;
}

}  // namespace

class TestGraphZoom : public QObject {
    Q_OBJECT
private slots:
    void zoomComputesTheCurvesAnew()
    {
        struct Case {
            const char* name;
            QStringList script;
            tavlix::SettingsTexts settings;
            double zoomFrom, zoomTo;
            std::function<double(double)> exact;
            double tolerance;
            double tickStep;  // the fitted step of the zoomed x axis
        };
        const Case cases[] = {
            {"function",
             {"Funktioner", "  f = sin(t)", "GrafVariable", "  t, f, l1"},
             settings({"0", "10", "1", "0", "-1.5", "1.5", "0.5", "0", "0", "10", "20"}),
             2,
             3,
             [](double t) { return std::sin(t); },
             1e-15,
             0.2},
            {"equation from TMin",
             {"DifferentialLigninger", "  y' = y   <1>", "GrafVariable", "  t, y, l1"},
             settings({"0", "2", "1", "0", "0", "8", "1", "0", "0", "2", "10"}),
             1.5,
             1.8,
             [](double t) { return std::exp(t); },
             1e-3,
             0.05},
        };
        for (const Case& c : cases) {
            MainWindowFixture f;
            GraphPage* graph = f.runToGraph(c.script, c.settings);
            QVERIFY2(graph, c.name);
            const tavlix::CurveList run = graph->curves();
            const GraphGeometry& g = graph->view().geometry();
            const double runStep = g.view()[Setting::XTickStep];
            const double y0 = g.view()[Setting::Ymin], y1 = g.view()[Setting::Ymax];
            graph->view().zoom(c.zoomFrom, c.zoomTo, y0, y1);
            QTRY_VERIFY2(graph->showsResampledCurves(), c.name);
            const double twoPixels = g.toValueX(2) - g.toValueX(0);
            const std::vector<tavlix::CurvePoint>& points = graph->curves()[0].points;
            QVERIFY2(points.front().x <= c.zoomFrom && points.back().x >= c.zoomTo, c.name);
            for (std::size_t i = 0; i < points.size(); ++i) {
                QVERIFY2(std::fabs(points[i].y - c.exact(points[i].x)) <= c.tolerance, c.name);
                if (i > 0)
                    QVERIFY2(points[i].x - points[i - 1].x <= twoPixels * (1 + 1e-9), c.name);
            }
            // One number for each whole of the document's step: the view's step shows 5 to 10.
            QCOMPARE(g.view()[Setting::XTickStep], c.tickStep);
            const auto ticks = GraphGeometry::axisValues(0, c.tickStep, c.zoomFrom, c.zoomTo, true).size();
            QVERIFY2(ticks >= 5 && ticks <= 10, c.name);
            QVERIFY(graph->view().stepBack());
            QTRY_VERIFY2(!graph->showsResampledCurves(), c.name);
            QCOMPARE(graph->curves()[0].points.size(), run[0].points.size());
            for (std::size_t i = 0; i < run[0].points.size(); ++i)
                QCOMPARE(graph->curves()[0].points[i].y, run[0].points[i].y);
            QCOMPARE(g.view()[Setting::XTickStep], runStep);
        }
    }

    void marksStayAtTheRunsPoints()
    {
        MainWindowFixture f;
        GraphPage* graph = f.runToGraph({"Funktioner", "  f = t*t", "GrafVariable", "  t, f, m1", "  t, f, l1"},
                                        settings({"0", "10", "1", "0", "0", "100", "10", "0", "0", "10", "10"}));
        QVERIFY(graph);
        const std::size_t marks = graph->curves()[0].points.size();
        graph->view().zoom(2, 4, 0, 20);
        QTRY_VERIFY(graph->showsResampledCurves());
        QCOMPARE(graph->curves()[0].points.size(), marks);
        QVERIFY(graph->curves()[1].points.size() > 100);
    }
};

QTEST_MAIN(TestGraphZoom)
#include "GraphZoomTest.moc"
