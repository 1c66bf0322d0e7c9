// What a graph draws at gaps and poles, and tables shown as their own points: through the compiler and generator.
#include "tests/compiler/CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace compiler_test;
using tavlix::test::RecordedCurve;
using tavlix::test::RecordedPoint;

namespace {

const RecordedCurve& OnlyCurve(const RecordingHost& host)
{
    return host.graphs.at(0)->curves.at(0);
}

constexpr const char* ConstantOde = "DifferentialLigninger\n y' = 0  <1>\n";

// One function f and one graph entry, after the sections `before`.
std::string Script(const char* before, const char* f, const char* entry)
{
    return std::string(before) + "Funktioner\n f = " + f + "\nGrafVariable\n " + entry;
}

// The point after a gap is drawn, and no point twice: neither at TMin nor at an edge.
struct GapCase {
    const char* name;
    const char* f;
    const char* entry;
    SettingsTexts settings;
    RecordedPoint after;  // the first defined output point after the gap
    int strokes;
    const char* before = "";
};

const GapCase GapCases[] = {
    // t = 0.5 is an output time without a value; (1; 2) follows the edge point near 0.5.
    {"edge search", "1/(t - 0.5)", "t, f, l1", TestSettings("-5", "10", "30"), {1, 2}, 2},
    // No edge search beside differential equations: the output point itself starts the stroke.
    {"differential equation",
     "y*sqr(abs(t - 1) - 0.25)",
     "t, f, l1",
     TestSettings("0", "2", "8"),
     {1.25, 0},
     2,
     ConstantOde},
    {"marks", "sqr(abs(t - 1) - 0.25)", "t, f, m1", TestSettings("0", "2", "8"), {1.25, 0}, 1},
};

class GapPoint : public ::testing::TestWithParam<GapCase> {};

TEST_P(GapPoint, IsDrawnOnceAfterTheGap)
{
    const GapCase& c = GetParam();
    RecordingHost host;
    ScriptCompiler compiler;
    ASSERT_EQ(RunScript(compiler, Script(c.before, c.f, c.entry), host, c.settings).error, ScriptError::None);
    const RecordedCurve& curve = OnlyCurve(host);
    int found = 0;
    for (std::size_t i = 0; i < curve.points.size(); ++i) {
        const RecordedPoint& p = curve.points[i];
        found += p.x == c.after.x && p.y == c.after.y;
        if (i > 0) {
            EXPECT_FALSE(p.x == curve.points[i - 1].x && p.y == curve.points[i - 1].y) << "twice at x = " << p.x;
        }
    }
    EXPECT_EQ(found, 1);
    EXPECT_EQ(static_cast<int>(curve.strokeStarts.size()) + 1, c.strokes);
}

INSTANTIATE_TEST_SUITE_P(Curves, GapPoint, ::testing::ValuesIn(GapCases),
                         [](const auto& info) { return CaseName(info.param.name); });

// A line breaks where its coordinate runs off to infinity between two output points, and only there.
struct PoleCase {
    const char* name;
    const char* f;      // the function of the script
    const char* entry;  // its graph entry
    SettingsTexts settings;
    std::vector<double> breaks;  // each lies between a stroke's last x and the next one's first
    bool alongY = false;         // the breaks lie between y values instead
    const char* before = "";     // sections before the functions
};

const SettingsTexts Wide = TestSettings("-5", "10", "200");
const SettingsTexts AroundZero = TestSettings("-1.5", "1.5", "0", "1");  // the search's first probe is t = 0

const PoleCase PoleCases[] = {
    {"tan", "tan(t)", "t, f, l1", Wide, {-1.5 * M_PI, -0.5 * M_PI, 0.5 * M_PI, 1.5 * M_PI, 2.5 * M_PI}},
    {"pole in x", "1/t", "f, t, l1", TestSettings("-1.2", "1", "10"), {0}, true},
    {"roots are no poles", "t^3 - 3*t", "t, f, l1", Wide, {}},
    {"a jump is no pole", "hvis(t < 0, -1, 1)", "t, f, l1", Wide, {}},
    // A probe without a value ends the search as a pole, quietly even at a division by 0 or a stop; one of
    // exactly 0 as a root.
    {"a probe without a value", "hvis(abs(t) < 0.001, sqr(-1), t)", "t, f, l1", AroundZero, {0}},
    {"a probe dividing by 0", "1/t", "t, f, l1", AroundZero, {0}},
    {"a probe at a stop", "hvis(t = 0, stop, 1/t)", "t, f, l1", AroundZero, {0}},
    {"a probe of 0", "hvis(t = 0, 0, 1/t)", "t, f, l1", AroundZero, {}},
    {"marks never break", "tan(t)", "t, f, m1", Wide, {}},
    // The solver's state holds only at output times, so records that depend on it are never probed.
    {"differential equations", "y*tan(t)", "t, f, l1", TestSettings("0", "3", "30"), {}, false, ConstantOde},
};

class PoleBreak : public ::testing::TestWithParam<PoleCase> {};

TEST_P(PoleBreak, BreaksTheLineAtPolesOnly)
{
    const PoleCase& c = GetParam();
    RecordingHost host;
    ScriptCompiler compiler;
    const std::string script = std::string(c.before) + "Funktioner\n f = " + c.f + "\nGrafVariable\n " + c.entry;
    const RunResult result = RunScript(compiler, script, host, c.settings);
    EXPECT_EQ(result.error, ScriptError::None) << result.message;
    EXPECT_TRUE(host.notices.empty()) << host.notices.front();
    const RecordedCurve& curve = OnlyCurve(host);
    ASSERT_EQ(curve.strokeStarts.size(), c.breaks.size());
    const auto along = [&](std::size_t i) { return c.alongY ? curve.points.at(i).y : curve.points.at(i).x; };
    for (std::size_t i = 0; i < c.breaks.size(); ++i) {
        const std::size_t next = curve.strokeStarts[i];
        ASSERT_GT(next, 0u);
        EXPECT_LT(along(next - 1), c.breaks[i]);
        EXPECT_GT(along(next), c.breaks[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(Curves, PoleBreak, ::testing::ValuesIn(PoleCases),
                         [](const auto& info) { return CaseName(info.param.name); });

// t against a table draws the table's own points, in the entry's style and under the table's name.
struct TablePointsCase {
    const char* name;
    const char* script;
    CurveStyle style;
};

constexpr const char* Measured = "Tabeller\n maal = <(0, 1), (2, 3.9), (4, 8.1)>\n";

const TablePointsCase TablePointsCases[] = {
    {"marks", "GrafVariable\n t, maal, m2", CurveStyle::Mark2},
    {"line", "GrafVariable\n t, maal, l3", CurveStyle::Line3},
    {"beside differential equations", "DifferentialLigninger\n y' = y  <1>\nGrafVariable\n t, maal, m6",
     CurveStyle::Mark6},
};

class TablePoints : public ::testing::TestWithParam<TablePointsCase> {};

TEST_P(TablePoints, AreTheTablesOwn)
{
    const TablePointsCase& c = GetParam();
    RecordingHost host;
    ScriptCompiler compiler;
    const std::string script = std::string(Measured) + c.script;
    ASSERT_EQ(RunScript(compiler, script, host, TestSettings("-5", "10", "200")).error, ScriptError::None);
    const auto& graph = *host.graphs.at(0);
    ASSERT_EQ(graph.curves.size(), 1u);
    EXPECT_EQ(graph.curves[0].style, c.style);
    EXPECT_EQ(graph.names, std::vector<std::string>{"maal"});
    const std::vector<std::pair<double, double>> want = {{0, 1}, {2, 3.9}, {4, 8.1}};
    std::vector<std::pair<double, double>> got;
    for (const RecordedPoint& p : graph.curves[0].points)
        got.emplace_back(p.x, p.y);
    EXPECT_EQ(got, want);
    EXPECT_TRUE(graph.curves[0].strokeStarts.empty());
}

INSTANTIATE_TEST_SUITE_P(Entries, TablePoints, ::testing::ValuesIn(TablePointsCases),
                         [](const auto& info) { return CaseName(info.param.name); });

}  // namespace
