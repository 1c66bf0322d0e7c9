// The check while typing on a 1,000-line script: it must stay well under 5 ms so typing never waits for it.
#include "compiler/ScriptColouring.h"
#include "compiler/ScriptCompiler.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace tavlix;

namespace {

// 1,000 lines within the model's limits: constants, a table, differential equations, functions with conditions
// written over several lines, and comments before every function.
std::vector<std::string> ThousandLines()
{
    std::vector<std::string> lines = {"(* a long script *)", "Konstanter"};
    for (int i = 0; i < 30; ++i)
        lines.push_back("  c" + std::to_string(i) + " = " + std::to_string(i) + ".5*pi/(1 + " + std::to_string(i) +
                        ")   (* constant " + std::to_string(i) + " *)");
    lines.push_back("Tabeller");
    lines.push_back("  maalt = <(0, 1), (2, 3.9), (4, 8.1), (6, 9.6), (8, 9.9)>");
    lines.push_back("DifferentialLigninger");
    for (int i = 0; i < 10; ++i)
        lines.push_back("  y" + std::to_string(i) + "' = 0.8*y" + std::to_string(i) + "*(1 - y" + std::to_string(i) +
                        "/10)   <1>");
    lines.push_back("Funktioner");
    for (int f = 0; lines.size() < 990; ++f) {
        for (int c = 0; c < 38; ++c)
            lines.push_back("  (* function " + std::to_string(f) + ", note " + std::to_string(c) + " *)");
        lines.push_back("  f" + std::to_string(f) + " = hvis(t < c1 og t > 0,");
        for (int k = 0; k < 8; ++k)
            lines.push_back("        c" + std::to_string(k) + "*sin(t) +");
        lines.push_back("        maalt(t), exp(-t))");
    }
    lines.push_back("GrafVariable");
    while (lines.size() < 1000)
        lines.push_back("  t, y1, l1");
    return lines;
}

void BM_CheckThousandLines(benchmark::State& state)
{
    const std::vector<std::string> lines = ThousandLines();
    ScriptCompiler compiler;
    for (auto _ : state) {
        const RunResult r = compiler.check(lines, std::chrono::milliseconds(250));
        if (r.error != ScriptError::None || r.abandoned)
            state.SkipWithError(
                ("the script must check clean: " + r.message + " at line " + std::to_string(r.caretLine + 1)).c_str());
    }
}
BENCHMARK(BM_CheckThousandLines)->Unit(benchmark::kMillisecond);

// The same script misspelt at its last function: the whole script is read, then the hint weighs every declared name.
void BM_CheckThousandLinesWithHint(benchmark::State& state)
{
    std::vector<std::string> lines = ThousandLines();
    const auto last = std::find_if(lines.rbegin(), lines.rend(),
                                   [](const std::string& line) { return line.find("maalt(t)") != std::string::npos; });
    last->replace(last->find("maalt"), 5, "malt");
    ScriptCompiler compiler;
    for (auto _ : state) {
        const RunResult r = compiler.check(lines, std::chrono::milliseconds(250));
        if (r.hint != "Mente du maalt?")
            state.SkipWithError(("the check must find the misspelling: " + r.message + " / " + r.hint).c_str());
    }
}
BENCHMARK(BM_CheckThousandLinesWithHint)->Unit(benchmark::kMillisecond);

void BM_ColourThousandLines(benchmark::State& state)
{
    const std::vector<std::string> lines = ThousandLines();
    std::vector<ColouredSpan> spans;
    for (auto _ : state) {
        bool inComment = false;
        for (const std::string& line : lines)
            inComment = colourLine(line, inComment, spans);
        benchmark::DoNotOptimize(inComment);
    }
}
BENCHMARK(BM_ColourThousandLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
