// The parameter bar: its sliders follow the active document, and a slider move runs into the same pages.
#include "MainWindowFixture.h"

#include "graph/GraphLegend.h"
#include "graph/GraphView.h"
#include "workspace/GraphPage.h"
#include "workspace/ParameterBar.h"
#include "workspace/TablePage.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>

namespace {

const QStringList Decay{"Konstanter",   "  k = <0.5, 1, 2, 4>", "  a = 3",       "Funktioner", "  f = k*t",
                        "GrafVariable", "  t, f, l1",           "TabelVariable", "  t, f"};

tavlix::SettingsTexts FewPoints()
{
    tavlix::SettingsTexts s = tavlix::defaultSettings();
    s[9] = "1";
    s[10] = "4";
    return s;
}

}  // namespace

class TestParameterBar : public QObject {
    Q_OBJECT
private slots:
    // The table pages and the bar write the Danish decimal comma.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark)); }

    void barFollowsTheActiveDocument()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = FewPoints();
        ScriptPage* plain = f.script({"Funktioner", "  f = t", "TabelVariable", "  t, f"}, &s);
        QVERIFY(f.run());
        ParameterBar* bar = f.window->parameterBar();
        QVERIFY(bar->isHidden());
        ScriptPage* decay = f.script(Decay, &s);
        QVERIFY(f.run());
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->sliderCount(), 1);
        QCOMPARE(bar->slider(0)->maximum(), 4);
        QCOMPARE(bar->valueLabel(0)->text(), QString("k = 0,5"));
        f.window->activatePage(decay);
        QVERIFY(bar->isVisible());
        f.window->activatePage(plain);
        QVERIFY(bar->isHidden());
    }

    void aSliderRunRefillsTheSamePages_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("lastCell");  // f at t = 1
        QTest::newRow("right") << int(Qt::Key_Right) << "k = 1"
                               << "1";
        QTest::newRow("end") << int(Qt::Key_End) << "k = 4"
                             << "4";
        QTest::newRow("page up") << int(Qt::Key_PageUp) << "k = 1"
                                 << "1";
        QTest::newRow("home") << int(Qt::Key_Home) << "k = 0,5"
                              << "0,5";
    }

    void aSliderRunRefillsTheSamePages()
    {
        QFETCH(int, key);
        QFETCH(QString, shown);
        QFETCH(QString, lastCell);
        MainWindowFixture f;
        tavlix::SettingsTexts s = FewPoints();
        f.script(Decay, &s);
        QVERIFY(f.run());
        QCOMPARE(f.window->pageCount(), 3);
        QPointer<GraphPage> graph = qobject_cast<GraphPage*>(f.window->page(1));
        QPointer<TablePage> table = qobject_cast<TablePage*>(f.window->page(2));
        QVERIFY(graph && table);
        graph->view().zoom(0, 0.5, 0, 2);
        f.window->activatePage(table);
        QSlider* slider = f.window->parameterBar()->slider(0);
        slider->setFocus();
        QTest::keyClick(slider, static_cast<Qt::Key>(key));
        QVERIFY(f.waitIdle());
        // The user stays on the page, with the slider in hand for the next step.
        QCOMPARE(f.window->activePage(), static_cast<Page*>(table.data()));
        QVERIFY(slider->hasFocus());
        QCOMPARE(f.window->pageCount(), 3);
        QCOMPARE(f.window->page(1), graph.data());
        QCOMPARE(f.window->page(2), table.data());
        QCOMPARE(graph->caption(), QString("test.tvx-1"));
        QCOMPARE(f.window->parameterBar()->valueLabel(0)->text(), shown);
        QCOMPARE(table->cellText(1, 5).trimmed(), lastCell);
        QCOMPARE(graph->view().view()[tavlix::Setting::Xmax], 0.5);
        // Back at the run's view, the curve holds the run's own points again: the table's values.
        QTRY_VERIFY(!graph->resamplePending());
        QVERIFY(graph->view().stepBack());
        QTRY_VERIFY(!graph->showsResampledCurves());
        QCOMPARE(graph->curves()[0].points.back().y, lastCell.replace(',', '.').toDouble());
    }

    // "Skare" draws every value's curve on the graph, named in the legend; the table keeps the current value.
    void aFamilyDrawsEveryValue()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = FewPoints();
        f.script(Decay, &s);
        QVERIFY(f.run());
        auto* graph = qobject_cast<GraphPage*>(f.window->page(1));
        auto* table = qobject_cast<TablePage*>(f.window->page(2));
        ParameterBar* bar = f.window->parameterBar();
        bar->slider(0)->setValue(2);
        QVERIFY(f.waitIdle());
        QSignalSpy shown(f.window->tabs(), &QTabWidget::currentChanged);
        bar->familyBox(0)->setChecked(true);
        QVERIFY(f.waitIdle());
        QCOMPARE(shown.count(), 0);  // the view stays on the graph while the table fills
        QCOMPARE(f.window->activePage(), static_cast<Page*>(graph));
        QCOMPARE(f.window->pageCount(), 3);
        QCOMPARE(f.window->page(1), static_cast<Page*>(graph));
        QCOMPARE(graph->curves().size(), std::size_t(4));
        QStringList names;
        for (const GraphLegend::Entry& e : GraphLegend::entries(graph->curves()))
            names << e.name;
        QCOMPARE(names, QStringList({"k = 0,5", "k = 1", "k = 2", "k = 4"}));
        QCOMPARE(graph->curves()[0].familyCurrent, true);
        QCOMPARE(graph->curves()[3].points.back().y, 4.0);
        QCOMPARE(table->cellText(1, 5).trimmed(), QString("1"));
        QVERIFY(bar->familyBox(0)->isChecked());
        bar->familyBox(0)->setChecked(false);
        QVERIFY(f.waitIdle());
        QCOMPARE(graph->curves().size(), std::size_t(1));
        QCOMPARE(graph->curves()[0].familyMember, 0);
    }

    // A slider move on a script broken since its run reports as a run does; the slider stays where it was put.
    void aFailedSliderRunKeepsThePosition()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = FewPoints();
        ScriptPage* script = f.script(Decay, &s);
        QVERIFY(f.run());
        QStringList broken = Decay;
        broken[4] = "  f = k*";
        script->setLines(broken);
        f.window->activatePage(f.window->page(1));
        QSlider* slider = f.window->parameterBar()->slider(0);
        slider->setValue(3);
        QVERIFY(f.waitIdle());
        QCOMPARE(f.window->activePage(), static_cast<Page*>(script));
        QVERIFY(!f.window->status(StatusField::Message).isEmpty());
        QVERIFY(f.window->page(1)->isOutOfDate());
        QCOMPARE(f.window->parameterBar()->slider(0)->value(), 3);
        QCOMPARE(script->parameters()[0].pick, 3);
    }

    // A slider run of a script whose lists changed since its run makes the bar anew while the moved slider is
    // still handling the key: the slider outlives its own event, then goes.
    void aSliderRunThatChangesTheListsKeepsTheSliderAlive()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = FewPoints();
        ScriptPage* script = f.script(Decay, &s);
        QVERIFY(f.run());
        QStringList changed = Decay;
        changed[1] = "  k = <1, 2>";
        script->setLines(changed);
        f.window->activatePage(f.window->page(2));
        QPointer<QSlider> moved = f.window->parameterBar()->slider(0);
        moved->setFocus();
        QTest::keyPress(moved, Qt::Key_Right);
        QVERIFY(moved);
        QTest::keyRelease(moved, Qt::Key_Right);
        QVERIFY(f.waitIdle());
        QTRY_VERIFY(moved.isNull());
        ParameterBar* bar = f.window->parameterBar();
        QCOMPARE(bar->sliderCount(), 1);
        QCOMPARE(bar->slider(0)->maximum(), 2);
        QCOMPARE(bar->valueLabel(0)->text(), QString("k = 2"));
        QCOMPARE(qobject_cast<TablePage*>(f.window->page(2))->cellText(1, 5).trimmed(), QString("2"));
        QVERIFY(bar->slider(0)->hasFocus());
    }
};

QTEST_MAIN(TestParameterBar)
#include "ParameterBarTest.moc"
