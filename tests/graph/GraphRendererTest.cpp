// The renderer on plain pictures, with no widget and no widget application: axes, pens, marks, paper and export.
#include "graph/GraphExport.h"
#include "graph/GraphRenderer.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

using tavlix::CurveStyle;
using tavlix::Setting;

namespace {

const tavlix::CoordinateSettings Defaults{{-5, 10, 1, 0, -5, 5, 1, 0, -5, 10, 200, 0, 0, 0.00005, 0, 0}};

// A screen-like picture whose geometry does not depend on the font: M = 10, D = 12, plot 700 by 400 pixels.
struct Surface {
    QImage picture{760, 424, QImage::Format_RGB32};
    QPainter painter;
    GraphRenderer renderer;

    explicit Surface(const tavlix::CoordinateSettings& settings = Defaults) : renderer(settings)
    {
        picture.fill(Qt::white);
        painter.begin(&picture);
        painter.setBrush(Qt::white);
        renderer.beginOnScreen(painter, picture.width(), picture.height());
        GraphGeometry& g = renderer.geometry();
        g.setCharSize(10, 12);
        g.setPlotArea({0, 0, 760, 424});
        g.resetClipToView();
    }
    const GraphGeometry& geometry() const { return renderer.geometry(); }
    QColor at(int x, int y) const { return picture.pixelColor(x, y); }
    int count(const QColor& colour) const
    {
        int n = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                n += picture.pixelColor(x, y) == colour;
        return n;
    }
};

int CountColour(const QImage& picture, const QColor& colour, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += picture.pixelColor(x, y) == colour;
    return n;
}

}  // namespace

class GraphRendererTest : public QObject {
    Q_OBJECT
private slots:
    void coordinateSystemOnThePicture()
    {
        tavlix::CoordinateSettings settings = Defaults;
        settings[Setting::XGridStep] = 2;
        settings[Setting::YGridStep] = 2.5;
        Surface s(settings);
        s.renderer.drawAxes();
        const GraphGeometry& g = s.geometry();
        const QColor black(Qt::black), silver(192, 192, 192);
        const int a = g.toPixelX(-5), c = g.toPixelY(-5);
        // Axes along the bottom and the left edge, whatever the anchors.
        QCOMPARE(s.at(g.toPixelX(3), c), black);
        QCOMPARE(s.at(a, g.toPixelY(3)), black);
        // A tick under every whole x and left of every whole y.
        for (int q = -5; q <= 9; ++q)
            QCOMPARE(s.at(g.toPixelX(q), c + 3), black);
        for (int r = -5; r <= 5; ++r)
            QCOMPARE(s.at(a - 3, g.toPixelY(r)), black);
        QVERIFY(s.at(g.toPixelX(0.5), c + 3) != black);
        // Dotted grid lines at the anchor's lattice, none beside them.
        const auto silverIn = [&](int column) {
            int n = 0;
            for (int y = g.toPixelY(5); y < c; ++y)
                n += s.at(column, y) == silver;
            return n;
        };
        QVERIFY(silverIn(g.toPixelX(4)) > 20);
        QCOMPARE(silverIn(g.toPixelX(3)), 0);
        int row = 0;
        for (int x = a + 1; x < g.toPixelX(10); ++x)
            row += s.at(x, g.toPixelY(2.5)) == silver;
        QVERIFY(row > 20);
    }

    void bothEndsOutsideDrawNothing()
    {
        Surface s;
        const QColor red(255, 0, 0);
        s.renderer.drawClippedStep(CurveStyle::Line2, -10, 0, 20, 0);
        QCOMPARE(s.count(red), 0);
        s.renderer.drawClippedStep(CurveStyle::Line2, 0, 0, 20, 0);
        QVERIFY(s.count(red) > 0);
        QCOMPARE(s.at(s.geometry().toPixelX(0), s.geometry().toPixelY(0)), red);
    }

    void markVisibility_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<bool>("visible");
        QTest::newRow("middle") << 0.0 << 0.0 << true;
        QTest::newRow("on Xmin") << -5.0 << 0.0 << false;
        QTest::newRow("on Ymin") << 0.0 << -5.0 << false;
        QTest::newRow("on Xmax") << 10.0 << 0.0 << true;
        QTest::newRow("on Ymax") << 0.0 << 5.0 << true;
        QTest::newRow("just right of the y axis") << -5.0 + 15.0 * 3 / 700 << 0.0 << true;
        QTest::newRow("two pixels right of the y axis") << -5.0 + 15.0 * 2 / 700 << 0.0 << false;
    }

    void markVisibility()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(bool, visible);
        Surface s;
        QCOMPARE(s.geometry().markVisible(s.geometry().toPixelX(x), s.geometry().toPixelY(y)), visible);
        s.renderer.drawStep(CurveStyle::Mark2, 0, 0, x, y);
        QCOMPARE(s.count(Qt::red) > 0, visible);
    }

    void pens_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("l1 solid black") << int(CurveStyle::Line1) << QColor(0, 0, 0);
        QTest::newRow("l2 dashed red") << int(CurveStyle::Line2) << QColor(255, 0, 0);
        QTest::newRow("l3 dotted blue") << int(CurveStyle::Line3) << QColor(0, 0, 255);
        QTest::newRow("l4 dash-dot lime") << int(CurveStyle::Line4) << QColor(0, 255, 0);
        QTest::newRow("l5 dash-dot-dot green") << int(CurveStyle::Line5) << QColor(0, 128, 0);
        QTest::newRow("l6 dashed aqua") << int(CurveStyle::Line6) << QColor(0, 255, 255);
    }

    void pens()
    {
        QFETCH(int, style);
        QFETCH(QColor, colour);
        Surface s;
        s.renderer.drawAxes();
        const GraphGeometry& g = s.geometry();
        const int row = g.toPixelY(2.5);
        s.renderer.drawStep(static_cast<CurveStyle>(style), -4, 2.5, 9, 2.5);
        int on = 0, off = 0;
        // The end pixel of a line is left out.
        for (int x = g.toPixelX(-4); x < g.toPixelX(9); ++x)
            (s.at(x, row) == colour ? on : off)++;
        QVERIFY(on > 0);
        // Only the solid pen covers every pixel of the line.
        QCOMPARE(off == 0, style == int(CurveStyle::Line1));
    }

    void marksHaveTheColourOfTheirLineStyle_data()
    {
        QTest::addColumn<int>("mark");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("filled");
        QTest::newRow("m1 black square") << int(CurveStyle::Mark1) << QColor(0, 0, 0) << false;
        QTest::newRow("m2 red cross") << int(CurveStyle::Mark2) << QColor(255, 0, 0) << true;
        QTest::newRow("m3 blue circle") << int(CurveStyle::Mark3) << QColor(0, 0, 255) << false;
        QTest::newRow("m4 lime square") << int(CurveStyle::Mark4) << QColor(0, 255, 0) << false;
        QTest::newRow("m5 green x") << int(CurveStyle::Mark5) << QColor(0, 128, 0) << true;
        QTest::newRow("m6 aqua disc") << int(CurveStyle::Mark6) << QColor(0, 255, 255) << true;
    }

    // Whatever was drawn last (here a red line), a mark has the colour of the line style with its number; the
    // centre pixel tells the open shapes from the crosses and from m6's filled circle.
    void marksHaveTheColourOfTheirLineStyle()
    {
        QFETCH(int, mark);
        QFETCH(QColor, colour);
        QFETCH(bool, filled);
        Surface s;
        s.renderer.drawAxes();
        s.renderer.drawStep(CurveStyle::Line2, -4, 4, -3, 4);
        const int before = s.count(colour);
        s.renderer.drawStep(static_cast<CurveStyle>(mark), 0, 0, 2, 2);
        QVERIFY(s.count(colour) > before);
        const GraphGeometry& g = s.geometry();
        QCOMPARE(s.at(g.toPixelX(2), g.toPixelY(2)) == colour, filled);
        // The line after the marks still has its own pen.
        const int red = s.count(QColor(255, 0, 0));
        s.renderer.drawStep(CurveStyle::Line2, -4, -4, 4, -4);
        QVERIFY(s.count(QColor(255, 0, 0)) > red);
    }

    void emptyRangesDrawNoCurves_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<double>("value");
        QTest::newRow("Xmax = Xmin") << int(Setting::Xmax) << -5.0;
        QTest::newRow("Ymax = Ymin") << int(Setting::Ymax) << -5.0;
        QTest::newRow("Xmax below Xmin") << int(Setting::Xmax) << -6.0;
        QTest::newRow("infinite range") << int(Setting::Xmax) << HUGE_VAL;
    }

    void emptyRangesDrawNoCurves()
    {
        QFETCH(int, setting);
        QFETCH(double, value);
        Surface s;
        s.renderer.geometry().view()[static_cast<Setting>(setting)] = value;
        s.renderer.drawAxes();
        s.renderer.drawClippedStep(CurveStyle::Line2, -5, -5, 10, 5);
        s.renderer.drawStep(CurveStyle::Line2, -5, -5, 10, 5);
        s.renderer.drawStep(CurveStyle::Mark2, 0, 0, 1, 1);
        s.renderer.drawLabel(QStringLiteral("tekst"), 0, 0);
        QCOMPARE(s.count(QColor(255, 0, 0)), 0);
    }

    void printerLayout()
    {
        // A 100 pixels-per-inch page: 3 cm and 2 cm in, 12 by 8 cm, framed.
        QImage page(1000, 800, QImage::Format_RGB32);
        page.setDotsPerMeterX(3937);
        page.setDotsPerMeterY(3937);
        page.fill(Qt::white);
        QPainter p(&page);
        GraphRenderer renderer(Defaults);
        renderer.beginOnPaper(p, 12, 8, 3, 2);
        const GraphGeometry& g = renderer.geometry();
        const int charW = g.charWidth();
        QCOMPARE(g.plotArea().left, 118);
        QCOMPARE(g.plotArea().top, 79);
        QCOMPARE(g.plotArea().width, 472 - charW);
        QCOMPARE(g.plotArea().height, int(std::lrint(100 * 8 / 2.54 - charW)));
        p.end();
        // The frame: top-left corner one "M" above the area, width the area plus one "M".
        QCOMPARE(page.pixelColor(118, 79 - charW), QColor(Qt::black));
        QCOMPARE(page.pixelColor(118 + 472 - 1, 79 - charW), QColor(Qt::black));
        QCOMPARE(page.pixelColor(118 + 472 + 1, 79 - charW), QColor(Qt::white));
    }

    // A known graph as the batch mode draws it: a red dashed line, two red crosses, a break, and a label.
    void knownGraphWithoutAWidget()
    {
        tavlix::CurveList curves(2);
        curves[0].style = CurveStyle::Line2;
        curves[0].points = {{-4, -4, false}, {0, 0, false}, {0, 0, true}, {6, 0, false}, {9, 3, false}};
        curves[1].style = CurveStyle::Mark2;
        curves[1].points = {{5, 4, false}, {7, 4, false}};
        const LabelList labels{{-2, 3, "Her \xc3\xa6"}};
        const QImage image = graphScreenImage(Defaults, curves, 760, 424, {true, false, &labels});
        QCOMPARE(image.size(), QSize(760, 424));

        // The geometry the picture was drawn with, measured the same way.
        QImage probe(1, 1, QImage::Format_RGB32);
        probe.setDotsPerMeterX(image.dotsPerMeterX());
        probe.setDotsPerMeterY(image.dotsPerMeterY());
        QPainter p(&probe);
        p.setFont(GraphRenderer::screenFont());
        GraphRenderer r(Defaults);
        r.beginOnScreen(p, 760, 424);
        const GraphGeometry& g = r.geometry();
        const QColor red(255, 0, 0), black(Qt::black);
        const auto box = [&](double x, double y, int h) {
            return QRect(g.toPixelX(x) - h, g.toPixelY(y) - h, 2 * h + 1, 2 * h + 1);
        };
        // The line from (-4,-4) to (0,0); nothing across the break from (0,0) to (6,0).
        QVERIFY(CountColour(image, red, box(-2, -2, 2)) > 0);
        QCOMPARE(CountColour(image, red, QRect(g.toPixelX(1), g.toPixelY(0) - 2, g.toPixelX(5) - g.toPixelX(1), 5)), 0);
        QVERIFY(CountColour(image, red, box(7.5, 1.5, 2)) > 0);
        // Every mark point is a red cross, the curve's first too.
        const int o = g.charWidth() / 4;
        QVERIFY(CountColour(image, red, box(5, 4, o + 1)) > 0);
        QVERIFY(CountColour(image, red, box(7, 4, o + 1)) > 0);
        // The label's text in black right of its point.
        const QRect label(g.toPixelX(-2), g.toPixelY(3) - g.charHeight() / 2, 3 * g.charWidth(), g.charHeight());
        QVERIFY(CountColour(image, black, label) > 5);
        // The axes in black along the bottom and the left.
        QCOMPARE(image.pixelColor(g.toPixelX(3), g.toPixelY(-5)), black);
        QCOMPARE(image.pixelColor(g.toPixelX(-5), g.toPixelY(2)), black);
    }

    void exportWritesBothFiles()
    {
        QTemporaryDir dir;
        tavlix::CurveList curves(1);
        curves[0].points = {{-5, -5, false}, {10, 5, false}};
        std::string error;
        const std::string stem = dir.filePath(QStringLiteral("demo.tvx-1")).toStdString();
        QVERIFY(exportGraph(stem, Defaults, curves, error));
        QImage png(QString::fromStdString(stem + ".png"));
        QCOMPARE(png.size(), QSize(ExportWidth, ExportHeight));
        QFile svg(QString::fromStdString(stem + ".svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QVERIFY(svg.readAll().contains("<svg"));
        // Written under temporary names and renamed into place: nothing else is left in the folder.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
        QVERIFY(!exportGraph("/nonexistent/dir/x", Defaults, curves, error));
        QCOMPARE(error, std::string("kan ikke skrive /nonexistent/dir/x.svg"));
    }

    // The ink of a saved picture: the same margin on all four sides, the numbers' boxes being a little taller
    // than their digits.
    void picturesHaveEqualMargins_data()
    {
        QTest::addColumn<bool>("origin");
        QTest::addColumn<bool>("legend");
        QTest::addColumn<double>("xmin");
        QTest::addColumn<bool>("batch");  // the batch mode's picture of a fixed size, laid out as on screen
        QTest::newRow("axes at the frame") << false << true << -5.0 << false;
        QTest::newRow("axes through the origin") << true << true << -5.0 << false;
        QTest::newRow("no legend, long numbers") << false << false << -12345.0 << false;
        QTest::newRow("batch, axes at the frame") << false << true << -5.0 << true;
        QTest::newRow("batch, axes through the origin") << true << true << -5.0 << true;
        QTest::newRow("batch, long numbers") << false << false << -12345.0 << true;
    }

    void picturesHaveEqualMargins()
    {
        QFETCH(bool, origin);
        QFETCH(bool, legend);
        QFETCH(double, xmin);
        QFETCH(bool, batch);
        tavlix::CoordinateSettings settings = Defaults;
        settings[Setting::Xmin] = xmin;
        settings[Setting::XTickStep] = (10 - xmin) / 5;
        tavlix::CurveList curves(1);
        curves[0].name = "f";
        curves[0].points = {{xmin, -5, false}, {10, 5, false}};
        const QImage image =
            batch ? graphPictureImage(settings, curves, ExportWidth, ExportHeight, GraphLook(legend, origin))
                  : graphCopyImage(settings, curves, 12, 8, GraphLook(legend, origin), 96);
        QRect ink;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) != QColor(Qt::white))
                    ink |= QRect(x, y, 1, 1);
        const int margin = int(std::lround(image.dotsPerMeterX() * 0.0254 * PictureMarginCm / 2.54));
        const int slack = batch ? 1 : 0;  // the screen's smoothing spills a shade of a pixel past what it measured
        const int sides[] = {ink.left(), ink.top(), image.width() - 1 - ink.right(), image.height() - 1 - ink.bottom()};
        for (int side : sides)
            QVERIFY2(
                side >= margin - slack && side <= margin + 4,
                qPrintable(
                    QStringLiteral("margins %1 %2 %3 %4").arg(sides[0]).arg(sides[1]).arg(sides[2]).arg(sides[3])));
    }

    // Beside a family the field's elements take a colour that neither a line style nor a family member's lighter
    // pen has (a lighter black is nearly the field's usual grey).
    void fieldStandsApartFromAFamily()
    {
        const QColor field = GraphRenderer::fieldColour(true);
        for (int i = 1; i <= 12; ++i) {
            const QPen pen = GraphRenderer::stylePen(static_cast<CurveStyle>(i), 2);
            QVERIFY(pen.color() != field);
            QVERIFY(GraphRenderer::faintPen(pen, true).color() != field);
        }
    }

    // Dotted and dashed lines on paper are at least 1.5 pixels at 96 dpi wide, so their pattern shows.
    void paperLinesShowTheirPattern()
    {
        for (double dpi : {96.0, 254.0, 600.0}) {
            QImage page(10, 10, QImage::Format_RGB32);
            const int dpm = int(std::lround(dpi / 0.0254));
            page.setDotsPerMeterX(dpm);
            page.setDotsPerMeterY(dpm);
            QPainter p(&page);
            GraphRenderer renderer(Defaults);
            renderer.beginOnPaper(p, 12, 8, 0, 0);
            QVERIFY(renderer.curveWidth() >= 1.5 * dpi / 96);
        }
    }
};

// A plain GUI application: the renderer must draw without QApplication, as the batch mode does.
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    GraphRendererTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "GraphRendererTest.moc"
