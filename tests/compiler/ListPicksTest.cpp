// Which value each list constant takes for a set of picks, and the parameters a run and a check report.
#include "CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tavlix;
using namespace tavlix::test;

namespace {

using namespace compiler_test;

constexpr const char* Script = "konstanter\nK = <0.5, 1, 2, 4>\nc = 3\nb = <10, 20>\nd = K*b";

struct PickRow {
    const char* name;
    ListPicks picks;
    double k, b, d;  // the values of K, b and d = K*b
    int kPick, bPick;
};

class ListPicksTest : public ::testing::TestWithParam<PickRow> {};

TEST_P(ListPicksTest, ConstantsTakeThePickedValues)
{
    const PickRow& row = GetParam();
    ScriptCompiler compiler;
    compiler.setPicks(row.picks);
    RecordingHost host;
    ASSERT_EQ(RunScript(compiler, Script, host).error, ScriptError::None);
    const CompiledScript& s = compiler.lastModel()->script;  // constant 1 is pi
    EXPECT_EQ(s.constantValues[2], row.k);
    EXPECT_EQ(s.constantValues[3], 3.0);
    EXPECT_EQ(s.constantValues[4], row.b);
    EXPECT_EQ(s.constantValues[5], row.d);
    const std::vector<ListParameter>& found = compiler.listParameters();
    ASSERT_EQ(found.size(), 2U);
    EXPECT_EQ(found[0].name, "K");
    EXPECT_EQ(found[0].values, (std::vector<double>{0.5, 1, 2, 4}));
    EXPECT_EQ(found[0].pick, row.kPick);
    EXPECT_EQ(found[1].name, "b");
    EXPECT_EQ(found[1].pick, row.bPick);
}

INSTANTIATE_TEST_SUITE_P(Picks, ListPicksTest,
                         ::testing::Values(PickRow{"None", {}, 0.5, 10, 5, 1, 1},
                                           PickRow{"Third", {{"k", 3}}, 2, 10, 20, 3, 1},
                                           PickRow{"Both", {{"k", 4}, {"b", 2}}, 4, 20, 80, 4, 2},
                                           PickRow{"Last", {{"b", 2}}, 0.5, 20, 10, 1, 2},
                                           PickRow{"BeyondTheList", {{"k", 5}, {"b", 0}}, 0.5, 10, 5, 1, 1},
                                           PickRow{"NoListConstant", {{"c", 2}, {"x", 2}}, 0.5, 10, 5, 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ListPicks, CheckReportsTheParametersAndARunWithoutListsNone)
{
    ScriptCompiler compiler;
    compiler.setPicks({{"k", 2}});
    EXPECT_EQ(compiler.check(ScriptLines(Script), std::chrono::seconds(5)).error, ScriptError::None);
    ASSERT_EQ(compiler.listParameters().size(), 2U);
    EXPECT_EQ(compiler.listParameters()[0].pick, 2);
    RecordingHost host;
    ASSERT_EQ(RunScript(compiler, "konstanter\na = 1", host).error, ScriptError::None);
    EXPECT_TRUE(compiler.listParameters().empty());
}

}  // namespace
