// The names a graph's curves carry into the legend: the y variable as written when x is t, else "(x, y)".
#include "tests/compiler/CompilerTestSupport.h"

#include <gtest/gtest.h>

using namespace tavlix;
using namespace tavlix::test;
using namespace compiler_test;

namespace {

struct NameCase {
    const char* script;
    std::vector<std::string> names;
};

class CurveNameCase : public testing::TestWithParam<NameCase> {};

TEST_P(CurveNameCase, LegendNamesFollowTheOutputSection)
{
    RecordingHost host;
    ScriptCompiler compiler;
    const RunResult result = RunScript(compiler, GetParam().script, host, TestSettings("0", "1", "2"));
    ASSERT_EQ(result.error, ScriptError::None) << result.message;
    ASSERT_EQ(host.graphs.size(), 1u);
    EXPECT_EQ(host.graphs[0]->names, GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(Scripts, CurveNameCase,
                         testing::Values(
                             // The case as the user wrote it in the output section, not as declared.
                             NameCase{"funktioner\nFart = t^2\ngrafvariable\nt, fART, l1", {"fART"}},
                             NameCase{"funktioner\nf = t\ng = 2*t\ngrafvariable\nf, g, m3", {"(f, g)"}},
                             NameCase{"funktioner\nf = t\ngrafvariable\nt, f, l1  f, t, l2  T, f, m6",
                                      {"f", "(f, t)", "f"}},
                             NameCase{"differentialligninger\ny' = y <1>\ngrafvariable\nt, y, l2", {"y"}}));

}  // namespace
