// Two runs at once: each has its own model and run state, so one run made in the middle of another changes
// nothing of the other's t, failures, notices or pages.
#include "engine/OutputGenerator.h"
#include "tests/compiler/CompilerTestSupport.h"

#include <gtest/gtest.h>

using namespace tavlix;
using namespace tavlix::test;
using namespace compiler_test;

namespace {

// Runs a second script to its end at the first pause of the run it serves.
class InterleavingHost : public RecordingHost {
public:
    bool keepGoing() override
    {
        if (!innerDone_) {
            innerDone_ = true;
            ScriptCompiler inner;
            innerResult = RunScript(inner, "funktioner\nf = 1/(t-3)\ntabelvariable\nf", innerHost);
        }
        return RecordingHost::keepGoing();
    }
    RecordingHost innerHost;
    RunResult innerResult;

private:
    bool innerDone_ = false;
};

TEST(SideBySideRuns, ARunInsideAnotherLeavesItUntouched)
{
    InterleavingHost host;
    ScriptCompiler outer;
    // The outer run fails at t = 4 with its own name; the inner one divides by zero at t = 3 and goes on.
    const RunResult result =
        RunScript(outer, "funktioner\ng = sqr(4-t)\nh = 2*g\ntabelvariable\nt, h", host, TestSettings("0", "10", "10"));

    ASSERT_EQ(host.tables.size(), 1u);
    EXPECT_EQ(host.tables[0]->cells[1][1], formatCell(4, '.'));
    EXPECT_EQ(host.tables[0]->cells[6][1], "Fejl");
    EXPECT_EQ(result.error, ScriptError::None);
    EXPECT_TRUE(host.notices.empty());  // the inner run's notice went to its own host

    EXPECT_EQ(host.innerResult.error, ScriptError::None);
    ASSERT_EQ(host.innerHost.tables.size(), 1u);
    EXPECT_EQ(host.innerHost.tables[0]->cells[4][0], "Fejl");
    EXPECT_EQ(host.innerHost.notices, std::vector<std::string>{"1a: division med 0"});
}

TEST(SideBySideRuns, AFailureInsideIsReportedWithItsOwnNameAndT)
{
    struct FailingInside : RecordingHost {
        bool keepGoing() override
        {
            if (!done) {
                done = true;
                ScriptCompiler inner;
                inner.run(TestSettings("0", "10", "10"),
                          ScriptLines("differentialligninger\ny' = sqr(2-t) <0>\ngrafvariable\nt, y, l1"), "inner",
                          innerHost);
            }
            return RecordingHost::keepGoing();
        }
        bool done = false;
        RecordingHost innerHost;
    } host;
    ScriptCompiler outer;
    const RunResult result =
        RunScript(outer, "differentialligninger\nz' = hvis(t < 5, 1, stop) <0>\ngrafvariable\nt, z, l1", host,
                  TestSettings("0", "10", "10"));
    ASSERT_EQ(host.innerHost.statuses.size(), 1u);
    EXPECT_EQ(host.innerHost.statuses[0].rfind("y kan ikke udregnes i 2", 0), 0u) << host.innerHost.statuses[0];
    EXPECT_EQ(result.error, ScriptError::StopConditionMet);
    EXPECT_EQ(result.message.rfind("Stopbetingelse opfyldt i 5", 0), 0u) << result.message;
}

}  // namespace
