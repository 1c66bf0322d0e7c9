// A script with a table of 100,000 measured points: its compile must stay under 0.5 s, and the check while typing
// in it within the checker's budget of 250 ms.
#include "compiler/ScriptCompiler.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace tavlix;

namespace {

constexpr int Points = 100000;

// One point a line, as pasted data is written: the time and a measured value with decimals.
std::vector<std::string> BigTableScript()
{
    std::vector<std::string> lines = {"Tabeller", "  maalt = <(0, 1.25),"};
    for (int i = 1; i < Points - 1; ++i)
        lines.push_back("    (" + std::to_string(i) + ".5, " + std::to_string(i % 97) + ".125),");
    lines.push_back("    (1e6, 3.5)>");
    lines.push_back("Funktioner");
    lines.push_back("  f = maalt(t)");
    lines.push_back("GrafVariable");
    lines.push_back("  t, f, l1");
    return lines;
}

void BM_CompileHundredThousandPoints(benchmark::State& state)
{
    const std::vector<std::string> lines = BigTableScript();
    ScriptCompiler compiler;
    for (auto _ : state) {
        const CompiledProgram program = compiler.compile(SettingsTexts{}, lines, {}, {});
        if (program.error != ScriptError::None || program.model->script.tables[1].pointCount != Points)
            state.SkipWithError("the table must compile whole");
    }
}
BENCHMARK(BM_CompileHundredThousandPoints)->Unit(benchmark::kMillisecond);

void BM_CheckHundredThousandPoints(benchmark::State& state)
{
    const std::vector<std::string> lines = BigTableScript();
    ScriptCompiler compiler;
    for (auto _ : state) {
        const RunResult r = compiler.check(lines, std::chrono::milliseconds(250));
        if (r.error != ScriptError::None || r.abandoned)
            state.SkipWithError("the check must get through within its budget");
    }
}
BENCHMARK(BM_CheckHundredThousandPoints)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
