// A program compiled once and run apart from its compile: the same pages every run, errors after earlier pages.
#include "CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace tavlix;
using namespace compiler_test;

namespace {

// Everything a host was given, as one text: pages with their cells and points, notices, messages.
std::string Transcript(const RecordingHost& host)
{
    std::string text;
    for (const std::string& caption : host.captions)
        text += "page " + caption + "\n";
    for (const auto& table : host.tables)
        for (const auto& row : table->cells)
            for (const std::string& cell : row)
                text += cell + "|";
    for (const auto& graph : host.graphs)
        for (const tavlix::test::RecordedCurve& curve : graph->curves)
            for (const tavlix::test::RecordedPoint& p : curve.points)
                text += std::to_string(p.x) + "," + std::to_string(p.y) + ";";
    for (const std::string& notice : host.notices)
        text += "\nnotice " + notice;
    for (const std::string& status : host.statuses)
        text += "\nstatus " + status;
    return text;
}

struct ProgramCase {
    const char* name;
    std::string script;
    std::size_t pages;
    ScriptError error;
    int caretLine;  // 0-based; -1 without error
};

const ProgramCase Cases[] = {
    {"TwoSections", "funktioner\nf = t^2\ntabelvariable\nf\ngrafvariable\nt, f, l1", 2, ScriptError::None, -1},
    {"ErrorInALaterSectionAfterTheFirstPage", "funktioner\nf = t\ntabelvariable\nf\ntabelvariable\ng", 1,
     ScriptError::UnknownName, 5},
    {"StopEndsOnlyItsOwnPage", "funktioner\nf = hvis(t < 5, t, stop)\ntabelvariable\nf\ntabelvariable\nt", 2,
     ScriptError::None, -1},
    {"StopInTheLastSectionEndsTheRun", "funktioner\nf = hvis(t < 5, t, stop)\ntabelvariable\nf", 1,
     ScriptError::StopConditionMet, 3},
    {"ConstantNoticeShownByEveryRun", "konstanter\na = 1/0\ntabelvariable\nt", 0, ScriptError::CannotCompute, 2},
};

class CompiledProgramRun : public testing::TestWithParam<ProgramCase> {};

TEST_P(CompiledProgramRun, RunsAlikeEveryTimeAndAsTheWholeRun)
{
    const ProgramCase& c = GetParam();
    ScriptCompiler compiler;
    const CompiledProgram program = compiler.compile(TestSettings(), ScriptLines(c.script), {}, {});
    std::string first;
    for (int repeat = 0; repeat < 2; ++repeat) {
        RecordingHost host;
        ProgramRun run(program, host);
        int pages = 0;
        run.execute("doc", pages);
        const RunResult r = run.finish(host);
        EXPECT_EQ(r.error, c.error) << r.message;
        EXPECT_EQ(r.caretLine, c.caretLine);
        EXPECT_EQ(host.captions.size(), c.pages);
        EXPECT_EQ(pages, static_cast<int>(c.pages));
        if (repeat == 0)
            first = Transcript(host);
        else
            EXPECT_EQ(Transcript(host), first);
    }
    RecordingHost whole;
    ScriptCompiler fresh;
    RunScript(fresh, c.script, whole);
    EXPECT_EQ(Transcript(whole), first);
}

INSTANTIATE_TEST_SUITE_P(Compiler, CompiledProgramRun, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<ProgramCase>& info) { return std::string(info.param.name); });

// A refresh tries the run first and then runs: the second compiles nothing, and its pages number on.
TEST(CompiledProgramReuse, RehearsalLeavesTheNumberingAndTheProgramForTheRun)
{
    ScriptCompiler compiler;
    RecordingHost rehearsal, host;
    rehearsal.stopAfter = host.stopAfter = 1'000'000;  // counts the calls of keepGoing
    const std::vector<std::string> lines = ScriptLines("konstanter\na = 2\ntabelvariable\nt");
    compiler.rehearse(TestSettings(), lines, "doc", rehearsal);
    EXPECT_EQ(compiler.resultPageCount(), 0);
    compiler.run(TestSettings(), lines, "doc", host);
    EXPECT_EQ(compiler.resultPageCount(), 1);
    EXPECT_EQ(Transcript(host), Transcript(rehearsal));
    // A compile asks once for its one constant; the run's generation asks as often as the rehearsal's.
    EXPECT_EQ(rehearsal.keepGoingCalls, host.keepGoingCalls + 1);
}

}  // namespace
