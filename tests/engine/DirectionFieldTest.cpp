// Slope fields, phase planes and solutions through a point, from scripts compiled and run as the window does.
#include "engine/DirectionField.h"
#include "tests/compiler/CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace compiler_test;

namespace {

std::unique_ptr<DirectionField> fieldOf(const std::string& script)
{
    ScriptCompiler compiler;
    RecordingHost host;
    RunScript(compiler, script, host);
    return DirectionField::fromModel(*compiler.lastModel());
}

const char* const TMinusY = "DifferentialLigninger\n  y' = t - y  <1>\nGrafVariable\n  t, y, l1";
const char* const Growth = "DifferentialLigninger\n  y' = y  <2>\nGrafVariable\n  t, y, l1";
const char* const Oscillator = "DifferentialLigninger\n  x' = -y  <1>\n  y' = x  <0>\nGrafVariable\n  x, y, l1";

TEST(DirectionFieldTest, SlopeDirectionsAtKnownPoints)
{
    struct Row {
        const char* script;
        double t, y, slope;
    };
    const Row rows[] = {
        {TMinusY, 0, 0, 0}, {TMinusY, 2, 1, 1},  {TMinusY, 1, 3, -2},
        {Growth, 0, 1, 1},  {Growth, 5, -2, -2}, {Growth, -1, 0.5, 0.5},
    };
    for (const Row& r : rows) {
        auto field = fieldOf(r.script);
        ASSERT_EQ(field->kind(), FieldKind::Slope);
        const auto e = field->direction(r.t, r.y);
        ASSERT_TRUE(e) << r.script << " at " << r.t << ", " << r.y;
        EXPECT_NEAR(std::hypot(e->dx, e->dy), 1, 1e-12);
        EXPECT_GT(e->dx, 0);
        EXPECT_NEAR(e->dy / e->dx, r.slope, 1e-12);
    }
}

TEST(DirectionFieldTest, PhasePlaneOfOscillatorIsPerpendicularToRadius)
{
    auto field = fieldOf(Oscillator);
    ASSERT_EQ(field->kind(), FieldKind::Phase);
    const auto grid = field->elements({-2, 2, -1, 1}, 0.5);
    ASSERT_EQ(grid.size(), 25u * 13u);
    for (const FieldElement& e : grid) {
        if (std::hypot(e.x, e.y) < 1e-12) {  // the rest point at the origin has no direction
            EXPECT_EQ(std::hypot(e.dx, e.dy), 0);
            continue;
        }
        EXPECT_NEAR(e.x * e.dx + e.y * e.dy, 0, 1e-12);
        EXPECT_NEAR(std::hypot(e.dx, e.dy), 1, 1e-12);
        EXPECT_GE(e.x * e.dy - e.y * e.dx, 0);  // anticlockwise
    }
}

TEST(DirectionFieldTest, SolutionOfGrowthMatchesExponentialBothWays)
{
    auto field = fieldOf(Growth);
    const auto points = field->solveThrough(0, 2, {-3, 2, -100, 100});
    ASSERT_GT(points.size(), 100u);
    EXPECT_NEAR(points.front().x, -3, 1e-9);
    EXPECT_NEAR(points.back().x, 2, 1e-9);
    for (std::size_t i = 1; i < points.size(); ++i)
        ASSERT_LT(points[i - 1].x, points[i].x);
    for (const CurvePoint& p : points)
        EXPECT_NEAR(p.y, 2 * std::exp(p.x), 1e-3 * 2 * std::exp(p.x)) << "t = " << p.x;
}

TEST(DirectionFieldTest, SolutionStopsWhereItLeavesTheView)
{
    auto field = fieldOf(Growth);
    const auto points = field->solveThrough(0, 2, {-3, 5, 0, 10});
    ASSERT_FALSE(points.empty());
    EXPECT_GT(points.back().y, 10);
    EXPECT_LT(points.back().x, std::log(5.0) + 0.1);
    EXPECT_LT(points[points.size() - 2].y, 10);
}

TEST(DirectionFieldTest, UndefinedRightHandSidesLeaveHoles)
{
    auto field = fieldOf("DifferentialLigninger\n  y' = ln(y)  <1>\nGrafVariable\n  t, y, l1");
    const auto grid = field->elements({0, 10, -5, 5}, 1.0, 10);
    ASSERT_EQ(grid.size(), 50u);  // the five rows above y = 0 only
    for (const FieldElement& e : grid)
        EXPECT_GT(e.y, 0);
    EXPECT_FALSE(field->direction(1, -1));
    EXPECT_TRUE(field->direction(1, 1));
}

TEST(DirectionFieldTest, KindFollowsTheEquationsAndTheGraph)
{
    struct Row {
        const char* script;
        FieldKind kind;
        NoFieldReason reason;
    };
    const Row rows[] = {
        {TMinusY, FieldKind::Slope, NoFieldReason::None},
        {Oscillator, FieldKind::Phase, NoFieldReason::None},
        {"Funktioner\n  f = t*t\nGrafVariable\n  t, f, l1", FieldKind::None, NoFieldReason::NoEquations},
        {"DifferentialLigninger\n  x' = -y  <1>\n  y' = x  <0>\nGrafVariable\n  t, y, l1", FieldKind::None,
         NoFieldReason::NotDrawnAgainstEquation},
        {"DifferentialLigninger\n  x' = y  <1>\n  y' = z  <0>\n  z' = x  <0>\nGrafVariable\n  x, y, l1",
         FieldKind::None, NoFieldReason::TooManyEquations},
    };
    for (const Row& r : rows) {
        auto field = fieldOf(r.script);
        EXPECT_EQ(field->kind(), r.kind) << r.script;
        EXPECT_EQ(field->reason(), r.reason) << r.script;
        if (r.kind == FieldKind::None) {
            EXPECT_TRUE(field->elements({0, 1, 0, 1}, 1).empty());
        }
    }
}

}  // namespace
