// The graph view: its picture is the renderer's, the mouse zooms and reports, the label tool places labels.
#include "graph/GraphExport.h"
#include "graph/GraphView.h"

#include <QApplication>
#include <QSignalSpy>
#include <QtTest>

using tavlix::CurveStyle;
using tavlix::Setting;

namespace {

const tavlix::CoordinateSettings Defaults{{-5, 10, 1, 0, -5, 5, 1, 0, -5, 10, 200, 0, 0, 0.00005, 0, 0}};

tavlix::CurveList SomeCurves()
{
    tavlix::CurveList curves(2);
    curves[0].style = CurveStyle::Line3;
    curves[0].points = {{-5, -5, false}, {0, 4, false}, {10, -2, false}};
    curves[1].style = CurveStyle::Mark3;
    curves[1].points = {{1, 1, false}, {2, 2, false}, {3, 1, false}};
    return curves;
}

}  // namespace

class GraphViewTest : public QObject {
    Q_OBJECT
private slots:
    // The batch mode's picture file is what a view of the same size shows (the view lays its legend over the
    // picture when it paints).
    void screenImageMatchesTheView()
    {
        tavlix::CurveList curves = SomeCurves();
        GraphView view(ExportWidth, ExportHeight);
        view.resetPicture(ExportWidth, ExportHeight, 1);
        view.setCurves(&curves);
        view.beginOnScreen(Defaults);
        view.replay();
        QCOMPARE(view.picture(), graphScreenImage(Defaults, curves, ExportWidth, ExportHeight, false));
        QCOMPARE(view.toolTip(), QStringLiteral("Zoom ind: Klik og træk"));
    }

    void emptyRangesStartNoDrag()
    {
        tavlix::CoordinateSettings settings = Defaults;
        settings[Setting::Xmax] = settings[Setting::Xmin];
        GraphView view(760, 424);
        view.beginOnScreen(settings);
        view.handlePress(Qt::LeftButton, {}, 300, 200);
        QVERIFY(!view.dragging());
    }

    void rubberBandFollowsThePointer()
    {
        GraphView view(760, 424);
        view.beginOnScreen(Defaults);
        const GraphGeometry& g = view.geometry();
        QSignalSpy moved(&view, &GraphView::pointerMoved);
        const QPoint press(400, 150), now(250, 300);
        view.handlePress(Qt::LeftButton, {}, press.x(), press.y());
        QVERIFY(view.dragging());
        QVERIFY(!view.rubberBandVisible());
        view.handleMove({}, now.x(), now.y());
        QVERIFY(view.rubberBandVisible());
        // The band spans the two positions, as values mapped back to pixels.
        const auto back = [&](QPoint p) {
            return QPoint(g.toPixelX(g.toValueX(p.x())), g.toPixelY(g.toValueY(p.y())));
        };
        QCOMPARE(view.rubberBandRect(), QRect(back(press), back(now)).normalized());
        QVERIFY((view.rubberBandRect().topLeft() - QPoint(250, 150)).manhattanLength() <= 2);
        QCOMPARE(moved.size(), 1);
        QVERIFY(moved[0][2].toBool());
        // Beyond the view the pointer is reported as outside.
        view.handleMove({}, 1, 1);
        QVERIFY(!moved[1][2].toBool());
    }

    void zoomDrawsTheNewViewAndTellsIt()
    {
        tavlix::CurveList curves = SomeCurves();
        GraphView view(760, 424);
        view.setCurves(&curves);
        view.beginOnScreen(Defaults);
        view.replay();
        QSignalSpy zoomed(&view, &GraphView::zoomed);
        view.zoom(0, 5, 0, 5);
        QCOMPARE(zoomed.size(), 1);
        QCOMPARE(view.view()[Setting::Xmax], 5.0);
        QCOMPARE(view.geometry().clip().xmax, 5.0);
        // Steps and anchors stay, only the ranges change.
        QCOMPARE(view.view()[Setting::XTickStep], 1.0);
        QCOMPARE(view.view()[Setting::TCount], 200.0);
    }

    void labelToolPlacesALabel()
    {
        tavlix::CurveList curves;
        LabelList labels;
        GraphView view(760, 424);
        view.setCurves(&curves);
        view.setLabels(&labels);
        view.beginOnScreen(Defaults);
        bool armed = true;
        int taken = 0;
        view.setLabelTool({[&] { return armed; },
                           [&] {
                               ++taken;
                               armed = false;
                               return QStringLiteral("Top");
                           }});
        QSignalSpy placed(&view, &GraphView::labelPlaced);
        const GraphGeometry& g = view.geometry();
        view.handlePress(Qt::LeftButton, {}, g.toPixelX(2), g.toPixelY(1));
        QVERIFY(!view.dragging());
        view.handleRelease(Qt::LeftButton, {}, g.toPixelX(2), g.toPixelY(1));
        QCOMPARE(taken, 1);
        QCOMPARE(placed.size(), 1);
        QVERIFY(curves.empty());
        QCOMPARE(labels.size(), size_t(1));
        QCOMPARE(labels[0].text, std::string("Top"));
        QVERIFY(std::fabs(labels[0].x - 2) < 0.05);
        // Disarmed, a release places nothing more.
        view.handleRelease(Qt::LeftButton, {}, g.toPixelX(2), g.toPixelY(1));
        QCOMPARE(taken, 1);
    }

    void marksReadByPointerAndCross_data()
    {
        QTest::addColumn<int>("rights");  // presses of the right arrow from the middle (x = 2.5); -1: the pointer
        QTest::addColumn<QString>("shown");
        QTest::newRow("the pointer on a mark") << -1 << "(4; 0)";
        QTest::newRow("the cross not yet there") << 2 << "";
        QTest::newRow("the cross onto it") << 5 << "(4; 0)";
        QTest::newRow("the cross past it") << 8 << "";
    }

    // Marks show their text when the pointer or the keyboard's cross (which marks arm without a tool) is on them;
    // Enter then clicks nothing.
    void marksReadByPointerAndCross()
    {
        QFETCH(int, rights);
        QFETCH(QString, shown);
        GraphView view(760, 424);
        view.beginOnScreen(Defaults);
        view.setMarks({{4, 0, "(4; 0)"}, {-4, 3, "(-4; 3)"}});
        const GraphGeometry& g = view.geometry();
        QSignalSpy hovered(&view, &GraphView::markHovered);
        if (rights < 0)
            view.handleMove({}, g.toPixelX(4) + 3, g.toPixelY(0) - 2);
        for (int i = 0; i < rights; ++i)
            QTest::keyClick(&view, Qt::Key_Right);
        QCOMPARE(view.hoveredMarkText(), shown);
        QCOMPARE(view.accessibleDescription(), shown);
        QCOMPARE(hovered.isEmpty(), shown.isEmpty() && rights < 3);
        QTest::keyClick(&view, Qt::Key_Return);
        QVERIFY(!view.rubberBandVisible() && !view.dragging());
    }

    // Without a mouse: an armed tool's cross starts in the middle, the arrow keys move it (Shift by one pixel) and
    // stay in the drawing area, Enter clicks there; a disarmed view leaves the keys alone.
    void keyboardAimsTheArmedTools()
    {
        LabelList labels;
        GraphView view(760, 424);
        view.setLabels(&labels);
        view.beginOnScreen(Defaults);
        bool pointArmed = true, labelArmed = false;
        QList<QPointF> picked;
        view.setPointTool({[&] { return pointArmed; }, [&](double x, double y) { picked.append({x, y}); }});
        view.setLabelTool({[&] { return labelArmed; },
                           [&] {
                               labelArmed = false;
                               return QStringLiteral("Her");
                           }});
        const GraphGeometry& g = view.geometry();
        const int left = g.toPixelX(-5), right = g.toPixelX(10), top = g.toPixelY(5), bottom = g.toPixelY(-5);
        const int step = (right - left - 2) / 50;
        QTest::keyClick(&view, Qt::Key_Right);
        QTest::keyClick(&view, Qt::Key_Right);
        QTest::keyClick(&view, Qt::Key_Up, Qt::ShiftModifier);
        QTest::keyClick(&view, Qt::Key_Return);
        QCOMPARE(picked.size(), 1);
        const double pixel = g.toValueX(1) - g.toValueX(0);
        QVERIFY(qAbs(picked[0].x() - g.toValueX((left + right) / 2 + 2 * step)) <= 2 * pixel);
        QVERIFY(qAbs(picked[0].y() - g.toValueY((top + bottom) / 2 - 1)) <= 2 * (g.toValueY(0) - g.toValueY(1)));
        pointArmed = false;
        labelArmed = true;
        for (int i = 0; i < 100; ++i)
            QTest::keyClick(&view, Qt::Key_Left);
        QTest::keyClick(&view, Qt::Key_Enter);
        QCOMPARE(labels.size(), size_t(1));
        QCOMPARE(labels[0].text, std::string("Her"));
        QVERIFY(g.toPixelX(labels[0].x) <= left + 1);
        QTest::keyClick(&view, Qt::Key_Return);
        QCOMPARE(picked.size(), 1);
        QCOMPARE(labels.size(), size_t(1));
    }
};

QTEST_MAIN(GraphViewTest)
#include "GraphViewTest.moc"
