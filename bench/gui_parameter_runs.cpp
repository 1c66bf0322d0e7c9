// How long a slider step takes from the key press to the repainted graph: the document runs again with the next
// value of its list constant, into the pages of its last run.
#include "gui_bench.h"
#include "workspace/GraphPage.h"
#include "workspace/ParameterBar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QSlider>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

// Counts the runs the window starts: each one turns the run command into "Afbryd" until it ends.
class RunCounter {
public:
    explicit RunCounter(MainWindow& window) : window_(window)
    {
        connection_ = QObject::connect(window.action(Command::Run), &QAction::changed, [this] {
            if (window_.running() && !running_)
                ++count_;
            running_ = window_.running();
        });
    }
    ~RunCounter() { QObject::disconnect(connection_); }
    int count() const { return count_; }

private:
    MainWindow& window_;
    QMetaObject::Connection connection_;
    bool running_ = false;
    int count_ = 0;
};

// The fastest and slowest of the timed steps, beside the mean Google Benchmark reports.
struct StepRange {
    double minMs = 1e300;
    double maxMs = 0;
    void add(double ms)
    {
        minMs = std::min(minMs, ms);
        maxMs = std::max(maxMs, ms);
    }
};

GraphPage* FirstGraph(MainWindow& window)
{
    for (int i = 0; i < window.pageCount(); ++i)
        if (auto* graph = qobject_cast<GraphPage*>(window.page(i)))
            return graph;
    return nullptr;
}

// An example document with one constant's line changed so that the constant takes a list of values.
ScriptPage* OpenExampleWithList(MainWindow& window, const QString& file, const QString& line, const QString& listed)
{
    window.documents().exampleDir = QStringLiteral(TAVLIX_EXAMPLES_DIR "/");
    window.documents().openDocument(window.documents().exampleDir + file);  // opens as an untitled copy
    ScriptPage* script = window.activeScriptPage();
    QStringList lines = script->lines();
    for (QString& l : lines)
        if (l.trimmed() == line)
            l = listed;
    script->setLines(lines);
    return script;
}

// The slider moves one value as the arrow key moves it, turning back at either end; the graph page on show then
// paints what the run drew.
void StepOnce(QSlider* slider, GraphPage* graph, int& direction)
{
    if (slider->value() == slider->maximum())
        direction = -1;
    else if (slider->value() == slider->minimum())
        direction = 1;
    const Qt::Key key = direction > 0 ? Qt::Key_Right : Qt::Key_Left;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(slider, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(slider, &release);
    WaitIdle(*qobject_cast<MainWindow*>(slider->window()));
    graph->repaint();
}

// Runs the document once ("Kør"), shows its graph with the slider in hand, then times the steps.
void MeasureSteps(benchmark::State& state, MainWindow& window, ScriptPage* script)
{
    QElapsedTimer clock;
    clock.start();
    window.onRun();
    WaitIdle(window);
    GraphPage* graph = FirstGraph(window);
    if (!graph) {
        state.SkipWithError("the document made no graph page");
        return;
    }
    graph->repaint();
    const double firstRunMs = clock.nsecsElapsed() / 1e6;
    window.activatePage(graph);
    QSlider* slider = window.parameterBar()->slider(0);
    slider->setFocus();
    QApplication::processEvents();
    RunCounter runs(window);
    StepRange range;
    int direction = 1;
    for (auto _ : state) {
        clock.restart();
        StepOnce(slider, graph, direction);
        range.add(clock.nsecsElapsed() / 1e6);
    }
    // A step that left the graph hidden would have timed no painting.
    if (window.activePage() != graph || !graph->isVisible())
        state.SkipWithError("the graph page was not on show after the steps");
    state.counters["run_ms"] = firstRunMs;
    state.counters["min_ms"] = range.minMs;
    state.counters["max_ms"] = range.maxMs;
    state.counters["runs_per_step"] = static_cast<double>(runs.count()) / static_cast<double>(state.iterations());
    state.counters["points"] = static_cast<double>(graph->storedPoints());
    benchmark::DoNotOptimize(script->parameters().size());
}

// The logistic example (51 points of the equation, its exact solution and the measured points): goal < 100 ms.
void BM_SliderStepSimpel(benchmark::State& state)
{
    BenchWindow w;
    ScriptPage* script = OpenExampleWithList(w.window, "simpel.tvx", "r = 0.8    k = 10",
                                             "  r = <0.2, 0.4, 0.6, 0.8, 1, 1.2, 1.4, 1.6>    k = 10");
    MeasureSteps(state, w.window, script);
}
BENCHMARK(BM_SliderStepSimpel)->Unit(benchmark::kMillisecond)->Iterations(40);

// The two sines and their sum (201 points each): goal < 100 ms.
void BM_SliderStep2sin(benchmark::State& state)
{
    BenchWindow w;
    ScriptPage* script =
        OpenExampleWithList(w.window, "2sin.tvx", "a = 2    k = 3", "  a = 2    k = <1, 2, 3, 4, 5, 6, 7, 8>");
    MeasureSteps(state, w.window, script);
}
BENCHMARK(BM_SliderStep2sin)->Unit(benchmark::kMillisecond)->Iterations(40);

// Logistic growth solved to 100,000 output points, the growth rate on the slider: goal < 0.5 s.
void BM_SliderStepOde100k(benchmark::State& state)
{
    BenchWindow w;
    ScriptPage* script = w.window.documents().newDocument("logistisk.tvx");
    tavlix::SettingsTexts& s = script->settings();
    s = {"0", "20", "2", "0", "0", "12", "2", "0", "0", "20", "100000", "0", "0", "0.00005", "0", "0"};
    script->setLines({"Konstanter", "  r = <0.2, 0.4, 0.8, 1.6, 3.2>    k = 10", "DifferentialLigninger",
                      "  y' = r*y*(1 - y/k)   <1>", "GrafVariable", "  t, y, l1"});
    MeasureSteps(state, w.window, script);
}
BENCHMARK(BM_SliderStepOde100k)->Unit(benchmark::kMillisecond)->Iterations(12);

}  // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
