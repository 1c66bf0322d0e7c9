// Where a curve has no value nothing is drawn: true edge points from the edge search, and strokes that break at gaps.
#include "tests/compiler/CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace compiler_test;
using tavlix::test::RecordedCurve;

namespace {

// One curve l1 over t from -3 to 3 in `steps` steps; the curve's points are checked against the function.
struct EdgeCase {
    const char* name;
    const char* script;
    const char* steps;
    int strokes;                          // strokes drawn: a break before a later point starts one more
    bool endsWithBreak;                   // the curve is undefined at the end of the range
    double firstX, lastX;                 // where the drawn curve begins and ends
    double within;                        // how close to them (the edge search's resolution, or exact)
    std::function<double(double)> value;  // the function itself: every drawn point lies on it
};

constexpr double Edge = 0.6 / (1 << 25) * 2;  // two halvings of the 25 of a step of 0.6

const EdgeCase Cases[] = {
    // Becomes defined at 0: the curve starts near 0 with a large negative value, not with a spike from (0, 0).
    {"ln", "Funktioner\n f = ln(t)\nGrafVariable\n t, f, l1", "10", 1, false, 0, 3, Edge,
     [](double t) { return std::log(t); }},
    // Undefined from -1 to 1: a stroke ends near -1, a new one starts near 1; no line along y = 0 in between.
    {"outside the unit interval", "Funktioner\n f = sqr(t*t - 1)\nGrafVariable\n t, f, l1", "10", 2, false, -3, 3, Edge,
     [](double t) { return std::sqrt(t * t - 1); }},
    {"inside the unit interval", "Funktioner\n f = sqr(1 - t*t)\nGrafVariable\n t, f, l1", "10", 1, true, -1, 1, Edge,
     [](double t) { return std::sqrt(1 - t * t); }},
    // A domain's ends are found like any edge.
    {"domain", "Funktioner\n f = 2*t  <0, 0.7>\nGrafVariable\n t, f, l1", "10", 1, true, 0, 0.7, Edge,
     [](double t) { return 2 * t; }},
    // The pole falls between two output points: nothing failed, but the line breaks there all the same.
    {"pole between points", "Funktioner\n f = 1/(t - 0.5)\nGrafVariable\n t, f, l1", "10", 2, false, -3, 3, 1e-12,
     [](double t) { return 1 / (t - 0.5); }},
    // With differential equations there is no edge search, but the line still breaks where values are missing.
    {"differential equation",
     "DifferentialLigninger\n y' = 0  <1>\nFunktioner\n f = y*sqr(t*t - 1)\n"
     "GrafVariable\n t, f, l1",
     "20", 2, false, -3, 3, 1e-12, [](double t) { return std::sqrt(t * t - 1); }},
};

class GraphEdge : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(GraphEdge, DrawsOnlyWhereTheFunctionHasValues)
{
    const EdgeCase& c = GetParam();
    RecordingHost host;
    ScriptCompiler compiler;
    const RunResult result = RunScript(compiler, c.script, host, TestSettings("-3", "3", c.steps));
    ASSERT_EQ(result.error, ScriptError::None) << result.message;
    ASSERT_EQ(host.graphs.size(), 1u);
    const RecordedCurve& curve = host.graphs[0]->curves.at(0);
    ASSERT_FALSE(curve.points.empty());
    for (const auto& p : curve.points)
        EXPECT_NEAR(p.y, c.value(p.x), 1e-9 * (1 + std::fabs(p.y))) << "x = " << p.x;
    EXPECT_NEAR(curve.points.front().x, c.firstX, c.within);
    EXPECT_NEAR(curve.points.back().x, c.lastX, c.within);
    const bool trailing = !curve.strokeStarts.empty() && curve.strokeStarts.back() == curve.points.size();
    EXPECT_EQ(trailing, c.endsWithBreak);
    EXPECT_EQ(static_cast<int>(curve.strokeStarts.size()) + 1 - (trailing ? 1 : 0), c.strokes);
}

INSTANTIATE_TEST_SUITE_P(Curves, GraphEdge, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return CaseName(info.param.name); });

// Marks stay as they were: one at every defined output point, and never a break.
TEST(GraphEdgeMarks, MarksNeitherSearchNorBreak)
{
    RecordingHost host;
    ScriptCompiler compiler;
    RunScript(compiler, "Funktioner\n f = sqr(t*t - 1)\nGrafVariable\n t, f, m1", host, TestSettings("-3", "3", "12"));
    const RecordedCurve& curve = host.graphs.at(0)->curves.at(0);
    EXPECT_TRUE(curve.strokeStarts.empty());
    for (const auto& p : curve.points)
        EXPECT_EQ(std::fmod(std::fabs(p.x) * 2, 1.0), 0) << p.x;  // output points only
}

}  // namespace
