// The evaluator against the same function compiled natively: f = 3 sin t + sqr(abs(g)) + tab(t)/2 - t*t, g = t/2 + 1.
#include "tests/engine/EngineTestSupport.h"  // the byte-code assembler of the engine tests

#include "engine/Evaluator.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace tavlix;
using namespace tavlix::test;

namespace {

constexpr TablePoint Points[] = {{-BigValue, 0}, {-10, 0}, {-2, 3}, {0, 1}, {1, 4}, {5, -2}, {20, 7}, {BigValue, 7}};
constexpr int PointCount = 6;
constexpr double TStep = 0.001;

std::unique_ptr<Model> MakeModel()
{
    auto m = std::make_unique<Model>();
    m->script.records[0].name = "t";
    PointTable& tab = growTo(m->script.tables, 1);
    tab.points.assign(std::begin(Points), std::end(Points));
    tab.pointCount = PointCount;
    m->script.tableCount = 1;
    const int g = AddRecord(*m, "g", Code().ref(0).num(2).op(OpCode::Div).num(1).op(OpCode::Add));
    // 17 operations: 3 t sin * g abs sqr + t tab 2 / + t t * -
    AddRecord(*m, "f",
              Code()
                  .num(3)
                  .ref(0)
                  .op(OpCode::Sin)
                  .op(OpCode::Mul)
                  .ref(g)
                  .op(OpCode::Abs)
                  .op(OpCode::Sqrt)
                  .op(OpCode::Add)
                  .ref(0)
                  .table(1)
                  .num(2)
                  .op(OpCode::Div)
                  .op(OpCode::Add)
                  .ref(0)
                  .ref(0)
                  .op(OpCode::Mul)
                  .op(OpCode::Sub));
    return m;
}

double NativeTable(double x)
{
    int k = 0;
    while (k < PointCount && x > Points[k + 1].x)
        ++k;
    const TablePoint& p0 = Points[k];
    const TablePoint& p1 = Points[k + 1];
    return p0.y + (x - p0.x) / (p1.x - p0.x) * (p1.y - p0.y);
}

__attribute__((noinline)) double NativeF(double t)
{
    const double g = t / 2 + 1;
    return 3 * std::sin(t) + std::sqrt(std::fabs(g)) + NativeTable(t) / 2 - t * t;
}

// The same function with the evaluator's arithmetic: every operation in extended precision, rounded when stored.
using LD = long double;
__attribute__((noinline)) double NativeExtendedF(double t)
{
    const double g = static_cast<double>(static_cast<double>(LD(t) / 2) + LD(1));
    const double a = static_cast<double>(LD(3) * std::sin(t));
    const double b = static_cast<double>(std::sqrt(LD(std::fabs(g))));
    const double c = static_cast<double>(LD(a) + b);
    const double d = static_cast<double>(LD(NativeTable(t)) / 2);
    const double e = static_cast<double>(LD(c) + d);
    const double f = static_cast<double>(LD(t) * t);
    return static_cast<double>(LD(e) - f);
}

void BM_Evaluator(benchmark::State& state)
{
    auto m = MakeModel();
    NullHost host;
    RunState run;
    run.host = &host;
    double t = -5;
    for (auto _ : state) {
        run.t = t;
        benchmark::DoNotOptimize(valueAt(*m, run, 2));
        t += TStep;
        if (t > 10)
            t = -5;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Evaluator);

void BM_Native(benchmark::State& state)
{
    double t = -5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(NativeF(t));
        t += TStep;
        if (t > 10)
            t = -5;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Native);

void BM_NativeExtended(benchmark::State& state)
{
    double t = -5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(NativeExtendedF(t));
        t += TStep;
        if (t > 10)
            t = -5;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NativeExtended);

}  // namespace

BENCHMARK_MAIN();
