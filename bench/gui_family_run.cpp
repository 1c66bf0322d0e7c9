// A family of 40 Lorenz runs of 100,000 output points each drawn on one graph page: its time, its peak memory,
// and how soon the Stop command (Escape) ends it.
#include "gui_bench.h"
#include "workspace/GraphPage.h"
#include "workspace/ParameterBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Members = 40;

double MsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// A field of /proc/self/status in MB ("VmRSS", "VmHWM"); 0 where the system does not say.
double StatusMb(const char* field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

// Starts the peak (VmHWM) afresh at the present resident size, so that each measurement has its own.
void ResetPeak()
{
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// The Lorenz system with rho (here k) taking 40 values, drawn as z against x; t 0 to 100 at the tolerances of the
// engine benchmark.
ScriptPage* OpenLorenzFamily(MainWindow& window)
{
    QStringList values;
    for (int i = 0; i < Members; ++i)
        values << QString::number(10 + i);
    ScriptPage* script = window.documents().newDocument("lorenz.tvx");
    script->settings() = {"-30", "30",  "10",     "0", "0",    "80",   "10", "0",
                          "0",   "100", "100000", "0", "1e-9", "1e-8", "0",  "0"};
    script->setLines({"Konstanter", "  k = <" + values.join(", ") + ">", "DifferentialLigninger",
                      "  x' = 10*(y - x)  <1>", "  y' = x*(k - z) - y  <1>", "  z' = x*y - 8/3*z  <1>", "GrafVariable",
                      "  x, z, l1"});
    window.onRun();
    WaitIdle(window);
    return script;
}

GraphPage* FirstGraph(MainWindow& window)
{
    for (int i = 0; i < window.pageCount(); ++i)
        if (auto* graph = qobject_cast<GraphPage*>(window.page(i)))
            return graph;
    return nullptr;
}

// Turns "Skare" on (the whole family runs before this returns) and lets the window paint and go idle.
void RunFamily(MainWindow& window, GraphPage* graph, bool on)
{
    window.parameterBar()->familyBox(0)->setChecked(on);
    WaitIdle(window);
    graph->repaint();
}

// "Skare" on the 40 values from a single run: goal < 2 GB peak.
void BM_LorenzFamily(benchmark::State& state)
{
    BenchWindow w;
    OpenLorenzFamily(w.window);
    double worstPeak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        GraphPage* graph = FirstGraph(w.window);
        const double rssBefore = StatusMb("VmRSS");
        ResetPeak();
        const Clock::time_point start = Clock::now();
        const auto stopAfter = std::chrono::milliseconds(state.range(0));
        state.ResumeTiming();
        RunFamily(w.window, graph, true);
        state.PauseTiming();
        const double ms = MsBetween(start, Clock::now());
        const double peak = StatusMb("VmHWM");
        const double rssAfter = StatusMb("VmRSS");
        worstPeak = std::max(worstPeak, peak);
        std::fprintf(stderr,
                     "family: %.0f ms, RSS %.0f MB before, %.0f MB after (%.1f MB per member), peak %.0f MB, "
                     "%zu curves, %lld points\n",
                     ms, rssBefore, rssAfter, (rssAfter - rssBefore) / (Members - 1), peak, graph->curves().size(),
                     graph->storedPoints());
        RunFamily(w.window, graph, false);
        state.ResumeTiming();
    }
    state.counters["peak_mb"] = worstPeak;
}
BENCHMARK(BM_LorenzFamily)->Unit(benchmark::kMillisecond)->Iterations(3);

// Escape the argument's milliseconds into the family run: from the key to the window idle again, and the part of it
// until the window took the key. Runs pass pending events on at most every 0.2 s, so a key just after a pass waits
// longest.
void BM_StopLorenzFamily(benchmark::State& state)
{
    BenchWindow w;
    OpenLorenzFamily(w.window);
    double worstStopMs = 0;
    for (auto _ : state) {
        GraphPage* graph = FirstGraph(w.window);
        std::atomic<Clock::time_point> pressed{};
        std::atomic<Clock::time_point> taken{};
        const Clock::time_point start = Clock::now();
        const auto stopAfter = std::chrono::milliseconds(state.range(0));
        // The key comes from outside the run, as the system would queue it, and is handled at the next pump.
        std::thread escape([&] {
            std::this_thread::sleep_until(start + stopAfter);
            pressed = Clock::now();
            QMetaObject::invokeMethod(
                &w.window,
                [&] {
                    taken = Clock::now();
                    w.window.action(Command::Stop)->trigger();
                },
                Qt::QueuedConnection);
        });
        RunFamily(w.window, graph, true);
        const Clock::time_point idle = Clock::now();
        escape.join();
        const double stopMs = MsBetween(pressed, idle);
        worstStopMs = std::max(worstStopMs, stopMs);
        std::fprintf(stderr, "stop: %.0f ms from the key to idle (taken after %.0f ms), run %.0f ms, %zu curves\n",
                     stopMs, MsBetween(pressed, taken), MsBetween(start, idle), graph->curves().size());
        state.SetIterationTime(stopMs / 1000);
        state.PauseTiming();
        RunFamily(w.window, graph, false);
        state.ResumeTiming();
    }
    state.counters["worst_stop_ms"] = worstStopMs;
}
BENCHMARK(BM_StopLorenzFamily)->Arg(300)->Arg(210)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
