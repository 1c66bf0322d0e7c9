// How long a zoom step takes when the page computes its curves anew for the view: the two examples, and logistic
// growth with 100,000 output points zoomed far enough in that the run's points are too sparse.
#include "graph/GraphView.h"
#include "gui_bench.h"
#include "workspace/GraphPage.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

GraphPage* FirstGraph(MainWindow& window)
{
    for (int i = 0; i < window.pageCount(); ++i)
        if (auto* graph = qobject_cast<GraphPage*>(window.page(i))) {
            window.activatePage(graph);
            return graph;
        }
    return nullptr;
}

GraphPage* RunExample(MainWindow& window, const QString& file)
{
    window.documents().exampleDir = QStringLiteral(TAVLIX_EXAMPLES_DIR "/");
    window.documents().openDocument(window.documents().exampleDir + file);  // opens as an untitled copy
    window.onRun();
    WaitIdle(window);
    return FirstGraph(window);
}

GraphPage* RunLongEquation(MainWindow& window)
{
    ScriptPage* page = window.documents().newDocument("logistisk.tvx");
    const char* values[] = {"0", "100", "10", "0", "0", "12", "1", "0", "0", "100", "100000"};
    for (int i = 0; i < 11; ++i)
        page->settings()[static_cast<std::size_t>(i)] = values[i];
    page->setLines({"DifferentialLigninger", "  y' = 0.1*y*(1 - y/10)   <0.1>", "GrafVariable", "  t, y, l1"});
    window.onRun();
    WaitIdle(window);
    return FirstGraph(window);
}

// One zoom into a, then b, alternating (a zoom to the ranges shown does nothing), until the page shows the
// curves computed for the view.
void ZoomSteps(benchmark::State& state, GraphPage* graph, ValueRect a, ValueRect b)
{
    if (!graph) {
        state.SkipWithError("no graph page");
        return;
    }
    bool first = false;
    for (auto _ : state) {
        first = !first;
        const ValueRect& r = first ? a : b;
        graph->view().zoom(r.xmin, r.xmax, r.ymin, r.ymax);
        while (graph->resamplePending())
            QApplication::processEvents();
        if (!graph->showsResampledCurves())
            state.SkipWithError("the curves were not computed anew");
    }
}

// A third of 2sin.tvx's x range, either half of the y range: the goal is under 100 ms.
void BM_ZoomTwoSines(benchmark::State& state)
{
    BenchWindow w;
    ZoomSteps(state, RunExample(w.window, QStringLiteral("2sin.tvx")), {0, 2.1, -4, 0}, {2.1, 4.2, 0, 4});
}
BENCHMARK(BM_ZoomTwoSines)->Unit(benchmark::kMillisecond);

// A third of simpel.tvx's t range (its equation integrated from TMin): the goal is under 100 ms.
void BM_ZoomLogisticExample(benchmark::State& state)
{
    BenchWindow w;
    ZoomSteps(state, RunExample(w.window, QStringLiteral("simpel.tvx")), {3, 6, 0, 12}, {6, 9, 0, 12});
}
BENCHMARK(BM_ZoomLogisticExample)->Unit(benchmark::kMillisecond);

// 100,000 points over t from 0 to 100, zoomed to 0.4 of it halfway and at 60: integrated from TMin each time.
void BM_ZoomLongEquation(benchmark::State& state)
{
    BenchWindow w;
    ZoomSteps(state, RunLongEquation(w.window), {50, 50.4, 5, 6}, {60, 60.4, 7, 8});
}
BENCHMARK(BM_ZoomLongEquation)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
