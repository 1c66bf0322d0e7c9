// The whole graph page drawn again with its direction field under the curves, against the same page without it.
#include "graph/GraphView.h"
#include "gui_bench.h"
#include "workspace/GraphPage.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

// Logistic growth over t 0..10 with its slope field's area on show.
GraphPage* RunLogistic(MainWindow& window)
{
    ScriptPage* page = window.documents().newDocument("logistisk.tvx");
    page->settings() = {"0", "10", "1", "0", "0", "1.5", "0.5", "0", "0", "10", "200", "0", "0", "0.00005", "0", "0"};
    page->setLines({"DifferentialLigninger", "  y' = y*(1 - y)  <0.1>", "GrafVariable", "  t, y, l1"});
    window.onRun();
    WaitIdle(window);
    return qobject_cast<GraphPage*>(window.activePage());
}

// Lotka–Volterra drawn as a phase plane, prey across and predators up.
GraphPage* RunLotkaVolterra(MainWindow& window)
{
    ScriptPage* page = window.documents().newDocument("rovdyr.tvx");
    page->settings() = {"0", "30", "5", "0", "0", "15", "5", "0", "0", "30", "1000", "0", "0", "0.00005", "0", "0"};
    page->setLines({"DifferentialLigninger", "  x' = x*(1.1 - 0.4*y)  <10>", "  y' = y*(0.1*x - 0.4)  <10>",
                    "GrafVariable", "  x, y, l1"});
    window.onRun();
    WaitIdle(window);
    return qobject_cast<GraphPage*>(window.activePage());
}

// The page's view cleared, axes, field and curves drawn again, and painted on the screen.
void MeasureRedraw(benchmark::State& state, GraphPage* (*run)(MainWindow&), bool fieldOn)
{
    BenchWindow w;
    GraphPage* graph = run(w.window);
    if (!graph || !graph->directionField() || graph->directionField()->kind() == tavlix::FieldKind::None) {
        state.SkipWithError("the page offers no direction field");
        return;
    }
    graph->setFieldShown(fieldOn);
    QApplication::processEvents();
    if (graph->fieldShown() != fieldOn || !graph->isVisible()) {
        state.SkipWithError("the page is not on show as asked");
        return;
    }
    for (auto _ : state) {
        graph->view().redraw();
        graph->repaint();
    }
}

// "Tilpas graf til vindue" with the field on: a new surface as well.
void MeasureFit(benchmark::State& state, GraphPage* (*run)(MainWindow&))
{
    BenchWindow w;
    GraphPage* graph = run(w.window);
    graph->setFieldShown(true);
    QApplication::processEvents();
    for (auto _ : state) {
        graph->fitToWindow();
        graph->repaint();
    }
}

void BM_RedrawLogisticField(benchmark::State& state)
{
    MeasureRedraw(state, RunLogistic, true);
}
BENCHMARK(BM_RedrawLogisticField)->Unit(benchmark::kMillisecond);

void BM_RedrawLogisticNoField(benchmark::State& state)
{
    MeasureRedraw(state, RunLogistic, false);
}
BENCHMARK(BM_RedrawLogisticNoField)->Unit(benchmark::kMillisecond);

void BM_FitLogisticField(benchmark::State& state)
{
    MeasureFit(state, RunLogistic);
}
BENCHMARK(BM_FitLogisticField)->Unit(benchmark::kMillisecond);

void BM_RedrawPhasePlane(benchmark::State& state)
{
    MeasureRedraw(state, RunLotkaVolterra, true);
}
BENCHMARK(BM_RedrawPhasePlane)->Unit(benchmark::kMillisecond);

void BM_RedrawPhasePlaneNoField(benchmark::State& state)
{
    MeasureRedraw(state, RunLotkaVolterra, false);
}
BENCHMARK(BM_RedrawPhasePlaneNoField)->Unit(benchmark::kMillisecond);

void BM_FitPhasePlaneField(benchmark::State& state)
{
    MeasureFit(state, RunLotkaVolterra);
}
BENCHMARK(BM_FitPhasePlaneField)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
