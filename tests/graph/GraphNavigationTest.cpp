// Moving about a graph: the wheel zooms about the pointer, Shift+wheel and the middle button pan, and each step
// can be taken back in order, a quick turn of the wheel as one.
#include "graph/GraphView.h"
#include "graph/ZoomHistory.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>

using tavlix::Setting;

namespace {

const tavlix::CoordinateSettings Defaults{{-5, 10, 1, 0, -5, 5, 1, 0, -5, 10, 200, 0, 0, 0.00005, 0, 0}};

struct Ranges {
    double xmin, xmax, ymin, ymax;
};

Ranges RangesOf(const GraphView& v)
{
    const ValueRect r = v.geometry().ranges();
    return {r.xmin, r.xmax, r.ymin, r.ymax};
}

bool Near(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

bool SameRanges(const Ranges& a, const Ranges& b)
{
    return Near(a.xmin, b.xmin) && Near(a.xmax, b.xmax) && Near(a.ymin, b.ymin) && Near(a.ymax, b.ymax);
}

// A view with a curve, begun on the default settings.
struct Fixture {
    tavlix::CurveList curves{1};
    GraphView view{760, 424};
    Fixture(const tavlix::CoordinateSettings& settings = Defaults)
    {
        curves[0].points = {{-5, -5, false}, {10, 5, false}};
        view.setCurves(&curves);
        view.beginOnScreen(settings);
        view.replay();
    }
};

}  // namespace

Q_DECLARE_METATYPE(Ranges)

class GraphNavigationTest : public QObject {
    Q_OBJECT
private slots:
    // Wheel notches less than 300 ms apart make one step back; anything else makes a step of its own.
    void historyCoalescesWheelBursts_data()
    {
        QTest::addColumn<QList<int>>("wheelAt");  // time of each change in ms; -1 a change by dragging
        QTest::addColumn<int>("steps");
        QTest::newRow("one notch") << QList<int>{0} << 1;
        QTest::newRow("a quick turn") << QList<int>{0, 100, 250, 500} << 1;
        QTest::newRow("two turns") << QList<int>{0, 100, 450} << 2;
        QTest::newRow("a drag parts two turns") << QList<int>{0, -1, 50} << 3;
        QTest::newRow("drags never merge") << QList<int>{-1, -1} << 2;
    }

    void historyCoalescesWheelBursts()
    {
        QFETCH(QList<int>, wheelAt);
        QFETCH(int, steps);
        ZoomHistory history;
        long long now = 0;
        for (int at : wheelAt) {
            now = at < 0 ? now : at;
            history.record({0, 1, 0, 1}, at < 0 ? ZoomHistory::Change::Other : ZoomHistory::Change::Wheel, now);
        }
        QCOMPARE(int(history.size()), steps);
        // After a step back the next notch starts a step of its own.
        history.stepBack();
        history.record({0, 1, 0, 1}, ZoomHistory::Change::Wheel, now);
        QCOMPARE(int(history.size()), steps);
    }

    void wheelZoomsAboutThePointer_data()
    {
        QTest::addColumn<int>("delta");  // in eighths of a degree, 120 a notch; positive zooms in
        QTest::addColumn<QPointF>("pointer");
        QTest::addColumn<double>("factor");
        QTest::newRow("a notch in") << 120 << QPointF(0, 0) << 0.9;
        QTest::newRow("three notches in") << 360 << QPointF(2, 1) << 0.729;
        QTest::newRow("a notch out") << -120 << QPointF(-3, 4) << 1 / 0.9;
        QTest::newRow("half a notch does nothing") << 60 << QPointF(0, 0) << 1.0;
        QTest::newRow("over the margin: about the edge") << 120 << QPointF(-8, 0) << 0.9;
    }

    void wheelZoomsAboutThePointer()
    {
        QFETCH(int, delta);
        QFETCH(QPointF, pointer);
        QFETCH(double, factor);
        Fixture f;
        const GraphGeometry& g = f.view.geometry();
        const int px = g.toPixelX(pointer.x()), py = g.toPixelY(pointer.y());
        // The value under the pointer, or the edge the pointer is beyond.
        const double ax = std::clamp(g.toValueX(px), -5.0, 10.0), ay = std::clamp(g.toValueY(py), -5.0, 5.0);
        f.view.handleWheel({0, delta}, {}, px, py);
        const Ranges r = RangesOf(f.view);
        QVERIFY(Near(r.xmax - r.xmin, 15 * factor));
        QVERIFY(Near(r.ymax - r.ymin, 10 * factor));
        // The anchor divides the range as it did before.
        QVERIFY(Near((ax - r.xmin) / (r.xmax - r.xmin), (ax + 5) / 15));
        QVERIFY(Near((ay - r.ymin) / (r.ymax - r.ymin), (ay + 5) / 10));
        QCOMPARE(f.view.canStepBack(), factor != 1.0);
        // Steps and anchors stay.
        QCOMPARE(f.view.view()[Setting::XTickStep], 1.0);
    }

    // Half notches add up; a zoom out to ranges beyond the doubles is refused and leaves nothing to step back to.
    void wheelLimits()
    {
        Fixture f;
        f.view.handleWheel({0, 60}, {}, 300, 200);
        QVERIFY(!f.view.canStepBack());
        f.view.handleWheel({0, 60}, {}, 300, 200);
        QVERIFY(f.view.canStepBack());
        tavlix::CoordinateSettings huge = Defaults;
        huge[Setting::Xmin] = -8e307;
        huge[Setting::Xmax] = 8e307;
        Fixture wide(huge);
        wide.view.handleWheel({0, -240}, {}, 300, 200);
        QCOMPARE(RangesOf(wide.view).xmax, 8e307);
        QVERIFY(!wide.view.canStepBack());
    }

    void panning_data()
    {
        QTest::addColumn<bool>("wheel");
        QTest::addColumn<QPoint>("delta");  // the wheel's angle delta, or the middle button's drag in pixels
        QTest::addColumn<Ranges>("expected");
        QTest::newRow("shift+wheel down moves right") << true << QPoint(0, -120) << Ranges{-3.5, 11.5, -5, 5};
        QTest::newRow("shift+wheel up moves left") << true << QPoint(0, 240) << Ranges{-8, 7, -5, 5};
        QTest::newRow("a tilted wheel") << true << QPoint(-120, 0) << Ranges{-3.5, 11.5, -5, 5};
        QTest::newRow("middle drag right and down") << false << QPoint(100, 50) << Ranges{};
    }

    void panning()
    {
        QFETCH(bool, wheel);
        QFETCH(QPoint, delta);
        QFETCH(Ranges, expected);
        Fixture f;
        GraphView& v = f.view;
        const Ranges before = RangesOf(v);
        if (wheel) {
            v.handleWheel(delta, delta.x() == 0 ? Qt::ShiftModifier : Qt::NoModifier, 300, 200);
        } else {
            // The value under the pointer where the drag began is under it where it ends.
            const double x0 = v.geometry().toValueX(300), y0 = v.geometry().toValueY(200);
            v.handlePress(Qt::MiddleButton, {}, 300, 200);
            v.handleMove({}, 300 + delta.x() / 2, 200 + delta.y() / 2);
            v.handleMove({}, 300 + delta.x(), 200 + delta.y());
            v.handleRelease(Qt::MiddleButton, {}, 300 + delta.x(), 200 + delta.y());
            QVERIFY(std::fabs(v.geometry().toValueX(300 + delta.x()) - x0) < 1e-9);
            QVERIFY(std::fabs(v.geometry().toValueY(200 + delta.y()) - y0) < 1e-9);
            const Ranges r = RangesOf(v);
            expected = {r.xmin, r.xmin + 15, r.ymin, r.ymin + 10};
            QVERIFY(r.xmin < -5 && r.ymin > -5);
        }
        QVERIFY(SameRanges(RangesOf(v), expected));
        // A pan is one step, however far the pointer went.
        QVERIFY(v.stepBack());
        QVERIFY(SameRanges(RangesOf(v), before));
        QVERIFY(!v.canStepBack());
    }

    // A middle click that does not move pans nothing and leaves nothing to step back to.
    void middleClickIsNoPan()
    {
        Fixture f;
        f.view.handlePress(Qt::MiddleButton, {}, 300, 200);
        f.view.handleRelease(Qt::MiddleButton, {}, 300, 200);
        QVERIFY(!f.view.canStepBack());
    }

    // Every drag zoom, wheel turn and pan is a step; stepping back shows the views before them, latest first.
    void stepBackOrder()
    {
        Fixture f;
        GraphView& v = f.view;
        QSignalSpy zoomed(&v, &GraphView::zoomed);
        std::vector<Ranges> seen{RangesOf(v)};
        v.zoom(0, 5, 0, 5);
        seen.push_back(RangesOf(v));
        for (int i = 0; i < 3; ++i)
            v.handleWheel({0, 120}, {}, 300, 200);
        seen.push_back(RangesOf(v));
        v.handlePress(Qt::MiddleButton, {}, 300, 200);
        v.handleMove({}, 350, 220);
        v.handleRelease(Qt::MiddleButton, {}, 350, 220);
        QCOMPARE(zoomed.size(), 5);
        for (auto it = seen.rbegin(); it != seen.rend(); ++it) {
            QVERIFY(v.stepBack());
            QVERIFY(SameRanges(RangesOf(v), *it));
        }
        QVERIFY(!v.stepBack());
        QCOMPARE(zoomed.size(), 8);
        // The picture shows the view it says: the first step's axes again.
        GraphView fresh(760, 424);
        fresh.setCurves(&f.curves);
        fresh.beginOnScreen(Defaults);
        fresh.replay();
        QCOMPARE(v.picture(), fresh.picture());
    }
};

QTEST_MAIN(GraphNavigationTest)
#include "GraphNavigationTest.moc"
