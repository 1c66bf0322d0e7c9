// The accuracy measurement's cost: the Lorenz document's plain run against its reference run and a whole
// measurement (the page again, then the reference), all through the compiler as the window runs them.
#include "compiler/AccuracyCheck.h"
#include "compiler/ScriptCompiler.h"

#include <benchmark/benchmark.h>

using namespace tavlix;

namespace {

// Counts rows and keeps no text: the cost measured is the computation's.
class CountingTable : public TableSink {
public:
    void setColumnCount(int) override {}
    void setRowCount(int n) override { rows_ = n; }
    int rowCount() const override { return rows_; }
    void setCell(int, int, std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
    void showGrid() override {}

private:
    int rows_ = 0;
};

class CountingHost : public NullHost {
public:
    TableSink* createTablePage(const std::string&) override
    {
        table_ = CountingTable();
        return &table_;
    }

private:
    CountingTable table_;
};

const std::vector<std::string> Lorenz = {
    "DifferentialLigninger",   "  x' = 10*(y - x)  <1>", "  y' = x*(28 - z) - y  <1>",
    "  z' = x*y - 8/3*z  <1>", "TabelVariable",          "  t, x, y, z",
};

SettingsTexts lorenzSettings()
{
    SettingsTexts s = defaultSettings();
    s[static_cast<std::size_t>(Setting::Tmin)] = "0";
    s[static_cast<std::size_t>(Setting::Tmax)] = "100";
    s[static_cast<std::size_t>(Setting::TCount)] = "100000";
    s[static_cast<std::size_t>(Setting::TStep)] = "0";
    s[static_cast<std::size_t>(Setting::AbsTolerance)] = "1e-9";
    s[static_cast<std::size_t>(Setting::RelTolerance)] = "1e-8";
    return s;
}

void runOnce(benchmark::State& state, const SettingsTexts& settings)
{
    CountingHost host;
    for (auto _ : state)
        benchmark::DoNotOptimize(ScriptCompiler().run(settings, Lorenz, "lorenz", host).error);
}

void BM_LorenzRun(benchmark::State& state)
{
    runOnce(state, lorenzSettings());
}
BENCHMARK(BM_LorenzRun)->Unit(benchmark::kMillisecond);

void BM_LorenzReferenceRun(benchmark::State& state)
{
    runOnce(state, referenceSettings(lorenzSettings()));
}
BENCHMARK(BM_LorenzReferenceRun)->Unit(benchmark::kMillisecond);

void BM_LorenzMeasurement(benchmark::State& state)
{
    NullHost host;
    for (auto _ : state)
        benchmark::DoNotOptimize(measureAccuracy(lorenzSettings(), Lorenz, 1, host).complete);
}
BENCHMARK(BM_LorenzMeasurement)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
