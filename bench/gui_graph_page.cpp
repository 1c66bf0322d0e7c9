// How fast a run draws a graph of a million points, and how fast "Tilpas", a zoom and a copy replay it.
#include "graph/GraphView.h"
#include "gui_bench.h"
#include "workspace/GraphPage.h"
#include "workspace/MainWindow.h"
#include "workspace/ScriptPage.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

// A plain function sampled a million times, drawn as a dashed line (the slowest pen).
GraphPage* RunGraph(MainWindow& window)
{
    ScriptPage* page = window.documents().newDocument("graf.tvx");
    page->settings()[10] = "1000000";
    page->setLines({"Funktioner", "  y = 3*sin(t)", "GrafVariable", "  t, y, l2"});
    window.onRun();
    WaitIdle(window);
    return qobject_cast<GraphPage*>(window.activePage());
}

// From "Kør" to the page showing the whole graph: the goal is under 2 s.
void BM_MillionPointGraph(benchmark::State& state)
{
    BenchWindow w;
    for (auto _ : state) {
        GraphPage* graph = RunGraph(w.window);
        benchmark::DoNotOptimize(graph->curves().size());
        state.PauseTiming();
        CloseAll(w.window);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MillionPointGraph)->Unit(benchmark::kMillisecond)->Iterations(2);

// "Tilpas graf til vindue" on a million points: the goal is under 0.5 s.
void BM_TilpasMillionPoints(benchmark::State& state)
{
    BenchWindow w;
    GraphPage* graph = RunGraph(w.window);
    for (auto _ : state) {
        graph->fitToWindow();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_TilpasMillionPoints)->Unit(benchmark::kMillisecond);

// A zoom into a third of the x range replays every point: the goal is under 0.5 s. The zooms alternate between two
// thirds, since a zoom to the ranges already shown does nothing.
void BM_ZoomMillionPoints(benchmark::State& state)
{
    BenchWindow w;
    GraphPage* graph = RunGraph(w.window);
    bool left = false;
    for (auto _ : state) {
        left = !left;
        graph->view().zoom(left ? -5 : 0, left ? 0 : 5, -2, 2);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ZoomMillionPoints)->Unit(benchmark::kMillisecond);

// The copy: SVG and its picture of a million points.
void BM_CopyMillionPoints(benchmark::State& state)
{
    BenchWindow w;
    GraphPage* graph = RunGraph(w.window);
    for (auto _ : state)
        graph->copyToClipboard();
}
BENCHMARK(BM_CopyMillionPoints)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
