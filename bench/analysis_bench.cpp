// The analyses a lesson runs: the logistic equation's constants fitted to 12 points, and the points of interest of
// a page of 100,000 samples.
#include "tests/analysis/AnalysisTestSupport.h"  // documents from a few numbers and a script text

#include "analysis/ConstantFit.h"
#include "analysis/GraphPages.h"
#include "analysis/InterestPoints.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace analysis_test;
using namespace tavlix;

namespace {

// The exact solution with r = 0.8, k = 10, y(0) = 1 at t = 0 .. 11; the fit starts at r = 0.5, k = 5.
std::string logisticScript()
{
    std::string table;
    for (int t = 0; t < 12; ++t)
        table += (t ? ", (" : "(") + std::to_string(t) + ", " + exact(10 / (1 + 9 * std::exp(-0.8 * t))) + ")";
    return "Konstanter\n  r = 0.5  k = 5\nTabeller\n  data = <" + table +
           ">\nDifferentialLigninger\n  y' = r*y*(1 - y/k)  <1>\nGrafVariable\n  t, y, l1\n";
}

void LogisticFit(benchmark::State& state, double relative)
{
    CompiledDocument document(settingsFor(0, 11, 110, relative / 100, relative), linesOf(logisticScript()));
    int iterations = 0;
    for (auto _ : state) {
        const FitResult fit = ConstantFit(document).fit({"data", "y", {"r", "k"}});
        if (!fit.converged())
            state.SkipWithError("the fit did not converge");
        iterations = fit.iterations;
    }
    state.counters["iterations"] = iterations;
}
BENCHMARK_CAPTURE(LogisticFit, relative_1e_10, 1e-10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LogisticFit, relative_5e_5, 5e-5)->Unit(benchmark::kMillisecond);

// A page of sin and cos over t from -50 to 50 in 100,000 steps: 32 zeros, 32 extremes and 32 crossings each.
const char* const Waves = "Funktioner\n  s = sin(t)\n  c = cos(t)\nGrafVariable\n  t, s, l1  t, c, l2\n";
const SettingsTexts WaveSettings = settingsFor(-50, 50, 100000);

// The search alone, on the page's samples as the window holds them.
void PointsOnPage(benchmark::State& state)
{
    GraphPages pages;
    pages.collect(WaveSettings, linesOf(Waves), "doc");
    CompiledDocument document(WaveSettings, linesOf(Waves));
    document.compile();
    std::size_t found = 0;
    for (auto _ : state) {
        found = InterestPoints(document, pages.pages()[0].curves).find(-50, 50).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["points"] = static_cast<double>(found);
}
BENCHMARK(PointsOnPage)->Unit(benchmark::kMillisecond);

// What batch mode adds for --points: the run again for the samples, the compile, and the search.
void PointsWithRun(benchmark::State& state)
{
    for (auto _ : state) {
        GraphPages pages;
        pages.collect(WaveSettings, linesOf(Waves), "doc");
        CompiledDocument document(WaveSettings, linesOf(Waves));
        document.compile();
        benchmark::DoNotOptimize(InterestPoints(document, pages.pages()[0].curves).find(-50, 50).size());
    }
}
BENCHMARK(PointsWithRun)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
