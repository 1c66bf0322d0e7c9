// Zeros, extremes and intersections of a page's curves against known values, for functions and an equation.
#include "AnalysisTestSupport.h"
#include "analysis/InterestPoints.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using namespace analysis_test;
using tavlix::PointKind;

struct Expected {
    PointKind kind;
    double x;
    double y;
};

struct PointsCase {
    const char* name;
    double tMin, tMax;
    int steps;
    std::string script;
    std::vector<Expected> points;  // in the finder's order: by kind, then by x
    double tolerance;              // of x and y, relative to max(1, |value|)
    bool intersectionsOnly = false;
};

void PrintTo(const PointsCase& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<Expected> sineMeetsCosine()
{
    std::vector<Expected> points;
    for (int k = -2; k <= 1; ++k) {
        const double x = std::numbers::pi / 4 + k * std::numbers::pi;
        points.push_back({PointKind::Intersection, x, std::sin(x)});
    }
    return points;
}

class FindsPoints : public testing::TestWithParam<PointsCase> {};

TEST_P(FindsPoints, AtTheirKnownPlaces)
{
    const PointsCase& c = GetParam();
    const tavlix::SettingsTexts settings = settingsFor(c.tMin, c.tMax, c.steps, 1e-13, 1e-12);
    tavlix::GraphPages pages;
    ASSERT_TRUE(pages.collect(settings, linesOf(c.script), "doc"));
    ASSERT_EQ(pages.pages().size(), 1u);
    tavlix::CompiledDocument document(settings, linesOf(c.script));
    ASSERT_TRUE(document.compile());
    std::vector<tavlix::InterestPoint> found =
        tavlix::InterestPoints(document, pages.pages()[0].curves).find(c.tMin, c.tMax);
    if (c.intersectionsOnly)
        std::erase_if(found, [](const tavlix::InterestPoint& p) { return p.kind != PointKind::Intersection; });
    ASSERT_EQ(found.size(), c.points.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].kind, c.points[i].kind) << i;
        EXPECT_NEAR(found[i].x, c.points[i].x, c.tolerance * std::max(1.0, std::fabs(c.points[i].x))) << i;
        EXPECT_NEAR(found[i].y, c.points[i].y, c.tolerance * std::max(1.0, std::fabs(c.points[i].y))) << i;
    }
}

const double Root3 = std::sqrt(3.0);

INSTANTIATE_TEST_SUITE_P(
    Curves, FindsPoints,
    testing::Values(
        PointsCase{"cubic",
                   -5,
                   10,
                   200,
                   "Funktioner\n  f = t^3 - 3*t\nGrafVariable\n  t, f, l1\n",
                   {{PointKind::Zero, -Root3, 0},
                    {PointKind::Zero, 0, 0},
                    {PointKind::Zero, Root3, 0},
                    {PointKind::Maximum, -1, 2},
                    {PointKind::Minimum, 1, -2}},
                   1e-10},
        PointsCase{"sine_cosine", -7, 7, 300,
                   "Funktioner\n  s = sin(t)\n  c = cos(t)\nGrafVariable\n  t, s, l1  t, c, l2\n", sineMeetsCosine(),
                   1e-10, true},
        // A pole is no zero: tan changes sign across pi/2 without passing 0 there.
        PointsCase{"pole", 0.5, 2, 30, "Funktioner\n  f = tan(t)\nGrafVariable\n  t, f, l1\n", {}, 1e-10},
        // The logistic equation's variable against a line through its middle: one crossing, on the solution.
        PointsCase{"equation",
                   0,
                   10,
                   100,
                   "DifferentialLigninger\n  y' = y*(1 - y/10)  <1>\nFunktioner\n  h = 5\nGrafVariable\n  t, y, l1  "
                   "t, h, l2\n",
                   {{PointKind::Intersection, std::log(9.0), 5}},
                   1e-8}),
    [](const testing::TestParamInfo<PointsCase>& info) { return std::string(info.param.name); });

}  // namespace
