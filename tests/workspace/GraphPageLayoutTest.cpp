// The graph page follows its size once it settles, and survives a refresh by a new run.
#include "GraphPageFixture.h"
#include "graph/GraphView.h"

#include <QtTest>

#include <cmath>

using tavlix::CurveStyle;
using tavlix::Setting;

namespace {

// A shown page with a black line from (-5, -5) to (10, 5) in short steps (a step with both ends outside the view is
// not drawn) and a label "Her" at (2, 2).
std::unique_ptr<GraphPage> DrawnPage(FakeHost& host, const tavlix::CoordinateSettings& settings = Defaults())
{
    auto page = NewPage(host, settings);
    page->fitToWindow();
    page->addCurve(CurveStyle::Line1);
    for (double x = -5; x <= 10; x += 0.25)
        page->addPoint(1, x, (2 * x - 5) / 3);
    page->armLabelTool();
    host.labelEdit.setText(QStringLiteral("Her"));
    GraphView& v = page->view();
    v.handleRelease(Qt::LeftButton, {}, v.geometry().toPixelX(2), v.geometry().toPixelY(2));
    page->show();
    return page;
}

ValueRect Ranges(GraphPage& page)
{
    return page.view().geometry().ranges();
}

// Black pixels within a region given in values.
int BlackIn(GraphPage& page, const ValueRect& region)
{
    const GraphGeometry& g = page.view().geometry();
    const QImage& p = page.view().picture();
    const int r = qRound(p.devicePixelRatio());
    int n = 0;
    for (int x = g.toPixelX(region.xmin) * r; x <= g.toPixelX(region.xmax) * r; ++x)
        for (int y = g.toPixelY(region.ymax) * r; y <= g.toPixelY(region.ymin) * r; ++y)
            n += p.pixelColor(x, y) == QColor(Qt::black);
    return n;
}

// A run as the engine makes it on a page: settings, begin, fit, curves, points.
void Run(GraphPage& page, const tavlix::CoordinateSettings& settings, double y)
{
    page.setSettings(settings);
    page.begin();
    page.fitToWindow();
    page.addCurve(CurveStyle::Line2);
    page.addCurve(CurveStyle::Mark1);
    page.addPoint(1, -5, y);
    page.addPoint(1, 10, y);
    page.addPoint(2, 0, y);
}

}  // namespace

class GraphPageLayoutTest : public QObject {
    Q_OBJECT
private slots:
    // The view takes the new size a moment after the last resize, and not while a run draws; the zoom, the steps
    // back and the label stay.
    void resizeLaysOutOnceSettled()
    {
        FakeHost host;
        auto page = DrawnPage(host);
        page->view().zoom(0, 5, 0, 5);
        host.runActive = true;
        page->resize(800, 500);
        page->resize(820, 520);
        QTest::qWait(3 * GraphPage::RelayoutDelayMs);
        QCOMPARE(page->view().size(), QSize(600, 400));
        host.runActive = false;
        QTRY_COMPARE_WITH_TIMEOUT(page->view().size(), QSize(816, 516), 2000);
        QCOMPARE(Ranges(*page), (ValueRect{0, 5, 0, 5}));
        QCOMPARE(page->view().labelAt(page->view().geometry().toPixelX(2) + 3, page->view().geometry().toPixelY(2)), 0);
        QVERIFY(page->view().stepBack());
        QCOMPARE(Ranges(*page), (ValueRect{-5, 10, -5, 5}));
    }

    void refresh_data()
    {
        QTest::addColumn<bool>("sameSettings");
        QTest::newRow("same settings keep the zoom") << true;
        QTest::newRow("other settings show the run's view") << false;
    }

    // A new run on the page replaces its curves, keeps its label, and keeps the zoom only for the same settings.
    void refresh()
    {
        QFETCH(bool, sameSettings);
        FakeHost host;
        auto page = DrawnPage(host);
        page->view().zoom(0, 5, 0, 5);
        page->view().zoom(1, 4, 0, 4);
        // Where the old black diagonal runs, clear of the axes and the label.
        const ValueRect diagonal{3.2, 3.8, 0.05, 1.5};
        QVERIFY(BlackIn(*page, diagonal) > 0);
        tavlix::CoordinateSettings next = Defaults();
        if (!sameSettings)
            next[Setting::Xmax] = 20;
        page->prepareForRefresh();
        Run(*page, next, 3);
        const tavlix::CurveList& curves = page->curves();
        QCOMPARE(curves.size(), size_t(2));
        QCOMPARE(curves[0].style, CurveStyle::Line2);
        QCOMPARE(curves[0].points.size(), size_t(2));
        QCOMPARE(curves[0].points[0].y, 3.0);
        QCOMPARE(curves[1].style, CurveStyle::Mark1);
        QCOMPARE(page->labels().size(), size_t(1));
        QVERIFY(std::fabs(page->labels()[0].x - 2) < 0.05);
        QCOMPARE(page->storedPoints(), 3LL);
        if (sameSettings) {
            QCOMPARE(Ranges(*page), (ValueRect{1, 4, 0, 4}));
        } else {
            QCOMPARE(Ranges(*page), (ValueRect{-5, 20, -5, 5}));
            QVERIFY(!page->view().canStepBack());
        }
        // Only the new curves are drawn: the old diagonal is gone.
        QCOMPARE(BlackIn(*page, diagonal), 0);
        if (sameSettings) {
            QVERIFY(page->view().stepBack());
            QCOMPARE(Ranges(*page), (ValueRect{0, 5, 0, 5}));
            QVERIFY(page->view().stepBack());
        }
        // "Tilpas graf til vindue" goes to the new run's view and forgets the steps back.
        page->view().zoom(0, 5, 0, 5);
        QVERIFY(host.enabled.contains(Command::ZoomBack));
        page->fitToWindow();
        QCOMPARE(Ranges(*page).xmax, next[Setting::Xmax]);
        QVERIFY(!page->view().canStepBack());
        QVERIFY(!host.enabled.contains(Command::ZoomBack));
    }
};

QTEST_MAIN(GraphPageLayoutTest)
#include "GraphPageLayoutTest.moc"
