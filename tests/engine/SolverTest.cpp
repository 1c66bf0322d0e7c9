// The solver against problems with exact solutions: accuracy, exact output times, and every way it ends early.
#include "engine/Evaluator.h"
#include "engine/Generation.h"
#include "engine/Solver.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

struct OdeCase {
    const char* name;
    Code derivative;  // record 1 is y
    double y0, tMin, tMax, tAntal, absTol, relTol;
    std::function<double(double)> exact;  // null: the run ends early
    double accuracy;                      // relative, against exact
    int code;                             // the generation's end code
    double failT;                         // the run ended early: T is past this
    std::vector<Code> branches = {};      // records 2, 3, ... (branches of hvis)
};

// Runs a line graph of (t, y) and hands back the points drawn.
struct OdeRun {
    RecordingHost host;
    std::unique_ptr<datarec> m = FreshModel(host);
    int code = 0;
    std::vector<RecordedPoint> points;

    void run(const OdeCase& c)
    {
        AddRecord(*m, "y", c.derivative, c.y0, BigValue, true);
        for (const Code& b : c.branches)
            AddRecord(*m, "y", b);
        m->OdeLimit = m->RecordCount;
        m->PlainLimit = 0;
        m->OutputCount = 1;
        m->Outputs[1] = {0, 1, 1, 1};
        double settings[16] = {-5, 10, 1, 0, -5, 5, 1, 0, c.tMin, c.tMax, c.tAntal, 0, c.absTol, c.relTol, 0, 0};
        std::copy(std::begin(settings), std::end(settings), m->Settings);
        int resultCount = 0;
        code = MakeGraph(*m, "ode", resultCount);
        points = host.graphs.at(0)->curves.at(0).points;
    }
};

class SolverCase : public ::testing::TestWithParam<OdeCase> {};

TEST_P(SolverCase, MatchesExactSolutionOrEndsWithItsCode)
{
    const OdeCase& c = GetParam();
    OdeRun r;
    r.run(c);
    EXPECT_EQ(r.code, c.code);
    ASSERT_FALSE(r.points.empty());
    const double step = (c.tMax - c.tMin) / c.tAntal;
    // every output time is met exactly: TStart + k * TStep accumulated one step at a time; the last point
    // of a finished run is TEnd itself
    double t = c.tMin;
    for (std::size_t i = 0; i < r.points.size(); ++i) {
        const RecordedPoint& p = r.points[i];
        if (i + 1 < r.points.size() || c.code != 0) {
            EXPECT_EQ(p.x, t);
        }
        if (c.exact) {
            const double want = c.exact(p.x);
            EXPECT_NEAR(p.y, want, std::fmax(1, std::fabs(want)) * c.accuracy) << "t=" << p.x;
        }
        t = t + step;
    }
    if (c.code == 0) {
        EXPECT_EQ(r.points.back().x, c.tMax);
        EXPECT_EQ(r.m->EngineError, 0);
    } else {
        EXPECT_GT(Eng.T, c.failT);
        EXPECT_LE(r.points.back().x, Eng.T);
    }
    if (c.code == 22) {
        EXPECT_LT(Eng.T, 1);  // before the pole
    } else if (c.code == 25) {
        EXPECT_EQ(Eng.TokenText.view(), "y");
    } else if (c.code == 19) {
        EXPECT_TRUE(Eng.StopFlag);
    }
    EXPECT_FALSE(Eng.Abandoned);
}

const double Y = 1;  // the record of y

INSTANTIATE_TEST_SUITE_P(
    Problems, SolverCase,
    ::testing::Values(
        // y' = y reaches e at t = 1 with the default tolerances
        OdeCase{"Exponential", Code().ref(Y), 1, 0, 1, 10, 0, 5e-5, [](double t) { return std::exp(t); }, 5e-5, 0, 0},
        // y' = -2ty: a Gaussian, tight tolerances
        OdeCase{"Gaussian", Code().num(-2).ref(0).op(OpMul).ref(Y).op(OpMul), 1, 0, 2, 20, 1e-12, 1e-10,
                [](double t) { return std::exp(-t * t); }, 1e-8, 0, 0},
        // y' = cos t from -pi/2: sin t, crossing zero with an absolute tolerance
        OdeCase{"Sine", Code().ref(0).op(OpCos), -1, -1.5707963267948966, 4, 50, 1e-9, 1e-9,
                [](double t) { return std::sin(t); }, 1e-5, 0, 0},
        // y' = y^2 blows up at t = 1: the tolerance cannot be met before it
        OdeCase{"BlowUp", Code().ref(Y).num(2).op(OpPow), 1, 0, 2, 20, 0, 5e-5, [](double t) { return 1 / (1 - t); },
                1e-3, 22, 0.9},
        // y' = sqr(1 - t) cannot be computed beyond t = 1
        OdeCase{"RootEnds", Code().num(1).ref(0).op(OpSub).op(OpSqrt), 0, 0, 2, 8, 0, 5e-5, nullptr, 0, 25, 1},
        // y' = hvis(y < 0, stop, -1): y = 1 - t until it turns negative
        OdeCase{"StopInDerivative", Code().ref(Y).num(0).op(OpLt).hvis(2, 3), 1, 0, 3, 30, 0, 5e-5,
                [](double t) { return 1 - t; }, 1e-12, 19, 1, {Code().op(OpStop), Code().num(-1)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Solver, StartAtOrAfterEndOutputsOnlyTheStart)
{
    for (const double tMax : {0.0, -1.0}) {
        OdeRun r;
        r.run(OdeCase{"", Code().ref(Y), 1, 0, tMax, 10, 0, 5e-5, nullptr, 0, 0, 0});
        ASSERT_EQ(r.points.size(), 1u);
        EXPECT_EQ(r.points[0].x, 0);
        EXPECT_EQ(r.points[0].y, 1);
    }
}

TEST(Solver, FirstStepIsTheOutputSpacingAndNeverSpansTwoOutputs)
{
    RecordingHost host;
    auto m = FreshModel(host);
    AddRecord(*m, "y", Code().ref(Y), 1, BigValue, true);
    m->OdeLimit = 1;
    m->PlainLimit = 0;
    const double settings[16] = {0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0.1, 0, 5e-5, 0, 0};
    std::copy(std::begin(settings), std::end(settings), m->Settings);
    GenStart(*m);
    Integrate(*m);  // no page: the output points do nothing
    EXPECT_EQ(m->HMax, 0.1);
    EXPECT_EQ(m->HMin, 0.1 / 10000);
    EXPECT_LE(m->HNext, m->HMax);
    EXPECT_EQ(Eng.T, 1);
    EXPECT_NEAR(m->Y[1], std::exp(1.0), std::exp(1.0) * 5e-5);
}

TEST(Solver, ZeroStateWithZeroAbsoluteToleranceStillSolvesExactSteps)
{
    // y' = 1 from 0: every stage agrees, the error estimate is (close to) zero and y = t
    OdeRun r;
    r.run(OdeCase{"", Code().num(1), 0, 0, 1, 4, 0, 5e-5, [](double t) { return t; }, 1e-12, 0, 0});
    EXPECT_EQ(r.code, 0);
    EXPECT_NEAR(r.points.back().y, 1, 1e-12);
}

}  // namespace
