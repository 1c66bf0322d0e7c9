// Vis punkter, Tangent i punkt and Areal under graf in the window: the marks and the "Punkter" pane, the tangent's
// label, the area's integral, and what a zoom, Escape and the removal items do to them.
#include "MainWindowFixture.h"

#include "graph/GraphView.h"
#include "workspace/AreaDialog.h"
#include "workspace/PointsPanel.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>

#include <cmath>

namespace {

// t from -5 to 10 in 200 steps, x and y as t's.
tavlix::SettingsTexts defaultRange()
{
    return tavlix::defaultSettings();
}

GraphPage* graphOf(MainWindowFixture& f, const QString& functions)
{
    QStringList script{"Funktioner"};
    for (const QString& f : functions.split(';'))
        script << "  " + f;
    script << "GrafVariable";
    QString outputs = "  ";
    for (int i = 0; i < functions.split(';').size(); ++i)
        outputs += QStringLiteral("t, %1, l%2  ").arg(functions.split(';')[i].section('=', 0, 0).trimmed()).arg(i + 1);
    script << outputs;
    GraphPage* graph = f.runToGraph(script, defaultRange());
    // The analysis is offered once the run has ended.
    if (!graph || !QTest::qWaitFor([&] { return f.window->isCommandEnabled(Command::ShowPoints); }))
        return nullptr;
    return graph;
}

}  // namespace

class TestGraphAnalysis : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark)); }

    // The analysis is offered for line curves against t only: marks stand for sampled points, and a curve whose x
    // is not t has no zeros in t to speak of.
    void offeredForLinesAgainstT()
    {
        struct Case {
            QString graph;
            bool offered;
        };
        const Case cases[] = {
            {"t, f, l1", true}, {"t, f, m1", false}, {"f, t, l1", false}, {"f, t, l1  t, f, l2", true}};
        for (const Case& c : cases) {
            MainWindowFixture f;
            GraphPage* graph =
                f.runToGraph({"Funktioner", "  f = t^2", "GrafVariable", "  " + c.graph}, defaultRange());
            QVERIFY(graph);
            QTRY_VERIFY(!graph->resamplePending());
            QCOMPARE(f.window->isCommandEnabled(Command::ShowPoints), c.offered);
            QCOMPARE(f.window->isCommandEnabled(Command::TangentAt), c.offered);
            QCOMPARE(f.window->isCommandEnabled(Command::AreaUnder), c.offered);
        }
    }

    // The five points of t^3 - 3t, in the pane as copied and as marks whose text reads in Danish numbers.
    void showPointsListsAndMarks()
    {
        MainWindowFixture f;
        GraphPage* graph = graphOf(f, "f = t^3 - 3*t");
        QVERIFY(graph);
        f.window->action(Command::ShowPoints)->trigger();
        QVERIFY(graph->pointsShown());
        PointsPanel* panel = graph->pointsPanel();
        QVERIFY(panel && panel->isVisible());
        QCOMPARE(panel->text(), QStringLiteral("Slags\tKurve\tx\ty\n"
                                               "nulpunkt\tf\t-1,7320508\t0\n"
                                               "nulpunkt\tf\t0\t0\n"
                                               "nulpunkt\tf\t1,7320508\t0\n"
                                               "maksimum\tf\t-1\t2\n"
                                               "minimum\tf\t1\t-2\n"));
        const GraphView& v = graph->view();
        QCOMPARE(v.marks().size(), size_t(5));
        const QStringList tips = {"(-1,73205; 0)", "(0; 0)", "(1,73205; 0)", "(-1; 2)", "(1; -2)"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(v.marks()[static_cast<std::size_t>(i)].text, tips[i]);
        // Ctrl+C in the pane copies the selected row with the header.
        panel->table()->selectRow(3);
        QTest::keyClick(panel->table(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Slags\tKurve\tx\ty\nmaksimum\tf\t-1\t2\n"));
        QVERIFY(!panel->table()->item(0, 0)->data(Qt::AccessibleTextRole).toString().isEmpty());
        // The pointer on a mark shows its text; a zoom to x >= 0 keeps only what is in view.
        GraphView& view = graph->view();
        const GraphGeometry& g = view.geometry();
        view.handleMove({}, g.toPixelX(1) + 2, g.toPixelY(-2) - 1);
        QCOMPARE(view.hoveredMarkText(), QStringLiteral("(1; -2)"));
        view.zoom(0.5, 10, -5, 5);
        QTRY_COMPARE(panel->rowCount(), 2);
        f.window->action(Command::ShowPoints)->trigger();
        QVERIFY(!panel->isVisible());
        QVERIFY(graph->view().marks().empty());
    }

    // Intersections of two curves: sin and cos meet at pi/4 + k pi.
    void intersectionsOfTwoCurves()
    {
        MainWindowFixture f;
        GraphPage* graph = graphOf(f, "s = sin(t);c = cos(t)");
        QVERIFY(graph);
        graph->setPointsShown(true);
        int crossings = 0;
        for (const tavlix::InterestPoint& p : graph->points()) {
            if (p.kind != tavlix::PointKind::Intersection)
                continue;
            ++crossings;
            const double k = (p.x - M_PI / 4) / M_PI;
            QVERIFY2(std::fabs(k - std::round(k)) < 1e-9, qPrintable(QString::number(p.x)));
        }
        QCOMPARE(crossings, 4);  // from -5 to 10
    }

    // The tangent by a click (or Enter on the keyboard's cross), its label, and its removal; Escape disarms.
    void tangentHasSlopeInItsLabel()
    {
        MainWindowFixture f;
        GraphPage* graph = graphOf(f, "f = t^2");
        QVERIFY(graph);
        const auto runCurves = graph->curves().size();
        f.window->action(Command::TangentAt)->trigger();
        QVERIFY(graph->tangentToolArmed());
        QTest::keyClick(&graph->view(), Qt::Key_Escape);
        QVERIFY(!graph->tangentToolArmed());
        f.window->action(Command::TangentAt)->trigger();
        GraphView& v = graph->view();
        // Clicks land on whole pixels: the tangent at exactly 1 is asked for directly as well.
        v.handlePress(Qt::LeftButton, {}, v.geometry().toPixelX(1), v.geometry().toPixelY(1));
        QCOMPARE(graph->curves().size(), runCurves + 1);
        QVERIFY(graph->curves().back().origin == tavlix::CurveOrigin::Tangent);
        QVERIFY(!graph->tangentToolArmed());
        graph->removeAddition(graph->curves().back().name);
        QCOMPARE(graph->curves().size(), runCurves);
        QVERIFY(graph->labels().empty());
        QVERIFY(graph->addTangent(0, 1));
        QCOMPARE(QString::fromStdString(graph->labels().back().text), QStringLiteral("hældning 2: y = 2·x - 1"));
        const tavlix::Curve& line = graph->curves().back();
        const tavlix::CurvePoint& a = line.points.front();
        const tavlix::CurvePoint& b = line.points.back();
        QVERIFY(std::fabs((b.y - a.y) / (b.x - a.x) - 2) < 1e-9);
    }

    // The area typed in the dialog, under the x axis and between two curves; removed with its label.
    void areaReadsItsIntegral_data()
    {
        QTest::addColumn<QString>("functions");
        QTest::addColumn<int>("other");  // the dialog's second list: 0 is "x-aksen"
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("shaded");  // at least this many pixels change: the label's and the shade's
        QTest::newRow("sin from 0 to pi") << "s = sin(t)" << 0 << "0"
                                          << "3,14159265358979"
                                          << "Areal = 2" << 2000;
        QTest::newRow("between t and t^2") << "g = t;h = t^2" << 2 << "0"
                                           << "1"
                                           << "Areal = 0,166667" << 500;
    }

    void areaReadsItsIntegral()
    {
        QFETCH(QString, functions);
        QFETCH(int, other);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, label);
        QFETCH(int, shaded);
        MainWindowFixture f;
        GraphPage* graph = graphOf(f, functions);
        QVERIFY(graph);
        graph->view().redraw();
        const QImage before = graph->view().picture().copy();
        f.window->action(Command::AreaUnder)->trigger();
        AreaDialog* dialog = graph->areaDialog();
        QVERIFY(dialog && dialog->isVisible());
        dialog->findChild<QComboBox*>("areaOther")->setCurrentIndex(other);
        dialog->findChild<QLineEdit*>("areaFrom")->setText(from);
        dialog->findChild<QLineEdit*>("areaTo")->setText(to);
        QTest::keyClick(dialog->findChild<QLineEdit*>("areaTo"), Qt::Key_Return);
        QTRY_VERIFY(!dialog->isVisible());
        QCOMPARE(graph->areas().size(), size_t(1));
        QCOMPARE(QString::fromStdString(graph->labels().back().text), label);
        // Shaded on the picture, and gone again with the area.
        const QImage& after = graph->view().picture();
        int changed = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x)
                changed += after.pixel(x, y) != before.pixel(x, y);
        QVERIFY2(changed >= shaded, qPrintable(QString::number(changed)));
        graph->removeAddition(graph->areas().back().name);
        QVERIFY(graph->areas().empty());
        QVERIFY(graph->labels().empty());
        QCOMPARE(graph->view().picture(), before);
    }

    // Two clicks give the limits and bring the dialog back with them filled in.
    void areaLimitsByClicks()
    {
        MainWindowFixture f;
        GraphPage* graph = graphOf(f, "s = sin(t)");
        QVERIFY(graph);
        graph->armAreaTool();
        GraphView& v = graph->view();
        const GraphGeometry& g = v.geometry();
        v.handlePress(Qt::LeftButton, {}, g.toPixelX(3), g.toPixelY(0));
        v.handlePress(Qt::LeftButton, {}, g.toPixelX(0), g.toPixelY(0));
        QTRY_VERIFY(graph->areaDialog() && graph->areaDialog()->isVisible());
        double a = 0, b = 0;
        QVERIFY(graph->areaDialog()->limits(a, b));
        QVERIFY(a < b && std::fabs(a) < 0.1 && std::fabs(b - 3) < 0.1);
    }
};

QTEST_MAIN(TestGraphAnalysis)
#include "GraphAnalysisTest.moc"
