// The graph page follows its size once it settles, survives a refresh by a new run, and guides the label tool.
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
    // The view takes the new size a moment after the last resize, with the zoom, the steps back and the label.
    void resizeLaysOutOnceSettled()
    {
        FakeHost host;
        auto page = DrawnPage(host);
        page->view().zoom(0, 5, 0, 5);
        page->resize(800, 500);
        page->resize(820, 520);
        QTest::qWait(GraphPage::RelayoutDelayMs / 2);
        QCOMPARE(page->view().size(), QSize(600, 400));
        QTRY_COMPARE_WITH_TIMEOUT(page->view().size(), QSize(816, 516), 2000);
        QCOMPARE(Ranges(*page), (ValueRect{0, 5, 0, 5}));
        QVERIFY(page->view().canStepBack());
        QCOMPARE(page->curves().size(), size_t(2));
        // The label is drawn at its value position in the new picture.
        QVERIFY(page->view().labelAt(page->view().geometry().toPixelX(2) + 3, page->view().geometry().toPixelY(2)) ==
                1);
        QVERIFY(page->view().stepBack());
        QCOMPARE(Ranges(*page), (ValueRect{-5, 10, -5, 5}));
    }

    // While a run draws, the page keeps the view the run laid out; the new size follows when the run is over.
    void noRelayoutDuringARun()
    {
        FakeHost host;
        auto page = DrawnPage(host);
        host.runActive = true;
        page->resize(700, 450);
        QTest::qWait(3 * GraphPage::RelayoutDelayMs);
        QCOMPARE(page->view().size(), QSize(600, 400));
        host.runActive = false;
        QTRY_COMPARE_WITH_TIMEOUT(page->view().size(), QSize(696, 446), 2000);
    }

    // "Tilpas graf til vindue" returns to the run's view and forgets the steps back.
    void fitForgetsTheSteps()
    {
        FakeHost host;
        auto page = DrawnPage(host);
        page->view().zoom(0, 5, 0, 5);
        page->view().handleWheel({0, 120}, {}, 300, 200);
        QVERIFY(host.enabled.contains(Command::ZoomBack));
        page->fitToWindow();
        QCOMPARE(Ranges(*page), (ValueRect{-5, 10, -5, 5}));
        QVERIFY(!page->view().canStepBack());
        QVERIFY(!host.enabled.contains(Command::ZoomBack));
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
        QCOMPARE(curves.size(), size_t(3));
        QCOMPARE(curves[0].style, CurveStyle::Line2);
        QCOMPARE(curves[0].points.size(), size_t(2));
        QCOMPARE(curves[0].points[0].y, 3.0);
        QCOMPARE(curves[1].style, CurveStyle::Mark1);
        QVERIFY(curves[2].isLabel);
        QVERIFY(std::fabs(curves[2].points[0].x - 2) < 0.05);
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
        // A later "Tilpas" goes to the new run's view.
        page->fitToWindow();
        QCOMPARE(Ranges(*page).xmax, next[Setting::Xmax]);
    }

    // Enter in the label field: the status bar says to click in the graph; placing the label clears it.
    void labelToolGuides()
    {
        FakeHost host;
        auto page = NewPage(host);
        page->show();
        page->awaitLabelClick();
        QCOMPARE(host.status[2], QString());  // not armed: nothing to say
        page->armLabelTool();
        page->awaitLabelClick();
        QCOMPARE(host.status[2], QString());  // nothing typed yet
        host.labelEdit.setText(QStringLiteral("Top"));
        page->awaitLabelClick();
        QCOMPARE(host.status[2], QStringLiteral("Klik i grafen, hvor teksten skal stå"));
        QCOMPARE(page->view().cursor().shape(), Qt::IBeamCursor);
        GraphView& v = page->view();
        v.handleRelease(Qt::LeftButton, {}, v.geometry().toPixelX(2), v.geometry().toPixelY(1));
        QCOMPARE(host.status[2], QString());
        QCOMPARE(page->curves().size(), size_t(1));
    }
};

QTEST_MAIN(GraphPageLayoutTest)
#include "GraphPageLayoutTest.moc"
