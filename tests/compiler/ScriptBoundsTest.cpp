// A script at each of its bounds compiles and runs; one beyond is refused (see the error report's table).
#include "CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace tavlix;
using namespace compiler_test;

namespace {

struct BoundCase {
    const char* name;
    std::string script;
};

const BoundCase Cases[] = {
    {"Constants", "konstanter\n" + Numbered(2, MaxConsts, "c", " = 1\n")},  // pi is the first
    {"Records", "funktioner\n" + Numbered(1, MaxRecords, "f", " = 1\n")},
    {"Tables", "tabeller\n" + Numbered(1, MaxTables, "d", " = <(0, 0)>\n")},
    {"Outputs", "tabelvariable\nt" + Repeated(", t", MaxOutputs - 1)},
    {"LongExpression", "funktioner\nf = 1" + Numbered(2, 20000, "+", "") + "\ntabelvariable\nf"},
};

class ScriptBounds : public testing::TestWithParam<BoundCase> {};

TEST_P(ScriptBounds, AreReachedWithoutError)
{
    ScriptCompiler compiler;
    RecordingHost host;
    const RunResult r = RunScript(compiler, GetParam().script, host);
    EXPECT_EQ(r.error, ScriptError::None) << r.message;
}

INSTANTIATE_TEST_SUITE_P(Compiler, ScriptBounds, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<BoundCase>& info) { return std::string(info.param.name); });

// The stack holds a chain of as many levels as it has entries; one more is refused (see the error report's table).
TEST(ScriptBoundsStack, HoldsAChainAsDeepAsItsSize)
{
    ScriptCompiler compiler;
    RecordingHost host;
    EXPECT_EQ(RunScript(compiler, StackChain(StackSize), host).error, ScriptError::None);
}

}  // namespace
