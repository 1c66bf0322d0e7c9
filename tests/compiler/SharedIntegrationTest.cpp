// Output sections of one run with the same output times share one integration: a later section replays it and
// gives exactly what integrating again would.
#include "tests/compiler/CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tavlix;
using namespace tavlix::test;
using namespace compiler_test;

namespace {

struct SharedRow {
    const char* name;
    const char* declarations;
    const char* table;  // the table section's entries, then the graph's
    const char* graph;
    const char* steps;  // TAntal over t 0 to 10
    const char* relative = "5e-5";
};

struct Outcome {
    RecordingHost host;
    RunResult result;
};

void RunInto(Outcome& o, const std::string& script, const SharedRow& row)
{
    SettingsTexts settings = TestSettings("0", "10", row.steps);
    settings[13] = row.relative;
    ScriptCompiler compiler;
    o.result = RunScript(compiler, script, o.host, settings);
}

class SharedIntegrationTest : public ::testing::TestWithParam<SharedRow> {};

TEST_P(SharedIntegrationTest, ALaterSectionGivesWhatItsOwnIntegrationWould)
{
    const SharedRow& row = GetParam();
    const std::string table = std::string("tabelvariable\n") + row.table + "\n";
    const std::string graph = std::string("grafvariable\n") + row.graph + "\n";
    Outcome shared, tableOnly, graphOnly;
    RunInto(shared, row.declarations + table + graph, row);
    RunInto(tableOnly, row.declarations + table, row);
    RunInto(graphOnly, row.declarations + graph, row);

    ASSERT_EQ(shared.host.tables.size(), 1U);
    ASSERT_EQ(shared.host.graphs.size(), 1U);
    ASSERT_EQ(graphOnly.host.graphs.size(), 1U);
    EXPECT_EQ(shared.host.tables[0]->cells, tableOnly.host.tables[0]->cells);
    const std::vector<RecordedCurve>& curves = shared.host.graphs[0]->curves;
    const std::vector<RecordedCurve>& alone = graphOnly.host.graphs[0]->curves;
    ASSERT_EQ(curves.size(), alone.size());
    for (std::size_t c = 0; c < curves.size(); ++c) {
        SCOPED_TRACE(c);
        ASSERT_EQ(curves[c].points.size(), alone[c].points.size());
        for (std::size_t p = 0; p < curves[c].points.size(); ++p) {
            EXPECT_EQ(curves[c].points[p].x, alone[c].points[p].x) << p;
            EXPECT_EQ(curves[c].points[p].y, alone[c].points[p].y) << p;
        }
        EXPECT_EQ(curves[c].strokeStarts, alone[c].strokeStarts);
    }
    std::vector<std::string> notices = tableOnly.host.notices;
    notices.insert(notices.end(), graphOnly.host.notices.begin(), graphOnly.host.notices.end());
    EXPECT_EQ(shared.host.notices, notices);
    EXPECT_EQ(shared.result.error, graphOnly.result.error);
    EXPECT_EQ(shared.host.statuses, graphOnly.host.statuses);
    // The steps were taken once: the host was asked between them as often as for the table alone.
    EXPECT_EQ(shared.host.keepSteppingCalls, tableOnly.host.keepSteppingCalls);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, SharedIntegrationTest,
    ::testing::Values(
        SharedRow{"Logistic",
                  "konstanter\nr = 0.8\ndifferentialligninger\ny' = r*y*(1 - y/10) <1>\nfunktioner\n"
                  "f = y/(y - 5)\n",
                  "t, y, f", "t, y, l1\nt, f, l2", "40"},
        // Thousands of steps: a second integration would ask the host between steps again.
        SharedRow{"ManySteps", "differentialligninger\nx' = y <1>\ny' = -x <0>\n", "t, x, y", "x, y, l1", "9000"},
        // The steps stop at t = 5; the table's stop ends its page only, and the graph ends where it did.
        SharedRow{"StopInTheEquation", "differentialligninger\ny' = hvis(t > 5, stop, y) <1>\n", "t, y", "t, y, l1",
                  "20"},
        // y reaches 0 at t = 1: the outputs' notices and undefined values come again with the replay.
        SharedRow{"NoticeInAnOutput", "differentialligninger\ny' = -1 <1>\nfunktioner\nf = 1/y\n", "t, y, f",
                  "t, f, l1", "20"},
        // A step over t = 2.5 ends on an output time: its fifth stage computes b there from its own state and
        // leaves it cached, and the outputs read that value.
        SharedRow{"Branches", "differentialligninger\ny' = hvis(t < 2.5, a, b) <1>\nfunktioner\na = 1\nb = y\n",
                  "t, y, a, b", "t, a, l1\nt, b, l2", "7", "1"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
