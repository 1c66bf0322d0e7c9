// How the window answers during a long run: the worst lateness of a 10 ms timer, and the worst time from a queued
// page switch with a key in the editor to its being done, over 10 s of a Lorenz run; then Escape to idle.
#include "gui_bench.h"
#include "workspace/ScriptEditor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr int TickMs = 10;
constexpr int PokeEveryMs = 100;

// The Lorenz system at a tight tolerance over a long span with a million output points: far more than 10 s of
// work, even with the table sharing the graph's integration.
ScriptPage* OpenLongRun(MainWindow& window)
{
    ScriptPage* script = window.documents().newDocument("lang.tvx");
    script->settings() = {"-30", "30",    "10",      "0", "0",     "80",    "10", "0",
                          "0",   "10000", "1000000", "0", "1e-12", "1e-12", "0",  "0"};
    script->setLines({"DifferentialLigninger", "  x' = 10*(y - x)  <1>", "  y' = x*(28 - z) - y  <1>",
                      "  z' = x*y - 8/3*z  <1>", "GrafVariable", "  x, z, l1", "TabelVariable", "  t, x, y, z"});
    return script;
}

void BM_AnswersDuringRun(benchmark::State& state)
{
    BenchWindow w;
    ScriptPage* script = OpenLongRun(w.window);
    const int runMs = static_cast<int>(state.range(0));
    double worstTickMs = 0;
    double worstPokeMs = 0;
    double stopMs = 0;
    for (auto _ : state) {
        w.window.activatePage(script);
        w.window.onRun();
        QElapsedTimer clock;
        clock.start();
        qint64 lastTick = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            worstTickMs = std::max(worstTickMs, static_cast<double>(now - lastTick - TickMs));
            lastTick = now;
        });
        tick.start(TickMs);
        // A page switch and a key in the editor, queued as input is, timed until both are done.
        QTimer poke;
        QObject::connect(&poke, &QTimer::timeout, [&] {
            const qint64 posted = clock.elapsed();
            QMetaObject::invokeMethod(
                &w.window,
                [&, posted] {
                    const int next = (w.window.tabs()->currentIndex() + 1) % w.window.pageCount();
                    w.window.activatePage(w.window.page(next));
                    w.window.activatePage(script);
                    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
                    QApplication::sendEvent(script->editor(), &key);
                    worstPokeMs = std::max(worstPokeMs, static_cast<double>(clock.elapsed() - posted));
                },
                Qt::QueuedConnection);
        });
        poke.start(PokeEveryMs);
        while (clock.elapsed() < runMs && w.window.running())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!w.window.running()) {
            state.SkipWithError("the run ended before the measurement did");
            break;
        }
        tick.stop();
        poke.stop();
        QElapsedTimer escape;
        escape.start();
        w.window.action(Command::Stop)->trigger();
        WaitIdle(w.window);
        stopMs = std::max(stopMs, escape.nsecsElapsed() / 1e6);
        state.PauseTiming();
        while (w.window.pageCount() > 1) {
            w.window.activatePage(w.window.page(w.window.pageCount() - 1));
            w.window.documents().closePage();
        }
        state.ResumeTiming();
    }
    state.counters["worst_tick_late_ms"] = worstTickMs;
    state.counters["worst_switch_key_ms"] = worstPokeMs;
    state.counters["escape_to_idle_ms"] = stopMs;
}
BENCHMARK(BM_AnswersDuringRun)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
