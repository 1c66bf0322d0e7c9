// Runs with absurd settings end with a clear message or a sound result, never an endless loop.
#include "tests/compiler/CompilerTestSupport.h"

#include <gtest/gtest.h>

using namespace tavlix;
using namespace tavlix::test;

namespace {

using namespace compiler_test;

// Stops the run after a given number of output points, as the window's Escape does.
class StoppingHost : public RecordingHost {
public:
    explicit StoppingHost(int points) : Left(points) {}
    bool keepGoing() override { return --Left > 0; }
    int Left;
};

struct HostileRow {
    const char* name;
    const char* tMin;
    const char* count;
    const char* delta;
    const char* tolerance;  // Absolut and Relativ
    const char* script;
    const char* error;  // the general error report's text, "" for none
    int rows;           // table rows with data
};

class HostileSettings : public ::testing::TestWithParam<HostileRow> {};

TEST_P(HostileSettings, EndWithAClearMessageOrASoundTable)
{
    const HostileRow& row = GetParam();
    SettingsTexts s = TestSettings(row.tMin, "10", row.count);
    s[11] = row.delta;
    s[12] = row.tolerance;
    s[13] = row.tolerance;
    StoppingHost host(1000);
    ScriptCompiler compiler;
    const RunResult result = RunScript(compiler, row.script, host, s);
    EXPECT_EQ(result.error, ScriptError::None) << result.message;
    if (*row.error) {
        ASSERT_EQ(host.errors.size(), 1u);
        EXPECT_EQ(host.errors[0], row.error);
        EXPECT_TRUE(result.abandoned);
    } else {
        EXPECT_TRUE(host.errors.empty()) << host.errors[0];
    }
    ASSERT_EQ(host.tables.size(), 1u);
    EXPECT_EQ(host.tables[0]->rows - 2, row.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, HostileSettings,
    ::testing::Values(
        // From -5 a step of 1e-300 cannot move t at all: said at once, after the first row.
        HostileRow{"StepLostInPrecision", "-5", "200", "1e-300", "1e-6", "funktioner\nf = t\ntabelvariable\nt, f",
                   "Skridtet i t er for lille: t kommer ikke videre fra -5. V\xE6lg et st\xF8rre TDelta.", 1},
        // From 0 it moves t, by ever so little: only the user (here after 1000 rows) ends it.
        HostileRow{"TinyStepFromZero", "0", "200", "1e-300", "1e-6", "funktioner\nf = t\ntabelvariable\nt, f", "",
                   1000},
        HostileRow{"TAntalOfATrillion", "0", "1e12", "0", "1e-6", "funktioner\nf = sin(t)\ntabelvariable\nt, f", "",
                   1000},
        // The initial value is a constant: computing it asks the host once too, so the 1000th answer ends row 999.
        HostileRow{"TAntalOfATrillionWithAnEquation", "0", "1e12", "0", "1e-6",
                   "differentialligninger\ny' = -y <1>\ntabelvariable\nt, y", "", 999},
        // Tolerances of 0 with states that stay exactly 0: every step is met exactly, 11 rows from 0 to 10.
        HostileRow{"ZeroToleranceZeroStates", "0", "10", "0", "0",
                   "differentialligninger\ny' = -y <0>\nz' = y*z <0>\ntabelvariable\nt, y, z", "", 11}),
    [](const ::testing::TestParamInfo<HostileRow>& info) { return info.param.name; });

// A notice at every point of a long run: the first few are shown, the rest are summed up in one last notice.
TEST(HostileNotices, AreBoundedPerRun)
{
    RecordingHost host;
    ScriptCompiler compiler;
    const RunResult result =
        RunScript(compiler, "funktioner\nf = (-1)^t\ntabelvariable\nt, f", host, TestSettings("0.5", "10", "200"));
    EXPECT_EQ(result.error, ScriptError::None);
    ASSERT_EQ(host.notices.size(), 6u);
    EXPECT_EQ(host.notices[0], noticeText(Notice::NegativeBaseFractionalPower));
    EXPECT_EQ(host.notices[4], noticeText(Notice::NegativeBaseFractionalPower));
    EXPECT_EQ(host.notices[5], "K\xF8rslen gav 195 meddelelser mere, som ikke er vist.");
    // Each run counts afresh.
    RecordingHost again;
    RunScript(compiler, "funktioner\nf = (-1)^t\ntabelvariable\nt, f", again, TestSettings("0.5", "1.5", "2"));
    const std::string three = noticeText(Notice::NegativeBaseFractionalPower);
    EXPECT_EQ(again.notices, (std::vector<std::string>{three, three}));
}

}  // namespace
