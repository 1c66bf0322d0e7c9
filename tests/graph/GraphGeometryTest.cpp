// Graph geometry without any widget: value-pixel mapping, tick and grid walks, clipping.
#include "graph/GraphGeometry.h"
#include "support/FormatNumber.h"

#include <QPointF>
#include <QtTest>

#include <cmath>

using tavlix::Setting;

namespace {

const tavlix::CoordinateSettings Defaults{{-5, 10, 1, 0, -5, 5, 1, 0, -5, 10, 200, 0, 0, 0.00005, 0, 0}};

// Geometry that does not depend on a font: M = 10, D = 12, plot 700 by 400 pixels.
GraphGeometry Plot()
{
    GraphGeometry g;
    g.setView(Defaults);
    g.setCharSize(10, 12);
    g.setPlotArea({0, 0, 760, 424});
    g.resetClipToView();
    return g;
}

using Values = QList<double>;

}  // namespace

class GraphGeometryTest : public QObject {
    Q_OBJECT
private slots:
    void mapping_data()
    {
        QTest::addColumn<double>("xmin");
        QTest::addColumn<double>("xmax");
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");  // the same value and range on the y axis
        QTest::newRow("Xmin at the left edge of the plot") << -5.0 << 10.0 << -5.0 << 60 << 400;
        QTest::newRow("Xmax at the right end") << -5.0 << 10.0 << 10.0 << 760 << 0;
        QTest::newRow("origin") << -5.0 << 10.0 << 0.0 << 293 << 267;
        QTest::newRow("half rounds to even, down") << 0.0 << 1400.0 << 1.0 << 60 << 400;
        QTest::newRow("half rounds to even, up") << 0.0 << 1400.0 << 3.0 << 62 << 399;
        QTest::newRow("outside to the left") << -5.0 << 10.0 << -20.0 << -640 << 800;
    }

    void mapping()
    {
        QFETCH(double, xmin);
        QFETCH(double, xmax);
        QFETCH(double, x);
        QFETCH(int, column);
        QFETCH(int, row);
        GraphGeometry g = Plot();
        // Rows: Ymin at the top of the bottom margin, Ymax at the top.
        g.setRanges(xmin, xmax, xmin, xmax);
        QCOMPARE(g.toPixelX(x), column);
        QCOMPARE(g.toPixelY(x), row);
    }

    void roundTrip()
    {
        const GraphGeometry g = Plot();
        QCOMPARE(g.toValueX(60), -5.0);
        QCOMPARE(g.toValueX(760), 10.0);
        QCOMPARE(g.toValueY(400), -5.0);
        QCOMPARE(g.toValueY(0), 5.0);
        for (int c = 60; c <= 760; c += 37)
            QCOMPARE(g.toPixelX(g.toValueX(c)), c);
        for (int r = 0; r <= 400; r += 23)
            QCOMPARE(g.toPixelY(g.toValueY(r)), r);
    }

    void usableRanges_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("usable");
        QTest::newRow("defaults") << int(Setting::Xmax) << 10.0 << true;
        QTest::newRow("Xmax = Xmin") << int(Setting::Xmax) << -5.0 << false;
        QTest::newRow("Ymax = Ymin") << int(Setting::Ymax) << -5.0 << false;
        QTest::newRow("Xmax below Xmin") << int(Setting::Xmax) << -6.0 << false;
        QTest::newRow("infinite range") << int(Setting::Xmax) << HUGE_VAL << false;
        QTest::newRow("undefined end") << int(Setting::Ymin) << qQNaN() << false;
    }

    void usableRanges()
    {
        QFETCH(int, setting);
        QFETCH(double, value);
        QFETCH(bool, usable);
        GraphGeometry g = Plot();
        g.view()[static_cast<Setting>(setting)] = value;
        QCOMPARE(g.rangesUsable(), usable);
        QCOMPARE(g.insideView(0, 0), usable);
    }

    // A clicked point is rounded to the pixel it stands for, never further.
    void roundedToPixel_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("pixel");
        QTest::addColumn<double>("expected");
        QTest::newRow("near zero, pixel 0.0072: step 0.005") << -0.001206 << 0.0072 << 0.0;
        QTest::newRow("1.6 stays") << 1.6003 << 0.005 << 1.6;
        QTest::newRow("pixel 0.03: step 0.02") << 0.7973 << 0.03 << 0.8;
        QTest::newRow("large pixels: step 50") << 1234.0 << 70.0 << 1250.0;
        QTest::newRow("no pixel size") << 0.1234 << 0.0 << 0.1234;
        QTest::newRow("undefined pixel size") << 0.1234 << qQNaN() << 0.1234;
        QTest::newRow("huge value keeps itself") << 1e308 << 1e-300 << 1e308;
    }

    void roundedToPixel()
    {
        QFETCH(double, value);
        QFETCH(double, pixel);
        QFETCH(double, expected);
        const double rounded = GraphGeometry::roundedToPixel(value, pixel);
        QVERIFY2(qAbs(rounded - expected) <= 1e-12 * qMax(1.0, qAbs(expected)),
                 qPrintable(QString::number(rounded, 'g', 17)));
        QVERIFY(!(pixel > 0) || qAbs(rounded - value) <= pixel);
    }

    void walks_data()
    {
        QTest::addColumn<double>("anchor");
        QTest::addColumn<double>("step");
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<bool>("ticks");
        QTest::addColumn<Values>("expected");
        Values all;
        for (int v = -5; v <= 10; ++v)
            all << v;
        QTest::newRow("default x ticks") << 0.0 << 1.0 << -5.0 << 10.0 << true << all;
        QTest::newRow("default y ticks") << 0.0 << 1.0 << -5.0 << 5.0 << true << all.mid(0, 11);
        QTest::newRow("step 2 ticks include both ends")
            << 0.0 << 2.0 << 0.0 << 10.0 << true << Values{0, 2, 4, 6, 8, 10};
        QTest::newRow("grid never on the ends") << 0.0 << 2.0 << 0.0 << 10.0 << false << Values{2, 4, 6, 8};
        QTest::newRow("ticks inside a fractional range") << 0.0 << 1.0 << 2.3 << 4.7 << true << Values{3, 4};
        QTest::newRow("grid inside a fractional range") << 0.0 << 1.0 << 2.3 << 4.7 << false << Values{3, 4};
        QTest::newRow("anchor far above") << 1000.0 << 1.0 << -5.0 << 10.0 << true << all;
        QTest::newRow("anchor far below") << -1000.0 << 1.0 << -5.0 << 10.0 << true << all;
        QTest::newRow("zoom between two ticks") << 0.0 << 1.0 << 2.2 << 2.8 << true << Values{};
        QTest::newRow("step 0 leaves the axis bare") << 0.0 << 0.0 << -5.0 << 10.0 << true << Values{};
        QTest::newRow("negative step leaves the axis bare") << 0.0 << -1.0 << -5.0 << 10.0 << true << Values{};
    }

    void walks()
    {
        QFETCH(double, anchor);
        QFETCH(double, step);
        QFETCH(double, lo);
        QFETCH(double, hi);
        QFETCH(bool, ticks);
        QFETCH(Values, expected);
        const std::vector<double> got = GraphGeometry::axisValues(anchor, step, lo, hi, ticks);
        QCOMPARE(Values(got.begin(), got.end()), expected);
    }

    void walkMultiplies_data()
    {
        QTest::addColumn<double>("anchor");
        QTest::addColumn<double>("step");
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        // A running sum reached -2,8E-0017 at the origin and 0,9999999999999999 at the end.
        QTest::newRow("origin of a tenth step") << 0.0 << 0.1 << -1.0 << 1.0 << 10 << QStringLiteral("0");
        QTest::newRow("end of a tenth step") << 0.0 << 0.1 << -1.0 << 1.0 << 20 << QStringLiteral("1");
        QTest::newRow("origin from an anchor off it") << 0.3 << 0.1 << -1.0 << 1.0 << 10 << QStringLiteral("0");
        QTest::newRow("origin of a third step") << 1.0 << 1.0 / 3 << -1.0 << 1.0 << 3 << QStringLiteral("0");
        QTest::newRow("far anchor keeps its lattice") << 1e20 + 0.0 << 1.0 << -5.0 << 10.0 << 5 << QStringLiteral("0");
    }

    void walkMultiplies()
    {
        QFETCH(double, anchor);
        QFETCH(double, step);
        QFETCH(double, lo);
        QFETCH(double, hi);
        QFETCH(int, index);
        QFETCH(QString, text);
        const std::vector<double> v = GraphGeometry::axisValues(anchor, step, lo, hi, true);
        QVERIFY(index < int(v.size()));
        QCOMPARE(QString::fromStdString(tavlix::formatNumber(6, v[size_t(index)])), text);
        if (text == QStringLiteral("0"))
            QVERIFY(!std::signbit(v[size_t(index)]));
    }

    void fittingStep_data()
    {
        QTest::addColumn<double>("step");
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<double>("expected");
        QTest::newRow("document step fits") << 1.0 << -5.0 << 5.0 << 1.0;
        QTest::newRow("four numbers still fit") << 1.0 << 0.0 << 3.0 << 1.0;
        QTest::newRow("twenty numbers still fit") << 1.0 << 0.0 << 19.0 << 1.0;
        QTest::newRow("one number after a zoom") << 1.0 << 2.1 << 3.4 << 0.2;
        QTest::newRow("too many after zooming out") << 0.1 << -50.0 << 50.0 << 20.0;
        QTest::newRow("no document step") << 0.0 << 0.0 << 7.0 << 1.0;
        QTest::newRow("tiny range") << 1.0 << 1e-7 << 5e-7 << 5e-8;
    }

    void fittingStep()
    {
        QFETCH(double, step);
        QFETCH(double, lo);
        QFETCH(double, hi);
        QFETCH(double, expected);
        const double got = GraphGeometry::fittingStep(step, 0, lo, hi);
        QCOMPARE(got, expected);
        const size_t n = GraphGeometry::axisValues(0, got, lo, hi, true).size();
        QVERIFY(n >= size_t(GraphGeometry::MinAxisNumbers) && n <= size_t(GraphGeometry::MaxAxisNumbers));
    }

    void walkBounded_data()
    {
        QTest::addColumn<double>("anchor");
        QTest::addColumn<double>("step");
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("first");
        QTest::newRow("anchor a billion steps away") << 1e9 << 1.0 << -5.0 << 10.0 << 16 << -5.0;
        QTest::newRow("anchor where the step is lost") << 1e20 << 1.0 << -5.0 << 10.0 << 16 << -5.0;
        QTest::newRow("anchor far below, grid step") << -1e12 << 0.5 << 0.0 << 2.0 << 5 << 0.0;
        QTest::newRow("step tiny against the range") << 0.0 << 1e-9 << -5.0 << 10.0 << 0 << 0.0;
        QTest::newRow("range where the step is lost") << 0.0 << 1.0 << 1e17 << 1e17 + 64 << 0 << 0.0;
    }

    void walkBounded()
    {
        QFETCH(double, anchor);
        QFETCH(double, step);
        QFETCH(double, lo);
        QFETCH(double, hi);
        QFETCH(int, count);
        QFETCH(double, first);
        const std::vector<double> v = GraphGeometry::axisValues(anchor, step, lo, hi, true);
        QCOMPARE(int(v.size()), count);
        if (count > 0)
            QCOMPARE(v.front(), first);
        QVERIFY(v.size() <= size_t(GraphGeometry::MaxAxisValues));
    }

    void clipping_data()
    {
        QTest::addColumn<QPointF>("p0");
        QTest::addColumn<QPointF>("p1");
        QTest::addColumn<bool>("drawn");
        QTest::addColumn<QPointF>("q0");
        QTest::addColumn<QPointF>("q1");
        QTest::newRow("inside") << QPointF(0, 0) << QPointF(1, 1) << true << QPointF(0, 0) << QPointF(1, 1);
        QTest::newRow("both outside across the plot")
            << QPointF(-10, 0) << QPointF(20, 0) << false << QPointF() << QPointF();
        QTest::newRow("leaves on the right")
            << QPointF(0, 0) << QPointF(20, 0) << true << QPointF(0, 0) << QPointF(10, 0);
        QTest::newRow("enters from the left")
            << QPointF(-10, 2) << QPointF(0, 0) << true << QPointF(-5, 1) << QPointF(0, 0);
        QTest::newRow("leaves at the top") << QPointF(0, 0) << QPointF(0, 10) << true << QPointF(0, 0) << QPointF(0, 5);
        QTest::newRow("leaves at the bottom")
            << QPointF(2, 0) << QPointF(4, -10) << true << QPointF(2, 0) << QPointF(3, -5);
        QTest::newRow("through a corner region")
            << QPointF(0, 0) << QPointF(20, 20) << true << QPointF(0, 0) << QPointF(5, 5);
        QTest::newRow("an undefined end draws nothing")
            << QPointF(0, 0) << QPointF(qQNaN(), 1) << false << QPointF() << QPointF();
        QTest::newRow("an infinite end is clipped")
            << QPointF(0, 0) << QPointF(qInf(), 0) << true << QPointF(0, 0) << QPointF(10, 0);
        QTest::newRow("on the edge counts as inside")
            << QPointF(-5, -5) << QPointF(10, 5) << true << QPointF(-5, -5) << QPointF(10, 5);
    }

    void clipping()
    {
        QFETCH(QPointF, p0);
        QFETCH(QPointF, p1);
        QFETCH(bool, drawn);
        QFETCH(QPointF, q0);
        QFETCH(QPointF, q1);
        const GraphGeometry g = Plot();
        double x0 = p0.x(), y0 = p0.y(), x1 = p1.x(), y1 = p1.y();
        QCOMPARE(g.clipStep(x0, y0, x1, y1), drawn);
        if (drawn) {
            QCOMPARE(QPointF(x0, y0), q0);
            QCOMPARE(QPointF(x1, y1), q1);
        }
    }

    void clipFollowsTheViewWhenReset()
    {
        GraphGeometry g = Plot();
        g.setRanges(0, 1, 0, 1);
        QCOMPARE(g.clip().xmax, 10.0);
        g.resetClipToView();
        QCOMPARE(g.clip().xmax, 1.0);
        QCOMPARE(g.clip().ymin, 0.0);
    }
};

QTEST_GUILESS_MAIN(GraphGeometryTest)
#include "GraphGeometryTest.moc"
