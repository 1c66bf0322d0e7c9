// Direction fields computed afresh on a 25 × 20 grid, and solutions through a point: the slope field of logistic
// growth and the phase plane of Lotka–Volterra, each from a script compiled and run as the window runs it.
#include "tests/compiler/CompilerTestSupport.h"  // the compiler tests' one-call run and recording host

#include "engine/DirectionField.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace compiler_test;

namespace {

// A grid 25 elements across and 20 down: the picture is 0.8 times as high as it is wide.
constexpr double Aspect = 0.8;

const char* const Logistic = "DifferentialLigninger\n  y' = y*(1 - y)  <0.1>\nGrafVariable\n  t, y, l1";
const char* const LotkaVolterra =
    "DifferentialLigninger\n  x' = x*(1.1 - 0.4*y)  <10>\n  y' = y*(0.1*x - 0.4)  <10>\n"
    "GrafVariable\n  x, y, l1";

// The compiled script of a run, kept as a graph page keeps it; the benchmarks make their fields from it.
struct CompiledRun {
    ScriptCompiler compiler;
    RecordingHost host;
    explicit CompiledRun(const char* script) { RunScript(compiler, script, host, TestSettings("0", "10", "200")); }
    const Model& model() const { return *compiler.lastModel(); }
};

void MeasureElements(benchmark::State& state, const char* script, const ValueRect& area)
{
    CompiledRun run(script);
    std::unique_ptr<DirectionField> field = DirectionField::fromModel(run.model());
    std::size_t count = 0;
    for (auto _ : state) {
        const std::vector<FieldElement> grid = field->elements(area, Aspect);
        count = grid.size();
        benchmark::DoNotOptimize(grid.data());
    }
    state.counters["elements"] = static_cast<double>(count);
}

// The field as a graph page gets it after a run: a copy of the compiled script, then the grid.
void MeasureCopyAndElements(benchmark::State& state, const char* script, const ValueRect& area)
{
    CompiledRun run(script);
    for (auto _ : state) {
        std::unique_ptr<DirectionField> field = DirectionField::fromModel(run.model());
        const std::vector<FieldElement> grid = field->elements(area, Aspect);
        benchmark::DoNotOptimize(grid.data());
    }
}

// The solution through a clicked point, backwards then forwards over the page.
void MeasureSolution(benchmark::State& state, const char* script, const ValueRect& area, double x, double y)
{
    CompiledRun run(script);
    std::unique_ptr<DirectionField> field = DirectionField::fromModel(run.model());
    std::size_t count = 0;
    for (auto _ : state) {
        const std::vector<CurvePoint> points = field->solveThrough(x, y, area);
        count = points.size();
        benchmark::DoNotOptimize(points.data());
    }
    state.counters["points"] = static_cast<double>(count);
}

// Goal: < 50 ms for the grid.
void BM_SlopeFieldLogistic(benchmark::State& state)
{
    MeasureElements(state, Logistic, {0, 10, 0, 1.5});
}
BENCHMARK(BM_SlopeFieldLogistic)->Unit(benchmark::kMicrosecond);

void BM_PhasePlaneLotkaVolterra(benchmark::State& state)
{
    MeasureElements(state, LotkaVolterra, {0, 30, 0, 15});
}
BENCHMARK(BM_PhasePlaneLotkaVolterra)->Unit(benchmark::kMicrosecond);

void BM_SlopeFieldLogisticFromModel(benchmark::State& state)
{
    MeasureCopyAndElements(state, Logistic, {0, 10, 0, 1.5});
}
BENCHMARK(BM_SlopeFieldLogisticFromModel)->Unit(benchmark::kMicrosecond);

void BM_PhasePlaneLotkaVolterraFromModel(benchmark::State& state)
{
    MeasureCopyAndElements(state, LotkaVolterra, {0, 30, 0, 15});
}
BENCHMARK(BM_PhasePlaneLotkaVolterraFromModel)->Unit(benchmark::kMicrosecond);

void BM_SolutionLogistic(benchmark::State& state)
{
    MeasureSolution(state, Logistic, {0, 10, 0, 1.5}, 5, 0.5);
}
BENCHMARK(BM_SolutionLogistic)->Unit(benchmark::kMicrosecond);

void BM_SolutionLotkaVolterra(benchmark::State& state)
{
    MeasureSolution(state, LotkaVolterra, {0, 30, 0, 15}, 10, 5);
}
BENCHMARK(BM_SolutionLotkaVolterra)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
