// The solver against problems with exact solutions: accuracy, exact output times, and every way it ends early.
#include "engine/Evaluator.h"
#include "engine/OutputGenerator.h"
#include "engine/Solver.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace tavlix;
using namespace tavlix::test;

namespace {

struct OdeCase {
    const char* name;
    Code derivative;  // record 1 is y
    double y0, tMin, tMax, tAntal, absTol, relTol;
    std::function<double(double)> exact;  // null: the run ends early
    double accuracy;                      // relative, against exact
    int code;                             // the generation's end: a ScriptError value
    double failT;                         // the run ended early: T is past this
    std::vector<Code> branches = {};      // records 2, 3, ... (branches of hvis)
    bool zeroCompanion = false;           // a last equation z' = 0 from 0, whose tolerance is 0 when Absolut is
};

// Runs a line graph of (t, y) and hands back the points drawn.
struct OdeRun {
    RecordingHost host;
    RunState state;
    std::unique_ptr<Model> m = FreshModel(host, state);
    ScriptError error = ScriptError::None;
    std::vector<RecordedPoint> points;

    void start(const OdeCase& c, long long maxSteps = 100'000'000)
    {
        m->rkf.maxSteps = maxSteps;
        AddRecord(*m, "y", c.derivative, c.y0, BigValue, true);
        for (const Code& b : c.branches)
            AddRecord(*m, "y", b);
        if (c.zeroCompanion)
            AddRecord(*m, "z", Code().num(0), 0, BigValue, true);
        m->script.lastOdeRecord = m->script.recordCount;
        m->script.lastPlainRecord = 0;
        m->script.outputCount = 1;
        growTo(m->script.outputs, 1) = CurveOutput(0, 1, CurveStyle::Line1);
        double settings[16] = {-5, 10, 1, 0, -5, 5, 1, 0, c.tMin, c.tMax, c.tAntal, 0, c.absTol, c.relTol, 0, 0};
        std::copy(std::begin(settings), std::end(settings), m->script.settings.values.begin());
        int resultCount = 0;
        error = generateGraph(*m, state, "ode", resultCount);
        points = host.graphs.at(0)->curves.at(0).points;
    }
};

class SolverCase : public ::testing::TestWithParam<OdeCase> {};

TEST_P(SolverCase, MatchesExactSolutionOrEndsWithItsCode)
{
    const OdeCase& c = GetParam();
    OdeRun r;
    r.start(c);
    EXPECT_EQ(r.error, static_cast<ScriptError>(c.code));
    ASSERT_FALSE(r.points.empty());
    const double step = (c.tMax - c.tMin) / c.tAntal;
    // every output time is met exactly: tStart + k * tStep by multiplication; the last point of a finished run
    // is tEnd itself
    for (std::size_t i = 0; i < r.points.size(); ++i) {
        const RecordedPoint& p = r.points[i];
        if (i + 1 < r.points.size() || c.code != 0) {
            EXPECT_EQ(p.x, c.tMin + static_cast<double>(i) * step);
        }
        if (c.exact) {
            const double want = c.exact(p.x);
            EXPECT_NEAR(p.y, want, std::fmax(1, std::fabs(want)) * c.accuracy) << "t=" << p.x;
        }
    }
    if (c.code == 0) {
        EXPECT_EQ(r.points.back().x, c.tMax);
        EXPECT_EQ(r.m->error, ScriptError::None);
    } else {
        EXPECT_GT(r.state.t, c.failT);
        EXPECT_LE(r.points.back().x, r.state.t);
    }
    if (c.code == 22) {
        EXPECT_LT(r.state.t, 1);  // before the pole
    } else if (c.code == 25) {
        EXPECT_EQ(r.state.failedName.view(), "y");
    } else if (c.code == 19) {
        EXPECT_TRUE(r.state.stopped);
    }
    EXPECT_FALSE(r.state.abandoned);
}

const double Y = 1;  // the record of y

INSTANTIATE_TEST_SUITE_P(Problems, SolverCase,
                         ::testing::Values(
                             // y' = y reaches e at t = 1 with the default tolerances
                             OdeCase{"Exponential", Code().ref(Y), 1, 0, 1, 10, 0, 5e-5,
                                     [](double t) { return std::exp(t); }, 5e-5, 0, 0},
                             // y' = -2ty: a Gaussian, tight tolerances
                             OdeCase{"Gaussian", Code().num(-2).ref(0).op(OpCode::Mul).ref(Y).op(OpCode::Mul), 1, 0, 2,
                                     20, 1e-12, 1e-10, [](double t) { return std::exp(-t * t); }, 1e-8, 0, 0},
                             // y' = cos t from -pi/2: sin t, crossing zero with an absolute tolerance
                             OdeCase{"Sine", Code().ref(0).op(OpCode::Cos), -1, -1.5707963267948966, 4, 50, 1e-9, 1e-9,
                                     [](double t) { return std::sin(t); }, 1e-5, 0, 0},
                             // y' = y^2 blows up at t = 1: the tolerance cannot be met before it
                             OdeCase{"BlowUp", Code().ref(Y).num(2).op(OpCode::Pow), 1, 0, 2, 20, 0, 5e-5,
                                     [](double t) { return 1 / (1 - t); }, 1e-3, 22, 0.9},
                             // y' = sqr(1 - t) cannot be computed beyond t = 1
                             OdeCase{"RootEnds", Code().num(1).ref(0).op(OpCode::Sub).op(OpCode::Sqrt), 0, 0, 2, 8, 0,
                                     5e-5, nullptr, 0, 25, 1},
                             // y' = hvis(y < 0, stop, -1): y = 1 - t until it turns negative
                             OdeCase{"StopInDerivative",
                                     Code().ref(Y).num(0).op(OpCode::Lt).hvis(2, 3),
                                     1,
                                     0,
                                     3,
                                     30,
                                     0,
                                     5e-5,
                                     [](double t) { return 1 - t; },
                                     1e-12,
                                     19,
                                     1,
                                     {Code().op(OpCode::Stop), Code().num(-1)}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Solver, StartAtOrAfterEndOutputsOnlyTheStart)
{
    for (const double tMax : {0.0, -1.0}) {
        OdeRun r;
        r.start(OdeCase{"", Code().ref(Y), 1, 0, tMax, 10, 0, 5e-5, nullptr, 0, 0, 0});
        ASSERT_EQ(r.points.size(), 1u);
        EXPECT_EQ(r.points[0].x, 0);
        EXPECT_EQ(r.points[0].y, 1);
    }
}

TEST(Solver, FirstStepIsTheOutputSpacingAndNeverSpansTwoOutputs)
{
    RecordingHost host;
    RunState run;
    auto m = FreshModel(host, run);
    AddRecord(*m, "y", Code().ref(Y), 1, BigValue, true);
    m->script.lastOdeRecord = 1;
    m->script.lastPlainRecord = 0;
    const double settings[16] = {0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0.1, 0, 5e-5, 0, 0};
    std::copy(std::begin(settings), std::end(settings), m->script.settings.values.begin());
    prepareGeneration(*m, run);
    integrate(*m, run);  // no page: the output points do nothing
    EXPECT_EQ(m->rkf.hMax, 0.1);
    EXPECT_EQ(m->rkf.hMin, 1e-12);  // of the largest |t|, not of the output interval
    EXPECT_LE(m->rkf.hNext, m->rkf.hMax);
    EXPECT_EQ(run.t, 1);
    EXPECT_NEAR(m->rkf.y[1], std::exp(1.0), std::exp(1.0) * 5e-5);
}

TEST(Solver, ZeroStateWithZeroAbsoluteToleranceStillSolvesExactSteps)
{
    // y' = 1 from 0: every stage agrees, the error estimate is (close to) zero and y = t
    OdeRun r;
    r.start(OdeCase{"", Code().num(1), 0, 0, 1, 4, 0, 5e-5, [](double t) { return t; }, 1e-12, 0, 0});
    EXPECT_EQ(r.error, ScriptError::None);
    EXPECT_NEAR(r.points.back().y, 1, 1e-12);
}

// How a run ends no longer depends on how many rows were asked for, and a run whose error estimate is exactly 0
// takes long steps even against a tolerance of 0.
TEST(Solver, SmallestStepFollowsTheScaleOfT)
{
    // y' = hvis(t < 0.5, 1, 0) from 0: the steps halve down to the smallest one at the jump, then must grow again
    const Code jump = Code().ref(0).num(0.5).op(OpCode::Lt).hvis(2, 3);
    struct StepCase {
        const char* name;
        OdeCase ode;
        long long maxSteps;
        ScriptError end;
        double endT;       // where t stands at the end
        long long atMost;  // accepted steps
    };
    const StepCase cases[] = {
        {"fewer rows, same end",
         {"", Code().ref(0).op(OpCode::Cos), 0, 0, 2000, 1, 1e-10, 1e-10, [](double t) { return std::sin(t); }, 1e-4, 0,
          0},
         100'000'000,
         ScriptError::None,
         2000,
         100'000'000},
        {"an exact zero grows the step",
         {"",
          jump,
          0,
          0,
          2,
          1,
          0,
          1e-12,
          [](double t) { return std::fmin(t, 0.5); },
          1e-11,
          0,
          0,
          {Code().num(1), Code().num(0)},
          true},
         1'000'000,
         ScriptError::None,
         2,
         1000},
        {"the safety net stops at the t reached",
         {"", Code().ref(Y), 1, 0, 10, 100, 0, 5e-5, nullptr, 0, 0, 0},
         25,
         ScriptError::ToleranceNotMet,
         2.5,
         25},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.name);
        OdeRun r;
        r.start(c.ode, c.maxSteps);
        EXPECT_EQ(r.error, c.end);
        EXPECT_NEAR(r.state.t, c.endT, 1e-9);
        EXPECT_LE(r.m->statistics.acceptedSteps, c.atMost) << r.m->statistics.rejectedSteps;
        if (c.ode.exact) {
            EXPECT_NEAR(r.points.back().y, c.ode.exact(c.endT), c.ode.accuracy);
        }
    }
}

// Escape is heard between two output points too: a stiff run takes tens of thousands of steps for one row.
TEST(Solver, ManyStepsBetweenOutputPointsCanBeInterrupted)
{
    // y' = -1000*(y - cos t): stable steps are about 1/300 long
    const Code stiff = Code().num(-1000).ref(Y).ref(0).op(OpCode::Cos).op(OpCode::Sub).op(OpCode::Mul);
    for (const long stopAfter : {-1L, 1L}) {
        OdeRun r;
        r.host.stopSteppingAfter = stopAfter;
        r.start(OdeCase{"", stiff, 1, 0, 100, 1, 0, 5e-5, nullptr, 0, 0, 0});
        EXPECT_EQ(r.state.abandoned, stopAfter >= 0);
        EXPECT_EQ(r.state.t == 100, stopAfter < 0);
        EXPECT_GE(r.host.keepSteppingCalls, stopAfter < 0 ? 5 : 2);
    }
}

// The step loop both ways from (0, 1) for y' = y: it ends exactly on its stop with e^stop, or reports that the
// tolerance needs a step below the smallest one.
TEST(Solver, StepLoopRunsEitherWayToItsStop)
{
    struct Row {
        double stop, hMin;
        StepOutcome outcome;
    };
    const Row rows[] = {
        {1.5, 1e-12, StepOutcome::Accepted}, {-1.5, 1e-12, StepOutcome::Accepted}, {-1.5, 0.5, StepOutcome::Stuck}};
    for (const Row& r : rows) {
        RecordingHost host;
        RunState run;
        auto m = FreshModel(host, run);
        AddRecord(*m, "y", Code().ref(Y), -BigValue, BigValue, true);
        m->script.lastOdeRecord = 1;
        RkfState& s = m->rkf;
        s.stepRecordCount = 1;
        s.relTol = 1e-9;
        s.hMax = s.hNext = 0.5;
        s.hMin = r.hMin;
        s.direction = r.stop > 0 ? 1 : -1;
        s.y[1] = 1;
        run.t = 0;
        StepOutcome outcome = StepOutcome::Accepted;
        for (long long steps = 1; run.t != r.stop && outcome == StepOutcome::Accepted; ++steps) {
            aimStep(*m, run, r.stop);
            outcome = takeStep(*m, run, false);
            ASSERT_TRUE(mayStepOn(*m, run, steps)) << r.stop;
        }
        EXPECT_EQ(outcome, r.outcome) << r.stop;
        if (r.outcome == StepOutcome::Accepted) {
            EXPECT_EQ(run.t, r.stop);
            EXPECT_NEAR(s.y[1], std::exp(r.stop), 1e-8 * std::exp(r.stop));
            EXPECT_GT(m->statistics.rejectedSteps, 0);  // the first step was too long and was halved
        }
    }
}

}  // namespace
