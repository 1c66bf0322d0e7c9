// What a graph draws at gaps and poles, and tables shown as their own points: through the compiler and generator.
#include "tests/compiler/CompilerTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace compiler_test;
using tavlix::test::RecordedCurve;
using tavlix::test::RecordedPoint;

namespace {

SettingsTexts Range(const char* tMin, const char* tMax, const char* count, const char* delta = "0")
{
    SettingsTexts s = TestSettings(tMin, tMax, count);
    s[11] = delta;
    return s;
}

std::string CaseName(const char* name)
{
    std::string s = name;
    for (char& ch : s)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return s;
}

const RecordedCurve& OnlyCurve(const RecordingHost& host)
{
    return host.graphs.at(0)->curves.at(0);
}

// The point after a gap is drawn, and no point twice: neither at TMin nor at an edge.
struct GapCase {
    const char* name;
    const char* script;
    SettingsTexts settings;
    RecordedPoint after;  // the first defined output point after the gap
    int strokes;
};

const GapCase GapCases[] = {
    // t = 0.5 is an output time without a value; (1; 2) follows the edge point near 0.5.
    {"edge search", "Funktioner\n f = 1/(t - 0.5)\nGrafVariable\n t, f, l1", Range("-5", "10", "30"), {1, 2}, 2},
    // No edge search beside differential equations: the output point itself starts the stroke.
    {"differential equation",
     "DifferentialLigninger\n y' = 0  <1>\nFunktioner\n f = y*sqr(abs(t - 1) - 0.25)\nGrafVariable\n t, f, l1",
     Range("0", "2", "8"),
     {1.25, 0},
     2},
    {"marks", "Funktioner\n f = sqr(abs(t - 1) - 0.25)\nGrafVariable\n t, f, m1", Range("0", "2", "8"), {1.25, 0}, 1},
};

class GapPoint : public ::testing::TestWithParam<GapCase> {};

TEST_P(GapPoint, IsDrawnOnceAfterTheGap)
{
    const GapCase& c = GetParam();
    RecordingHost host;
    ScriptCompiler compiler;
    ASSERT_EQ(RunScript(compiler, c.script, host, c.settings).error, ScriptError::None);
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
    const bool trailing = !curve.strokeStarts.empty() && curve.strokeStarts.back() == curve.points.size();
    EXPECT_EQ(static_cast<int>(curve.strokeStarts.size()) + 1 - trailing, c.strokes);
}

INSTANTIATE_TEST_SUITE_P(Curves, GapPoint, ::testing::ValuesIn(GapCases),
                         [](const auto& info) { return CaseName(info.param.name); });

// A line breaks where its coordinate runs off to infinity between two output points, and only there.
struct PoleCase {
    const char* name;
    const char* script;
    SettingsTexts settings;
    std::vector<double> breaks;  // each lies between a stroke's last x and the next one's first
    bool alongY = false;         // the breaks lie between y values instead
};

const PoleCase PoleCases[] = {
    {"tan",
     "Funktioner\n f = tan(t)\nGrafVariable\n t, f, l1",
     Range("-5", "10", "200"),
     {-1.5 * M_PI, -0.5 * M_PI, 0.5 * M_PI, 1.5 * M_PI, 2.5 * M_PI}},
    {"pole between points", "Funktioner\n f = 1/(t - 0.5)\nGrafVariable\n t, f, l1", Range("-3", "3", "10"), {0.5}},
    // x runs off: the curve's x coordinate is searched like its y.
    {"pole in x", "Funktioner\n f = 1/t\nGrafVariable\n f, t, l1", Range("-1.2", "1", "10"), {0}, true},
    {"roots are no poles", "Funktioner\n f = t^3 - 3*t\nGrafVariable\n t, f, l1", Range("-5", "10", "200"), {}},
    {"a jump is no pole", "Funktioner\n f = hvis(t < 0, -1, 1)\nGrafVariable\n t, f, l1", Range("-5", "10", "200"), {}},
    // A probe without a value ends the search as a pole; one of exactly 0 (here t = 0 itself) as a root.
    {"a probe without a value",
     "Funktioner\n f = hvis(abs(t) < 0.001, sqr(-1), t)\nGrafVariable\n t, f, l1",
     Range("-1.5", "1.5", "0", "1"),
     {0}},
    {"a probe of 0",
     "Funktioner\n f = hvis(t = 0, 0, 1/t)\nGrafVariable\n t, f, l1",
     Range("-1.5", "1.5", "0", "1"),
     {}},
    // The search stops at a failed probe: a stop there neither ends the run nor leaves a notice.
    {"a probe at a stop",
     "Funktioner\n f = hvis(t = 0, stop, 1/t)\nGrafVariable\n t, f, l1",
     Range("-1.5", "1.5", "0", "1"),
     {0}},
    {"a probe dividing by 0", "Funktioner\n f = 1/t\nGrafVariable\n t, f, l1", Range("-1.5", "1.5", "0", "1"), {0}},
    {"marks never break", "Funktioner\n f = tan(t)\nGrafVariable\n t, f, m1", Range("-5", "10", "200"), {}},
    // The solver's state holds only at output times, so records that depend on it are never probed.
    {"no search beside differential equations",
     "DifferentialLigninger\n y' = 0  <1>\nFunktioner\n f = y*tan(t)\nGrafVariable\n t, f, l1",
     Range("0", "3", "30"),
     {}},
};

class PoleBreak : public ::testing::TestWithParam<PoleCase> {};

TEST_P(PoleBreak, BreaksTheLineAtPolesOnly)
{
    const PoleCase& c = GetParam();
    RecordingHost host;
    ScriptCompiler compiler;
    const RunResult result = RunScript(compiler, c.script, host, c.settings);
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
    ASSERT_EQ(RunScript(compiler, script, host, Range("-5", "10", "200")).error, ScriptError::None);
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
