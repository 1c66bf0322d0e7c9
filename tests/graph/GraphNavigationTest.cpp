// Moving about a graph: the wheel zooms about the pointer, Shift+wheel and the middle button pan, and each step
// can be taken back in order, a quick turn of the wheel as one.
#include "graph/GraphView.h"
#include "graph/ZoomHistory.h"

#include <QtTest>

#include <cmath>

namespace {

const tavlix::CoordinateSettings Defaults{{-5, 10, 1, 0, -5, 5, 1, 0, -5, 10, 200, 0, 0, 0.00005, 0, 0}};

bool Near(const ValueRect& a, const ValueRect& b)
{
    const auto near = [](double p, double q) { return std::fabs(p - q) <= 1e-9 * std::max(1.0, std::fabs(p)); };
    return near(a.xmin, b.xmin) && near(a.xmax, b.xmax) && near(a.ymin, b.ymin) && near(a.ymax, b.ymax);
}

}  // namespace

class GraphNavigationTest : public QObject {
    Q_OBJECT
private slots:
    // n notches scale both ranges by 0.9^n about the value under the pointer (or the edge it is beyond).
    void wheelZoomsAboutThePointer_data()
    {
        QTest::addColumn<int>("delta");  // eighths of a degree, 120 a notch; positive zooms in
        QTest::addColumn<QPointF>("pointer");
        QTest::addColumn<int>("notches");
        QTest::newRow("a notch in") << 120 << QPointF(0, 0) << 1;
        QTest::newRow("three notches in") << 360 << QPointF(2, 1) << 3;
        QTest::newRow("a notch out") << -120 << QPointF(-3, 4) << -1;
        QTest::newRow("half a notch does nothing") << 60 << QPointF(0, 0) << 0;
        QTest::newRow("over the margin: about the edge") << 120 << QPointF(-8, 0) << 1;
    }

    void wheelZoomsAboutThePointer()
    {
        QFETCH(int, delta);
        QFETCH(QPointF, pointer);
        QFETCH(int, notches);
        GraphView v(760, 424);
        v.beginOnScreen(Defaults);
        const GraphGeometry& g = v.geometry();
        const int px = g.toPixelX(pointer.x()), py = g.toPixelY(pointer.y());
        const double ax = std::clamp(g.toValueX(px), -5.0, 10.0), ay = std::clamp(g.toValueY(py), -5.0, 5.0);
        v.handleWheel({0, delta}, {}, px, py);
        const double f = std::pow(0.9, notches);
        QVERIFY(Near(g.ranges(), {ax - (ax + 5) * f, ax + (10 - ax) * f, ay - (ay + 5) * f, ay + (5 - ay) * f}));
        QCOMPARE(v.canStepBack(), notches != 0);
    }

    void panning_data()
    {
        QTest::addColumn<bool>("wheel");
        QTest::addColumn<QPoint>("delta");  // the wheel's angle delta, or the middle button's drag in pixels
        QTest::addColumn<double>("dx");     // how far the view moves, in x ranges
        QTest::newRow("shift+wheel down moves right") << true << QPoint(0, -120) << 0.1;
        QTest::newRow("shift+wheel up moves left") << true << QPoint(0, 240) << -0.2;
        QTest::newRow("a tilted wheel") << true << QPoint(-120, 0) << 0.1;
        QTest::newRow("middle drag") << false << QPoint(100, 50) << 0.0;
        QTest::newRow("middle click") << false << QPoint(0, 0) << 0.0;
    }

    void panning()
    {
        QFETCH(bool, wheel);
        QFETCH(QPoint, delta);
        QFETCH(double, dx);
        GraphView v(760, 424);
        v.beginOnScreen(Defaults);
        const GraphGeometry& g = v.geometry();
        ValueRect expected{-5 + 15 * dx, 10 + 15 * dx, -5, 5};
        if (wheel) {
            v.handleWheel(delta, delta.x() == 0 ? Qt::ShiftModifier : Qt::NoModifier, 300, 200);
        } else {
            // The value under the pointer where the drag began is under it where it ends.
            const double mx = g.toValueX(300) - g.toValueX(300 + delta.x());
            const double my = g.toValueY(200) - g.toValueY(200 + delta.y());
            expected = {-5 + mx, 10 + mx, -5 + my, 5 + my};
            v.handlePress(Qt::MiddleButton, {}, 300, 200);
            v.handleMove({}, 300 + delta.x() / 2, 200 + delta.y() / 2);
            v.handleMove({}, 300 + delta.x(), 200 + delta.y());
            v.handleRelease(Qt::MiddleButton, {}, 300 + delta.x(), 200 + delta.y());
        }
        QVERIFY(Near(g.ranges(), expected));
        // A pan is one step however far it went; a click is none.
        QCOMPARE(v.stepBack(), delta != QPoint());
        QVERIFY(Near(g.ranges(), {-5, 10, -5, 5}));
        QVERIFY(!v.canStepBack());
    }

    // Notches at most 300 ms apart are one step; a pause starts another.
    void wheelBurstsEndAfterAPause()
    {
        ZoomHistory history;
        for (long long at : {0, 100, 390, 800})
            history.record({0, 1, 0, 1}, ZoomHistory::Change::Wheel, at);
        QCOMPARE(history.size(), size_t(2));
    }

    // A drag zoom, a quick turn of three notches and a pan are three steps, taken back latest first, and the
    // picture shows the view it says.
    void stepBackOrder()
    {
        tavlix::CurveList curves(1);
        curves[0].points = {{-5, -5, false}, {10, 5, false}};
        GraphView v(760, 424);
        v.setCurves(&curves);
        v.beginOnScreen(Defaults);
        v.replay();
        const QImage first = v.picture().copy();
        std::vector<ValueRect> seen{v.geometry().ranges()};
        v.zoom(0, 5, 0, 5);
        seen.push_back(v.geometry().ranges());
        for (int i = 0; i < 3; ++i)
            v.handleWheel({0, 120}, {}, 300, 200);
        seen.push_back(v.geometry().ranges());
        v.handlePress(Qt::MiddleButton, {}, 300, 200);
        v.handleMove({}, 350, 220);
        v.handleRelease(Qt::MiddleButton, {}, 350, 220);
        for (auto it = seen.rbegin(); it != seen.rend(); ++it) {
            QVERIFY(v.stepBack());
            QVERIFY(Near(v.geometry().ranges(), *it));
        }
        QVERIFY(!v.stepBack());
        QCOMPARE(v.picture(), first);
    }
};

QTEST_MAIN(GraphNavigationTest)
#include "GraphNavigationTest.moc"
