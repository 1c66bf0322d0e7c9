// Output times are TMin + k·TStep, never a running sum, and end exactly on TMax: tables, graphs and the solver.
#include "engine/OutputProbe.h"
#include "tests/compiler/CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace compiler_test;

namespace {

// The t of every output point of the first entry, and its value there.
struct TimeProbe : OutputProbe {
    std::vector<double> times, values;
    void beginPage(const Model&) override {}
    void outputValue(int entry, double t, double, double y, bool) override
    {
        if (entry != 1)
            return;
        times.push_back(t);
        values.push_back(y);
    }
};

struct TimeCase {
    const char* name;
    const char* script;
    const char* tMin;
    const char* tMax;
    const char* count;
    const char* delta;
    double first, step;        // the output times are first + k * step, k from 0, until the last
    double last;               // the last output time, which comes once (TMax, or a sample within TStep/10000 of it)
    int outputs;               // how many distinct output times
    double at = 0, value = 0;  // an output time (unless 0) and the entry's value there
};

const TimeCase Cases[] = {
    // sqr(4 - t^2) at t = -2 is 0: a summed t misses -2 by 1e-14.
    {"table", "Funktioner\n f = sqr(4 - t^2)\nTabelVariable\n f", "-5", "10", "200", "0", -5, 0.075, 10, 201, -2, 0},
    {"graph", "Funktioner\n f = t\nGrafVariable\n t, f, l1", "0", "1", "0", "0.1", 0, 0.1, 1, 11},
    {"step does not divide", "Funktioner\n f = t\nTabelVariable\n f", "0", "1", "0", "0.3", 0, 0.3, 1, 5},
    // A graph goes on to half a step beyond TMax.
    {"graph beyond the end", "Funktioner\n f = t\nGrafVariable\n t, f, l1", "0", "1.1", "0", "0.4", 0, 0.4, 3 * 0.4, 4},
    {"snapped to the end", "Funktioner\n f = t\nTabelVariable\n f", "0", "1.00000001", "0", "0.1", 0, 0.1, 1.00000001,
     11},
    // The solver's output times: a summed 0.2 ends the table at 9.9999999999999964 and at 10.
    {"solver table", "DifferentialLigninger\n y' = 0.8*y*(1 - y/10)  <1>\nTabelVariable\n t, y", "0", "10", "50", "0",
     0, 0.2, 10, 51},
    {"solver graph", "DifferentialLigninger\n y' = y  <1>\nGrafVariable\n t, y, l1", "0", "1", "0", "0.1", 0, 0.1, 1,
     11},
};

class SampleTimes : public ::testing::TestWithParam<TimeCase> {};

TEST_P(SampleTimes, AreMultiplesOfTheStep)
{
    const TimeCase& c = GetParam();
    const SettingsTexts settings = TestSettings(c.tMin, c.tMax, c.count, c.delta);
    RecordingHost host;
    ScriptCompiler compiler;
    TimeProbe probe;
    ASSERT_EQ(compiler.run(settings, ScriptLines(c.script), "doc", host, &probe).error, ScriptError::None);
    std::vector<double> times = probe.times;
    if (!host.graphs.empty()) {
        ASSERT_GE(times.size(), 2u);
        EXPECT_EQ(times[0], times[1]);  // the first call at TMin only starts the curves
        times.erase(times.begin());
    }
    ASSERT_EQ(static_cast<int>(times.size()), c.outputs);
    for (int k = 0; k + 1 < c.outputs; ++k)
        EXPECT_EQ(times[static_cast<std::size_t>(k)], c.first + k * c.step) << "k = " << k;
    EXPECT_EQ(times.back(), c.last);
    if (c.at != 0) {
        const auto at = std::find(probe.times.begin(), probe.times.end(), c.at);
        ASSERT_NE(at, probe.times.end()) << "no output at t = " << c.at;
        EXPECT_EQ(probe.values[static_cast<std::size_t>(at - probe.times.begin())], c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(Outputs, SampleTimes, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return CaseName(info.param.name); });

}  // namespace
