// The accuracy measurement against problems with exact solutions, the solver's statistics and the reference's
// settings.
#include "compiler/AccuracyCheck.h"
#include "engine/Model.h"
#include "engine/OutputProbe.h"
#include "support/SettingsCalculator.h"

#include "CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

using namespace compiler_test;

namespace {

using Exact = std::function<double(double)>;

// The largest distance of each table column from its exact solution, over the page's output points.
struct TrueError : OutputProbe {
    std::vector<Exact> exact;  // per column; null: not measured
    std::vector<double> largest;
    void beginPage(const Model&) override { largest.assign(exact.size(), 0); }
    void outputValue(int entry, double t, double, double y, bool) override
    {
        const auto e = static_cast<std::size_t>(entry - 1);
        if (exact[e])
            largest[e] = std::max(largest[e], std::fabs(y - exact[e](t)));
    }
};

SettingsTexts odeSettings(const char* tMax, const char* tCount, const char* absTol, const char* relTol)
{
    SettingsTexts s = TestSettings("0", tMax, tCount);
    s[static_cast<std::size_t>(Setting::AbsTolerance)] = absTol;
    s[static_cast<std::size_t>(Setting::RelTolerance)] = relTol;
    return s;
}

struct ExactCase {
    const char* name;
    const char* script;  // one table page: t, then the variables
    const char* tMax;
    std::vector<Exact> exact;  // per column after t
};

const ExactCase ExactCases[] = {
    {"growth", "DifferentialLigninger y' = y <1> TabelVariable t, y", "2", {[](double t) { return std::exp(t); }}},
    {"oscillation",
     "DifferentialLigninger u' = v <1> v' = -u <0> TabelVariable t, u, v",
     "10",
     {[](double t) { return std::cos(t); }, [](double t) { return -std::sin(t); }}},
    {"bell", "DifferentialLigninger y' = -2*t*y <1> TabelVariable t, y", "3", {[](double t) {
         return std::exp(-t * t);
     }}},
};

TEST(AccuracyCheckTest, DeviationIsWithinAFactorThreeOfTheTrueError)
{
    struct Tolerances {
        const char* tCount;
        const char* absTol;
        const char* relTol;
    };
    // Coarse output grids, so that the tolerances decide the steps, and one fine grid where the output does.
    const Tolerances tolerances[] = {
        {"10", "1e-6", "1e-5"}, {"10", "1e-8", "1e-7"}, {"10", "1e-10", "1e-9"}, {"200", "1e-5", "1e-4"}};
    for (const ExactCase& c : ExactCases) {
        for (const Tolerances& tol : tolerances) {
            SCOPED_TRACE(std::string(c.name) + " TAntal " + tol.tCount + " Relativ " + tol.relTol);
            const SettingsTexts settings = odeSettings(c.tMax, tol.tCount, tol.absTol, tol.relTol);
            TrueError truth;
            truth.exact.push_back(nullptr);  // t
            truth.exact.insert(truth.exact.end(), c.exact.begin(), c.exact.end());
            RecordingHost host;
            ScriptCompiler().run(settings, ScriptLines(c.script), "doc", host, &truth);

            const AccuracyReport report = measureAccuracy(settings, ScriptLines(c.script), 1, host);
            ASSERT_TRUE(report.complete);
            ASSERT_TRUE(report.fromDifferentialEquations);
            ASSERT_EQ(report.outputs.size(), truth.exact.size());
            EXPECT_EQ(report.outputs[0].deviation(), 0);  // t is exact on both grids
            for (std::size_t e = 1; e < truth.exact.size(); ++e) {
                const double deviation = report.outputs[e].deviation(), error = truth.largest[e];
                EXPECT_GT(error, 0);
                EXPECT_LE(deviation, 3 * error) << report.outputs[e].name << " true " << error;
                EXPECT_GE(deviation, error / 3) << report.outputs[e].name << " true " << error;
            }
        }
    }
}

TEST(AccuracyCheckTest, StatisticsAddUpAndTellWhoSetTheSteps)
{
    const char* growth = "DifferentialLigninger y' = y <1> TabelVariable t, y";
    struct StepCase {
        const char* name;
        SettingsTexts settings;
        bool allSetByOutput;
        long long acceptedSteps;  // -1: not known in advance
    };
    const StepCase cases[] = {
        {"fine grid, loose tolerance", odeSettings("1", "1000", "0", "1e-4"), true, 1000},
        {"coarse grid, tight tolerance", odeSettings("2", "2", "0", "1e-9"), false, -1},
        {"given interval",
         [] {
             SettingsTexts s = odeSettings("1", "0", "0", "1e-3");
             s[static_cast<std::size_t>(Setting::TStep)] = "0.01";
             return s;
         }(),
         true, 100},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host;
        const AccuracyReport report = measureAccuracy(c.settings, ScriptLines(growth), 1, host);
        ASSERT_TRUE(report.complete);
        const SolverStatistics& s = report.statistics;
        EXPECT_EQ(s.acceptedSteps + s.rejectedSteps, s.attempts);
        EXPECT_EQ(s.rhsEvaluations, 6 * s.attempts);  // six stages a try
        EXPECT_LE(s.stepsSetByOutput, s.acceptedSteps);
        EXPECT_GT(s.smallestStep, 0);
        EXPECT_LE(s.smallestStep, s.largestStep);
        EXPECT_EQ(report.allStepsSetByOutput(), c.allSetByOutput);
        if (c.acceptedSteps >= 0) {
            EXPECT_EQ(s.acceptedSteps, c.acceptedSteps);
        }
        if (!c.allSetByOutput) {
            EXPECT_GT(s.rejectedSteps, 0);  // the first step is the whole interval and too long
        }
    }
}

TEST(AccuracyCheckTest, ReferenceHalvesTheIntervalAndDividesTheTolerances)
{
    struct Case {
        const char* tCount;
        const char* tStep;
        double interval;  // of the reference, over t from 0 to 10
    };
    const Case cases[] = {{"50", "0", 0.1}, {"1+4", "0", 1}, {"50", "1+1", 1}};
    for (const Case& c : cases) {
        SettingsTexts s = odeSettings("10", c.tCount, "1e-6", "2*1e-3");
        s[static_cast<std::size_t>(Setting::TStep)] = c.tStep;
        const SettingsTexts r = referenceSettings(s);
        auto value = [&r](Setting setting) { return evaluate(r[static_cast<std::size_t>(setting)]).value; };
        const double step = value(Setting::TStep);
        EXPECT_DOUBLE_EQ(step != 0 ? step : 10 / value(Setting::TCount), c.interval) << c.tCount << ' ' << c.tStep;
        EXPECT_DOUBLE_EQ(value(Setting::AbsTolerance), 1e-8);
        EXPECT_DOUBLE_EQ(value(Setting::RelTolerance), 2e-5);
    }
}

TEST(AccuracyCheckTest, MeasuresOnlyTheChosenPage)
{
    const char* script =
        "DifferentialLigninger u' = v <1> v' = -u <0> Funktioner f = t^2 "
        "TabelVariable t, f GrafVariable u, v, l1 t, v, l2";
    RecordingHost host;
    const SettingsTexts settings = odeSettings("6", "20", "1e-7", "1e-6");
    const AccuracyReport graph = measureAccuracy(settings, ScriptLines(script), 2, host);
    ASSERT_TRUE(graph.complete);
    ASSERT_EQ(graph.outputs.size(), 2u);
    EXPECT_EQ(graph.outputs[0].name, "u,v");  // a curve in the plane counts both coordinates
    EXPECT_EQ(graph.outputs[1].name, "v");
    EXPECT_NEAR(graph.outputs[1].y.low, -1, 0.01);
    EXPECT_NEAR(graph.outputs[1].y.high, 1, 0.01);
    // each coordinate of the plane curve has its own range (u = cos t from 1, v = -sin t over t from 0 to 6)
    EXPECT_NEAR(graph.outputs[0].x.low, -1, 0.02);  // sampled at t = 3, not pi
    EXPECT_EQ(graph.outputs[0].x.high, 1);
    EXPECT_NEAR(graph.outputs[0].y.low, -1, 0.01);
    EXPECT_GT(graph.outputs[0].x.deviation, 0);
    EXPECT_GT(graph.outputs[0].y.deviation, 0);
    EXPECT_EQ(graph.outputs[0].deviation(), std::max(graph.outputs[0].x.deviation, graph.outputs[0].y.deviation));
    EXPECT_LT(graph.outputs[0].y.relative(), 1e-4);
    EXPECT_TRUE(host.tables.empty() && host.graphs.empty() && host.notices.empty());

    // A page of a script with equations is integrated even when it shows none of them.
    const AccuracyReport table = measureAccuracy(settings, ScriptLines(script), 1, host);
    EXPECT_TRUE(table.fromDifferentialEquations);
    EXPECT_LT(table.outputs[1].deviation(), 1e-12);  // f depends on t only

    const AccuracyReport none = measureAccuracy(settings, ScriptLines(script), 3, host);
    EXPECT_FALSE(none.complete);
}

TEST(AccuracyCheckTest, PlainPagesAndInterruptedRuns)
{
    RecordingHost host;
    const AccuracyReport plain =
        measureAccuracy(TestSettings(), ScriptLines("Funktioner f = t^2 TabelVariable t, f"), 1, host);
    EXPECT_TRUE(plain.complete);
    EXPECT_FALSE(plain.fromDifferentialEquations);

    host.stopAfter = 30;  // the page run takes 11 output points, the reference 21
    const AccuracyReport stopped =
        measureAccuracy(odeSettings("10", "10", "0", "1e-6"),
                        ScriptLines("DifferentialLigninger y' = -y <1> TabelVariable t, y"), 1, host);
    EXPECT_FALSE(stopped.complete);
}

}  // namespace
