// The drawing surface: value-pixel mapping, tick and grid walks, clipping, pens and marks.
#include "graph/TGraf.h"
#include "support/FormatNumber.h"

#include <QApplication>
#include <QPainter>
#include <QtTest>

#include <cmath>

namespace {

const double Defaults[16] = {-5, 10, 1, 0, -5, 5, 1, 0, -5, 10, 200, 0, 0, 0.00005, 0, 0};

// A surface whose geometry does not depend on the font: M = 10, D = 12, plot 700 by 400 pixels.
struct Surface {
    TGraf graf{760, 424};
    explicit Surface(const double (&settings)[16] = Defaults)
    {
        std::copy(settings, settings + 16, graf.Settings);
        graf.PrepareScreen(graf.ScreenCanvas());
        graf.charW = 10;
        graf.charH = 12;
        graf.areaLeft = 0;
        graf.areaTop = 0;
        graf.areaW = 760;
        graf.areaH = 424;
        graf.minmax();
    }
    QColor At(int x, int y) { return graf.Picture().pixelColor(x, y); }
    int Count(const QColor& colour)
    {
        int n = 0;
        const QImage& p = graf.Picture();
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                n += p.pixelColor(x, y) == colour;
        return n;
    }
};

using Values = QList<double>;

}  // namespace

class TGrafTest : public QObject {
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
        Surface s;
        s.graf.Settings[TGraf::iXmin] = xmin;
        s.graf.Settings[TGraf::iXmax] = xmax;
        QCOMPARE(s.graf.xCalc(x), column);
        // Rows: YMin at the top of the bottom margin, YMax at the top.
        s.graf.Settings[TGraf::iYMin] = xmin;
        s.graf.Settings[TGraf::iYMax] = xmax;
        QCOMPARE(s.graf.yCalc(x), row);
    }

    void roundTrip()
    {
        Surface s;
        QCOMPARE(s.graf.xTal(60), -5.0);
        QCOMPARE(s.graf.xTal(760), 10.0);
        QCOMPARE(s.graf.yTal(400), -5.0);
        QCOMPARE(s.graf.yTal(0), 5.0);
        for (int c = 60; c <= 760; c += 37)
            QCOMPARE(s.graf.xCalc(s.graf.xTal(c)), c);
        for (int r = 0; r <= 400; r += 23)
            QCOMPARE(s.graf.yCalc(s.graf.yTal(r)), r);
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
        QTest::newRow("step 2 ticks include both ends") << 0.0 << 2.0 << 0.0 << 10.0 << true
                                                         << Values{0, 2, 4, 6, 8, 10};
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
        const std::vector<double> got = TGraf::AxisWalk(anchor, step, lo, hi, ticks);
        QCOMPARE(Values(got.begin(), got.end()), expected);
    }

    void walkAccumulates()
    {
        // The numbers show the values the repeated additions reach, not rounded ones.
        const std::vector<double> v = TGraf::AxisWalk(0, 0.1, -1, 1, true);
        QCOMPARE(v.size(), size_t(21));
        QCOMPARE(v[10], -2.7755575615628914e-17);
        QCOMPARE(QString::fromStdString(tavlix::formatNumber(6, v[10])), QStringLiteral("-2,8E-0017"));
        QCOMPARE(v[20], 0.9999999999999999);
        QCOMPARE(QString::fromStdString(tavlix::formatNumber(6, v[20])), QStringLiteral("1"));
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
        const std::vector<double> v = TGraf::AxisWalk(anchor, step, lo, hi, true);
        QCOMPARE(int(v.size()), count);
        if (count > 0)
            QCOMPARE(v.front(), first);
        QVERIFY(v.size() <= size_t(TGraf::MaxAxisValues));
    }

    void coordinateSystemOnThePicture()
    {
        double settings[16];
        std::copy(Defaults, Defaults + 16, settings);
        settings[TGraf::iXGitter] = 2;
        settings[TGraf::iYGitter] = 2.5;
        Surface s(settings);
        s.graf.LavKoord();
        const QColor black(Qt::black), silver(192, 192, 192);
        const int a = s.graf.xCalc(-5), c = s.graf.yCalc(-5);
        // Axes along the bottom and the left edge, whatever the anchors.
        QCOMPARE(s.At(s.graf.xCalc(3), c), black);
        QCOMPARE(s.At(a, s.graf.yCalc(3)), black);
        // A tick under every whole x and left of every whole y.
        for (int q = -5; q <= 9; ++q)
            QCOMPARE(s.At(s.graf.xCalc(q), c + 3), black);
        for (int r = -5; r <= 5; ++r)
            QCOMPARE(s.At(a - 3, s.graf.yCalc(r)), black);
        QVERIFY(s.At(s.graf.xCalc(0.5), c + 3) != black);
        // Dotted grid lines at the anchor's lattice, none beside them.
        const auto silverIn = [&](int column) {
            int n = 0;
            for (int y = s.graf.yCalc(5); y < c; ++y)
                n += s.At(column, y) == silver;
            return n;
        };
        QVERIFY(silverIn(s.graf.xCalc(4)) > 20);
        QCOMPARE(silverIn(s.graf.xCalc(3)), 0);
        int row = 0;
        for (int x = a + 1; x < s.graf.xCalc(10); ++x)
            row += s.At(x, s.graf.yCalc(2.5)) == silver;
        QVERIFY(row > 20);
        QCOMPARE(s.graf.toolTip(), QStringLiteral("Zoom ind: Klik og træk"));
    }

    void clipping_data()
    {
        QTest::addColumn<QPointF>("p0");
        QTest::addColumn<QPointF>("p1");
        QTest::addColumn<bool>("drawn");
        QTest::addColumn<QPointF>("q0");
        QTest::addColumn<QPointF>("q1");
        QTest::newRow("inside") << QPointF(0, 0) << QPointF(1, 1) << true << QPointF(0, 0) << QPointF(1, 1);
        QTest::newRow("both outside across the plot") << QPointF(-10, 0) << QPointF(20, 0) << false << QPointF()
                                                       << QPointF();
        QTest::newRow("leaves on the right") << QPointF(0, 0) << QPointF(20, 0) << true << QPointF(0, 0)
                                             << QPointF(10, 0);
        QTest::newRow("enters from the left") << QPointF(-10, 2) << QPointF(0, 0) << true << QPointF(-5, 1)
                                              << QPointF(0, 0);
        QTest::newRow("leaves at the top") << QPointF(0, 0) << QPointF(0, 10) << true << QPointF(0, 0)
                                           << QPointF(0, 5);
        QTest::newRow("leaves at the bottom") << QPointF(2, 0) << QPointF(4, -10) << true << QPointF(2, 0)
                                              << QPointF(3, -5);
        QTest::newRow("through a corner region") << QPointF(0, 0) << QPointF(20, 20) << true << QPointF(0, 0)
                                                 << QPointF(5, 5);
        QTest::newRow("an undefined end draws nothing") << QPointF(0, 0) << QPointF(qQNaN(), 1) << false << QPointF()
                                                       << QPointF();
        QTest::newRow("an infinite end is clipped") << QPointF(0, 0) << QPointF(qInf(), 0) << true << QPointF(0, 0)
                                                    << QPointF(10, 0);
        QTest::newRow("on the edge counts as inside") << QPointF(-5, -5) << QPointF(10, 5) << true << QPointF(-5, -5)
                                                      << QPointF(10, 5);
    }

    void clipping()
    {
        QFETCH(QPointF, p0);
        QFETCH(QPointF, p1);
        QFETCH(bool, drawn);
        QFETCH(QPointF, q0);
        QFETCH(QPointF, q1);
        Surface s;
        double x0 = p0.x(), y0 = p0.y(), x1 = p1.x(), y1 = p1.y();
        QCOMPARE(s.graf.ClipStep(x0, y0, x1, y1), drawn);
        if (drawn) {
            QCOMPARE(QPointF(x0, y0), q0);
            QCOMPARE(QPointF(x1, y1), q1);
        }
    }

    void bothEndsOutsideDrawNothing()
    {
        Surface s;
        const QColor red(255, 0, 0);
        s.graf.Draw(1, -10, 0, 20, 0);
        QCOMPARE(s.Count(red), 0);
        s.graf.Draw(1, 0, 0, 20, 0);
        QVERIFY(s.Count(red) > 0);
        QCOMPARE(s.At(s.graf.xCalc(0), s.graf.yCalc(0)), red);
    }

    void markVisibility_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<bool>("visible");
        QTest::newRow("middle") << 0.0 << 0.0 << true;
        QTest::newRow("on Xmin") << -5.0 << 0.0 << false;
        QTest::newRow("on YMin") << 0.0 << -5.0 << false;
        QTest::newRow("on Xmax") << 10.0 << 0.0 << true;
        QTest::newRow("on YMax") << 0.0 << 5.0 << true;
        QTest::newRow("just right of the y axis") << -5.0 + 15.0 * 3 / 700 << 0.0 << true;
        QTest::newRow("two pixels right of the y axis") << -5.0 + 15.0 * 2 / 700 << 0.0 << false;
    }

    void markVisibility()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(bool, visible);
        Surface s;
        QCOMPARE(s.graf.MarkVisible(s.graf.xCalc(x), s.graf.yCalc(y)), visible);
        s.graf.ScreenCanvas()->setPen(Qt::red);
        s.graf.Line(10, 0, 0, x, y);
        QCOMPARE(s.Count(Qt::red) > 0, visible);
    }

    void pens_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("0 solid black") << 0 << QColor(0, 0, 0);
        QTest::newRow("1 dashed red") << 1 << QColor(255, 0, 0);
        QTest::newRow("2 dotted blue") << 2 << QColor(0, 0, 255);
        QTest::newRow("3 dash-dot lime") << 3 << QColor(0, 255, 0);
        QTest::newRow("4 dash-dot-dot green") << 4 << QColor(0, 128, 0);
        QTest::newRow("5 dashed aqua") << 5 << QColor(0, 255, 255);
        QTest::newRow("-1 keeps the grid pen") << -1 << QColor(192, 192, 192);
    }

    void pens()
    {
        QFETCH(int, kind);
        QFETCH(QColor, colour);
        Surface s;
        s.graf.LavKoord();
        const int row = s.graf.yCalc(2.5);
        s.graf.Line(kind, -4, 2.5, 9, 2.5);
        int on = 0, off = 0;
        // The end pixel of a line is left out.
        for (int x = s.graf.xCalc(-4); x < s.graf.xCalc(9); ++x)
            (s.At(x, row) == colour ? on : off)++;
        QVERIFY(on > 0);
        // Only the solid pen covers every pixel of the line.
        QCOMPARE(off == 0, kind == 0);
    }

    void marksKeepThePenColour()
    {
        Surface s;
        s.graf.LavKoord();
        s.graf.Line(1, -4, 4, -3, 4);
        const int before = s.Count(QColor(255, 0, 0));
        s.graf.Line(10, 0, 0, 2, 2);
        QVERIFY(s.Count(QColor(255, 0, 0)) > before);
        // Kinds 6 and 12 draw nothing.
        const QImage picture = s.graf.Picture().copy();
        s.graf.Line(6, 0, 0, 3, 3);
        s.graf.Line(12, 0, 0, 3, 3);
        QCOMPARE(s.graf.Picture(), picture);
    }

    void emptyRangesDrawNoCurves_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("value");
        QTest::newRow("Xmax = Xmin") << int(TGraf::iXmax) << -5.0;
        QTest::newRow("YMax = YMin") << int(TGraf::iYMax) << -5.0;
        QTest::newRow("Xmax below Xmin") << int(TGraf::iXmax) << -6.0;
        QTest::newRow("infinite range") << int(TGraf::iXmax) << HUGE_VAL;
    }

    void emptyRangesDrawNoCurves()
    {
        QFETCH(int, index);
        QFETCH(double, value);
        Surface s;
        s.graf.Settings[index] = value;
        s.graf.LavKoord();
        s.graf.Draw(1, -5, -5, 10, 5);
        s.graf.Line(1, -5, -5, 10, 5);
        s.graf.Line(10, 0, 0, 1, 1);
        s.graf.TekstUd(QStringLiteral("tekst"), 0, 0);
        QCOMPARE(s.Count(QColor(255, 0, 0)), 0);
        // The mouse cannot start a zoom on such a surface.
        s.graf.MouseDownProc(Qt::LeftButton, {}, 300, 200);
        QVERIFY(!s.graf.dragging);
    }

    void printerLayout()
    {
        // A 100 pixels-per-inch page: 3 cm and 2 cm in, 12 by 8 cm, framed.
        QImage page(1000, 800, QImage::Format_RGB32);
        page.setDotsPerMeterX(3937);
        page.setDotsPerMeterY(3937);
        page.fill(Qt::white);
        QPainter p(&page);
        TGraf graf(1, 1);
        std::copy(Defaults, Defaults + 16, graf.Settings);
        graf.PreparePrinter(&p, 12, 8, 3, 2);
        QCOMPARE(graf.areaLeft, 118);
        QCOMPARE(graf.areaTop, 79);
        QCOMPARE(graf.areaW, 472 - graf.charW);
        QCOMPARE(graf.areaH, int(std::lrint(100 * 8 / 2.54 - graf.charW)));
        p.end();
        // The frame: top-left corner one "M" above the area, width the area plus one "M".
        QCOMPARE(page.pixelColor(118, 79 - graf.charW), QColor(Qt::black));
        QCOMPARE(page.pixelColor(118 + 472 - 1, 79 - graf.charW), QColor(Qt::black));
        QCOMPARE(page.pixelColor(118 + 472 + 1, 79 - graf.charW), QColor(Qt::white));
    }
};

QTEST_MAIN(TGrafTest)
#include "TGrafTest.moc"
