// Tangents and integrals of curves against their exact values, for functions and a differential equation.
#include "AnalysisTestSupport.h"
#include "analysis/CurveCalculus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using namespace analysis_test;
using tavlix::CurveCalculus;
using tavlix::CurveFunction;

const char* const Script =
    "DifferentialLigninger\n  y' = y  <1>\nFunktioner\n  p = t^2\n  s = sin(t)\n"
    "  r = sqr(t)\nGrafVariable\n  t, y, l1\n";

struct CalculusCase {
    const char* curve;
    double a, b;  // the tangent's t is a
    double slope;
    double integral;
    double tolerance;
};

class Calculus : public testing::TestWithParam<CalculusCase> {};

TEST_P(Calculus, MeetsTheExactSlopeAndIntegral)
{
    const CalculusCase& c = GetParam();
    tavlix::CompiledDocument document(settingsFor(0, 4, 40, 1e-14, 1e-12), linesOf(Script));
    ASSERT_TRUE(document.compile());
    CurveFunction curve(document, document.recordOf(c.curve));
    const auto tangent = CurveCalculus::tangentAt(curve, c.a);
    ASSERT_TRUE(tangent);
    EXPECT_NEAR(tangent->slope, c.slope, c.tolerance * std::max(1.0, std::fabs(c.slope)));
    const auto area = CurveCalculus::integral(curve, c.a, c.b);
    ASSERT_TRUE(area);
    EXPECT_NEAR(*area, c.integral, c.tolerance * std::max(1.0, std::fabs(c.integral)));
}

INSTANTIATE_TEST_SUITE_P(
    Curves, Calculus,
    testing::Values(CalculusCase{"p", 1, 3, 2, 26.0 / 3, 1e-10}, CalculusCase{"s", 0, std::numbers::pi, 1, 2, 1e-10},
                    CalculusCase{"r", 1, 4, 0.5, 14.0 / 3, 1e-10},
                    // The equation's slope is its right-hand side; its integral follows the solver.
                    CalculusCase{"y", 1, 2, std::numbers::e, std::exp(2.0) - std::exp(1.0), 1e-9}),
    [](const testing::TestParamInfo<CalculusCase>& info) { return std::string(info.param.curve); });

// Between two curves, and where a curve has no value: sqrt below 0 gives nothing rather than a number.
TEST(CalculusEdges, BetweenCurvesAndUndefinedStretches)
{
    tavlix::CompiledDocument document(settingsFor(0, 4, 40), linesOf(Script));
    ASSERT_TRUE(document.compile());
    CurveFunction p(document, document.recordOf("p")), r(document, document.recordOf("r"));
    const auto between = CurveCalculus::integralBetween(r, p, 0, 1);  // 2/3 - 1/3
    ASSERT_TRUE(between);
    EXPECT_NEAR(*between, 1.0 / 3, 1e-9);
    EXPECT_FALSE(CurveCalculus::integral(r, -1, 1));
    EXPECT_FALSE(CurveCalculus::tangentAt(r, -1));
}

}  // namespace
