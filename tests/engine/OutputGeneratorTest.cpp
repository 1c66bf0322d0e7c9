// Table and graph generation: row counts, cell texts, "Fejl" cells, edge search, captions and the sound endings.
#include "engine/Evaluator.h"
#include "engine/OutputGenerator.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tavlix;
using namespace tavlix::test;

namespace {

struct CellCase {
    double v;
    char sep;
    const char* text;
};
class CellTextCase : public ::testing::TestWithParam<CellCase> {};

TEST_P(CellTextCase, SixSignificantDigitsRightAligned)
{
    EXPECT_EQ(formatCell(GetParam().v, GetParam().sep), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Pattern, CellTextCase,
    ::testing::Values(CellCase{1234567, '.', "   1.23457E6"}, CellCase{0.00001, '.', "        1E-5"},
                      CellCase{-0.5, ',', "        -0,5"}, CellCase{2.0 / 3, ',', "    0,666667"},
                      CellCase{123456.7, '.', "      123457"}, CellCase{0.0001, '.', "      0.0001"},
                      CellCase{0.000015, '.', "      1.5E-5"}, CellCase{0.00015, '.', "     0.00015"},
                      CellCase{0, '.', "           0"}, CellCase{-0.0, '.', "           0"},
                      CellCase{-2.345678e12, '.', " -2.34568E12"}, CellCase{1e100, '.', "       1E100"},
                      CellCase{-1.5e-300, ',', "   -1,5E-300"}, CellCase{10, '.', "          10"}));

// A model with the given settings (t range and step) and plain functions added by the test.
class OutputGeneratorTest : public ::testing::Test {
protected:
    RecordingHost host;
    RunState run;
    std::unique_ptr<Model> m = FreshModel(host, run);
    int resultCount = 0;

    void Range(double tMin, double tMax, double tAntal, double tDelta = 0)
    {
        const double s[16] = {-5, 10, 1, 0, -5, 5, 1, 0, tMin, tMax, tAntal, tDelta, 0, 5e-5, 0, 0};
        std::copy(std::begin(s), std::end(s), m->script.settings.values.begin());
    }
    void TableOf(std::initializer_list<int> records)
    {
        m->script.outputCount = 0;
        for (int r : records)
            growTo(m->script.outputs, ++m->script.outputCount) = TableColumn(r);
    }
    void CurveOf(int x, int y, int style)
    {
        const int e = ++m->script.outputCount;
        growTo(m->script.outputs, e) = CurveOutput(x, y, static_cast<CurveStyle>(style));
    }
    RecordedTable& table(int i = 0) { return *host.tables.at(i); }
    std::vector<RecordedPoint>& curve(int e, int page = 0) { return host.graphs.at(page)->curves.at(e - 1).points; }
    // sqr(1 - t*t)
    int HalfCircle()
    {
        return AddRecord(*m, "f", Code().num(1).ref(0).ref(0).op(OpCode::Mul).op(OpCode::Sub).op(OpCode::Sqrt));
    }
};

TEST_F(OutputGeneratorTest, DefaultTableHas203Rows)
{
    const int f = AddRecord(*m, "f", Code().ref(0).op(OpCode::Sin));
    Range(-5, 10, 200);
    TableOf({0, f});
    EXPECT_EQ(generateTable(*m, run, "demo.tvx", resultCount), ScriptError::None);
    RecordedTable& tab = table();
    EXPECT_EQ(tab.rows, 203);
    EXPECT_EQ(tab.cols, 2);
    EXPECT_TRUE(tab.visible);
    EXPECT_EQ(tab.cells[0][0], "t");
    EXPECT_EQ(tab.cells[0][1], "f");
    EXPECT_EQ(tab.cells[1][0], "          -5");
    EXPECT_EQ(tab.cells[201][0], "          10");
    EXPECT_EQ(tab.cells[201][1], formatCell(std::sin(10.0), '.'));
    EXPECT_EQ(tab.cells[202][0], "");
    EXPECT_EQ(host.captions, std::vector<std::string>{"demo.tvx-1"});
}

TEST_F(OutputGeneratorTest, StepThatDoesNotDivideEndsAtTMax)
{
    Range(0, 1, 0, 0.3);
    TableOf({0});
    generateTable(*m, run, "p", resultCount);
    std::vector<std::string> column;
    for (int row = 1; row < table().rows - 1; ++row)
        column.push_back(table().cells[row][0]);
    const std::vector<std::string> want = {"           0", "         0.3", "         0.6", "         0.9",
                                           "           1"};
    EXPECT_EQ(column, want);
}

TEST_F(OutputGeneratorTest, BoundsGiveFejlCellsOutside)
{
    const int g = AddRecord(*m, "g", Code().ref(0).num(2).op(OpCode::Mul), 0, 1);
    Range(-1, 2, 6);  // -1, -0.5, ..., 2
    TableOf({0, g});
    EXPECT_EQ(generateTable(*m, run, "p", resultCount), ScriptError::None);
    const char* want[] = {"Fejl", "Fejl", "0", "1", "2", "Fejl", "Fejl"};
    ASSERT_EQ(table().rows, 9);
    for (int row = 1; row <= 7; ++row) {
        std::string cell = table().cells[row][1];
        cell.erase(0, cell.find_first_not_of(' '));
        EXPECT_EQ(cell, want[row - 1]) << "row " << row;
    }
    EXPECT_EQ(m->error, ScriptError::None);
}

TEST_F(OutputGeneratorTest, StopEndsPlainSamplingAtThePointsT)
{
    // hvis(t > 0, stop, t)
    const int f = AddRecord(*m, "f", Code());
    const int b1 = AddRecord(*m, "f", Code().op(OpCode::Stop));
    const int b2 = AddRecord(*m, "f", Code().ref(0));
    SetCode(*m, f, Code().ref(0).num(0).op(OpCode::Gt).hvis(b1, b2));
    Range(-1, 1, 4);
    TableOf({0, f});
    EXPECT_EQ(generateTable(*m, run, "p", resultCount), ScriptError::StopConditionMet);
    ASSERT_EQ(table().rows, 6);  // -1, -0.5, 0, 0.5 (Fejl) and no row at TMax
    EXPECT_EQ(table().cells[4][1], "Fejl");
    EXPECT_EQ(run.t, 0.5);
}

TEST_F(OutputGeneratorTest, StopAtTheFirstGraphPointStillDrawsTMin)
{
    const int f = AddRecord(*m, "f", Code().op(OpCode::Stop));
    Range(-1, 1, 4);
    CurveOf(0, f, 7);  // t, f, m1: never defined
    CurveOf(0, 0, 8);  // t, t, m2: TMin is output twice and drawn once, then the stop ends the sampling
    EXPECT_EQ(generateGraph(*m, run, "p", resultCount), ScriptError::StopConditionMet);
    EXPECT_TRUE(curve(1).empty());
    ASSERT_EQ(curve(2).size(), 1u);
    EXPECT_EQ(curve(2)[0].x, -1);
}

TEST_F(OutputGeneratorTest, EdgeSearchLandsOnTheEdgesOfALineCurve)
{
    const int f = HalfCircle();
    Range(-2, 2, 40);
    CurveOf(0, f, 1);
    EXPECT_EQ(generateGraph(*m, run, "p", resultCount), ScriptError::None);
    const auto& pts = curve(1);
    ASSERT_GT(pts.size(), 20u);
    const double within = 0.1 / (1 << 25) * 2;
    EXPECT_NEAR(pts.front().x, -1, within);
    EXPECT_NEAR(pts.back().x, 1, within);
    for (const auto& p : pts)
        EXPECT_LE(std::fabs(p.x), 1 + within);
    EXPECT_EQ(m->error, ScriptError::None);
    EXPECT_EQ(host.graphs[0]->curves[0].style, CurveStyle::Line1);  // l1 reaches the page as itself
    EXPECT_EQ(host.graphs[0]->begun, 1);
    EXPECT_EQ(host.graphs[0]->settings[Setting::Tmin], -2);
}

TEST_F(OutputGeneratorTest, MarksOnlyAtDefinedOutputPoints)
{
    const int f = HalfCircle();
    Range(-2, 2, 16);  // steps of 0.25: -1 and 1 are output points
    CurveOf(0, f, 8);
    generateGraph(*m, run, "p", resultCount);
    const auto& pts = curve(1);
    ASSERT_EQ(pts.size(), 9u);
    EXPECT_EQ(pts.front().x, -1);
    EXPECT_EQ(pts.back().x, 1);
    EXPECT_EQ(host.graphs[0]->curves[0].style, CurveStyle::Mark2);
}

TEST_F(OutputGeneratorTest, NoEdgeSearchWithDifferentialEquations)
{
    AddRecord(*m, "y", Code().num(0), 1, BigValue, true);  // y' = 0
    m->script.lastOdeRecord = 1;
    m->script.lastPlainRecord = 0;
    const int f = HalfCircle();
    Range(-2, 2, 16);
    CurveOf(0, f, 1);
    EXPECT_EQ(generateGraph(*m, run, "p", resultCount), ScriptError::None);
    for (const auto& p : curve(1))
        EXPECT_EQ(std::fmod(p.x * 4, 1.0), 0) << p.x;  // output points only
    // without an edge search the line starts at the first output point with a value
    EXPECT_EQ(curve(1).front().x, -1);
    EXPECT_EQ(curve(1).back().x, 1);
    EXPECT_EQ(m->error, ScriptError::None);
}

TEST_F(OutputGeneratorTest, CaptionsCountOnAcrossGenerationsAndRuns)
{
    Range(0, 1, 2);
    TableOf({0});
    generateTable(*m, run, "demo.tvx", resultCount);
    m->script.outputCount = 0;
    CurveOf(0, 0, 1);
    generateGraph(*m, run, "demo.tvx", resultCount);
    RunState nextRun;
    auto next = FreshModel(host, nextRun);  // the next run of the same page keeps its result page count
    next->script.settings = m->script.settings;
    next->script.outputCount = 1;
    growTo(next->script.outputs, 1) = TableColumn(0);
    generateTable(*next, nextRun, "demo.tvx", resultCount);
    EXPECT_EQ(host.captions, (std::vector<std::string>{"demo.tvx-1", "demo.tvx-2", "demo.tvx-3"}));
    EXPECT_EQ(resultCount, 3);
}

struct NoStepCase {
    const char* name;
    double tMin, tMax, tAntal, tDelta;
};
class NoStep : public OutputGeneratorTest, public ::testing::WithParamInterface<NoStepCase> {};

TEST_P(NoStep, OutputsTheSinglePointAtTMin)
{
    const NoStepCase& c = GetParam();
    Range(c.tMin, c.tMax, c.tAntal, c.tDelta);
    TableOf({0});
    EXPECT_EQ(generateTable(*m, run, "p", resultCount), ScriptError::None);
    EXPECT_EQ(table().rows, 3);
    EXPECT_EQ(table().cells[1][0], formatCell(c.tMin, '.'));
    m->script.outputCount = 0;
    CurveOf(0, 0, 1);
    CurveOf(0, 0, 7);
    EXPECT_EQ(generateGraph(*m, run, "p", resultCount), ScriptError::None);
    EXPECT_EQ(curve(1).size(), 1u);  // the first call only starts the curves
    EXPECT_EQ(curve(2).size(), 1u);
    EXPECT_FALSE(run.abandoned);
}

INSTANTIATE_TEST_SUITE_P(Sound, NoStep,
                         ::testing::Values(NoStepCase{"EmptyRange", 3, 3, 10, 0}, NoStepCase{"Reversed", 3, 1, 10, 0},
                                           NoStepCase{"NegativeDelta", 0, 1, 10, -0.5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutputGeneratorTest, NoStepsNoDeltaIsAGeneralErrorAndThePageStays)
{
    Range(0, 1, 0, 0);
    TableOf({0});
    EXPECT_EQ(generateTable(*m, run, "p", resultCount), ScriptError::None);
    EXPECT_TRUE(run.abandoned);
    EXPECT_FALSE(run.faultText.empty());
    EXPECT_EQ(host.tables.size(), 1u);
    EXPECT_EQ(table().rows, 0);
}

TEST_F(OutputGeneratorTest, EveryGenerationStartsWithoutAnEarlierFailure)
{
    m->error = ScriptError::CannotCompute;
    run.failed = true;
    run.stopped = true;
    Range(0, 1, 2);
    TableOf({0});
    EXPECT_EQ(generateTable(*m, run, "p", resultCount), ScriptError::None);
    EXPECT_EQ(table().rows, 5);
    EXPECT_EQ(m->error, ScriptError::None);
}

TEST_F(OutputGeneratorTest, UndefinedGraphPointsLeaveNoErrorBehind)
{
    const int g = AddRecord(*m, "g", Code().ref(0), 0, 1);
    Range(-1, 2, 6);
    CurveOf(0, g, 7);
    CurveOf(0, g, 1);
    EXPECT_EQ(generateGraph(*m, run, "p", resultCount), ScriptError::None);
    EXPECT_EQ(m->error, ScriptError::None);
    EXPECT_FALSE(run.failed);
    EXPECT_EQ(curve(1).size(), 3u);
}

TEST_F(OutputGeneratorTest, OverflowAbandonsWithoutInfiniteCells)
{
    const int f = AddRecord(*m, "f", Code().num(10).ref(0).op(OpCode::Pow));  // 10^t
    Range(0, 1000, 10);
    TableOf({0, f});
    EXPECT_EQ(generateTable(*m, run, "p", resultCount), ScriptError::None);
    EXPECT_TRUE(run.abandoned);
    EXPECT_FALSE(run.faultText.empty());
    // 10^0, 10^100, 10^200, 10^300, then 10^400 overflows: an overflow is no undefined value, so its cell
    // stays empty rather than saying Fejl, and nothing follows
    ASSERT_EQ(table().rows, 7);
    EXPECT_EQ(table().cells[5][0], "         400");
    EXPECT_EQ(table().cells[5][1], "");
    for (const auto& row : table().cells)
        for (const auto& cell : row)
            EXPECT_EQ(cell.find("inf"), std::string::npos);
}

TEST_F(OutputGeneratorTest, OverflowInADerivativeStopsTheSolver)
{
    AddRecord(*m, "y", Code().num(1e300).ref(1).op(OpCode::Mul), 1e10, BigValue, true);  // y' = 1e300 y
    m->script.lastOdeRecord = 1;
    m->script.lastPlainRecord = 0;
    Range(0, 1, 10);
    CurveOf(0, 1, 1);
    EXPECT_EQ(generateGraph(*m, run, "p", resultCount), ScriptError::None);
    EXPECT_TRUE(run.abandoned);
    EXPECT_FALSE(run.faultText.empty());
    for (const auto& p : curve(1))
        EXPECT_TRUE(std::isfinite(p.y));
}

TEST_F(OutputGeneratorTest, RefusedKeepGoingEndsTheRunQuietly)
{
    host.stopAfter = 3;
    Range(0, 1e9, 1e9);  // an absurd number of rows is still interruptible
    TableOf({0});
    EXPECT_EQ(generateTable(*m, run, "p", resultCount), ScriptError::None);
    EXPECT_TRUE(run.abandoned);
    EXPECT_TRUE(run.faultText.empty());
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(table().rows, 6);  // header, 4 rows, empty row
}

TEST_F(OutputGeneratorTest, RefusedPageEndsTheGenerationCleanly)
{
    host.refusePages = true;
    Range(0, 1, 2);
    TableOf({0});
    EXPECT_EQ(generateTable(*m, run, "p", resultCount), ScriptError::None);
    EXPECT_EQ(generateGraph(*m, run, "p", resultCount), ScriptError::None);
    EXPECT_EQ(resultCount, 2);
}

TEST_F(OutputGeneratorTest, FailingDerivativeAfterAGapIsReportedUnderItsOwnName)
{
    // a curve of g (bounds <0, 1>) has gaps; y' = sqr(1.5 - t) fails later and must be named, not g
    AddRecord(*m, "y", Code().num(1.5).ref(0).op(OpCode::Sub).op(OpCode::Sqrt), 0, BigValue, true);
    m->script.lastOdeRecord = 1;
    m->script.lastPlainRecord = 0;
    const int g = AddRecord(*m, "g", Code().ref(0), 0, 1);
    Range(-1, 2, 12);
    CurveOf(0, g, 1);
    EXPECT_EQ(generateGraph(*m, run, "p", resultCount), ScriptError::CannotCompute);
    EXPECT_EQ(run.failedName.view(), "y");
    EXPECT_GT(run.t, 1.5);
}

}  // namespace
