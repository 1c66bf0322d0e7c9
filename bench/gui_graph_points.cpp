// How long "Vis punkter" takes in the window: the points of interest of a page of sin and cos over t from -50 to 50
// in 100,000 steps (96 points) found again after a change of view, against the same change with the points off.
#include "graph/GraphView.h"
#include "gui_bench.h"
#include "workspace/GraphPage.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

GraphPage* RunWaves(MainWindow& window)
{
    ScriptPage* page = window.documents().newDocument("bølger.tvx");
    const char* values[] = {"-50", "50", "10", "0", "-2", "2", "1", "0", "-50", "50", "100000"};
    for (int i = 0; i < 11; ++i)
        page->settings()[static_cast<std::size_t>(i)] = values[i];
    page->setLines({"Funktioner", "  s = sin(t)", "  c = cos(t)", "GrafVariable", "  t, s, l1  t, c, l2"});
    window.onRun();
    QApplication::processEvents();
    for (int i = 0; i < window.pageCount(); ++i)
        if (auto* graph = qobject_cast<GraphPage*>(window.page(i))) {
            window.activatePage(graph);
            while (graph->resamplePending())
                QApplication::processEvents();
            return graph;
        }
    return nullptr;
}

// Between the run's view and a slightly narrower one (the run's own points show in both, so no curve is computed
// anew), with the points shown or not.
void ViewChanges(benchmark::State& state, bool points)
{
    BenchWindow w;
    GraphPage* graph = RunWaves(w.window);
    if (!graph) {
        state.SkipWithError("no graph page");
        return;
    }
    graph->setPointsShown(points);
    bool first = false;
    for (auto _ : state) {
        first = !first;
        if (first)
            graph->view().zoom(-50, 49.9, -2, 2);
        else
            graph->view().stepBack();
        while (graph->resamplePending())
            QApplication::processEvents();
    }
    state.counters["points"] = static_cast<double>(graph->points().size());
}

void BM_ViewChangeWithPoints(benchmark::State& state)
{
    ViewChanges(state, true);
}
BENCHMARK(BM_ViewChangeWithPoints)->Unit(benchmark::kMillisecond);

void BM_ViewChangeWithoutPoints(benchmark::State& state)
{
    ViewChanges(state, false);
}
BENCHMARK(BM_ViewChangeWithoutPoints)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
