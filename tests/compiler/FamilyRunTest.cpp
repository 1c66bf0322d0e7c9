// A family run: every graph draws its curves once per value of the family's list constant, into the first run's
// pages, while tables, captions and numbering stay those of the current value.
#include "CompilerTestSupport.h"

#include "engine/CurveRecorder.h"
#include "engine/DirectionField.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace tavlix;
using namespace tavlix::test;

namespace {

using namespace compiler_test;

// Keeps each graph as the window would, in a curve recorder.
struct RecorderGraph : GraphSink {
    CurveRecorder recorder{1'000'000};
    int begun = 0;
    void setSettings(const CoordinateSettings&) override {}
    void begin() override { ++begun; }
    void fitToWindow() override {}
    void addCurve(CurveStyle style) override { recorder.addCurve(style); }
    void nameCurve(int curve, std::string_view name) override { recorder.nameCurve(curve, name); }
    void setCurveFamily(int curve, int member, bool current, std::string_view label) override
    {
        recorder.setCurveFamily(curve, member, current, label);
    }
    void addPoint(int curve, double x, double y) override { recorder.addPoint(curve, x, y); }
    void endStroke(int curve) override { recorder.endStroke(curve); }
    void setDirectionField(std::shared_ptr<DirectionField> f) override
    {
        field = std::move(f);
        ++fields;
    }
    std::shared_ptr<DirectionField> field;
    int fields = 0;
};

struct PageKeepingHost : RecordingHost {
    std::vector<std::unique_ptr<RecorderGraph>> pages;
    std::size_t pageLimit = 100;  // the graph pages the window can make before it refuses
    GraphSink* createGraphPage(const std::string& caption) override
    {
        captions.push_back(caption);
        if (pages.size() >= pageLimit)
            return nullptr;
        pages.push_back(std::make_unique<RecorderGraph>());
        return pages.back().get();
    }
};

constexpr const char* Script =
    "konstanter\nk = <1, 2, 3>\nfunktioner\nf = k*t\ng = t\n"
    "grafvariable\nt, f, l1\nt, g, l2\ntabelvariable\nt, f\ngrafvariable\nt, f, m1";

struct FamilyRow {
    const char* name;
    const char* family;
    int pick;
    // Per curve of the first graph: its member, whether current, its label and f's or g's value at t = 10.
    std::vector<int> members;
    std::vector<bool> current;
    std::vector<std::string> labels;
    std::vector<double> lastY;
};

class FamilyRunTest : public ::testing::TestWithParam<FamilyRow> {};

TEST_P(FamilyRunTest, GraphsDrawEveryMemberIntoTheFirstRunsPages)
{
    const FamilyRow& row = GetParam();
    ScriptCompiler compiler;
    compiler.setPicks({{"k", row.pick}});
    compiler.setFamily(row.family);
    PageKeepingHost host;
    ASSERT_EQ(RunScript(compiler, Script, host).error, ScriptError::None);
    EXPECT_EQ(host.captions, (std::vector<std::string>{"doc-1", "doc-2", "doc-3"}));
    EXPECT_EQ(compiler.resultPageCount(), 3);
    ASSERT_EQ(host.pages.size(), 2U);
    EXPECT_EQ(host.pages[0]->begun, 1);
    ASSERT_EQ(host.tables.size(), 1U);
    // The table's row at t = 10 holds f at the current value.
    const auto trimmed = [](std::string cell) { return cell.erase(0, cell.find_first_not_of(' ')); };
    const auto& cells = host.tables[0]->cells;
    const auto at10 = std::find_if(cells.begin(), cells.end(), [&](const std::vector<std::string>& r) {
        return !r.empty() && trimmed(r[0]) == "10";
    });
    ASSERT_NE(at10, cells.end());
    EXPECT_EQ(trimmed(at10->at(1)), std::to_string(10 * row.pick));
    const CurveList& curves = host.pages[0]->recorder.curves();
    ASSERT_EQ(curves.size(), row.members.size());
    for (std::size_t i = 0; i < curves.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(curves[i].familyMember, row.members[i]);
        EXPECT_EQ(curves[i].familyCurrent, row.current[i]);
        EXPECT_EQ(curves[i].familyLabel, row.labels[i]);
        EXPECT_EQ(curves[i].points.back().y, row.lastY[i]);
    }
    EXPECT_EQ(host.pages[1]->recorder.curves().size(), row.members.size() / 2);
    // The run reports the current value's lists, as without a family.
    EXPECT_EQ(compiler.listParameters().at(0).pick, row.pick);
}

INSTANTIATE_TEST_SUITE_P(Families, FamilyRunTest,
                         ::testing::Values(FamilyRow{"None", "", 2, {0, 0}, {true, true}, {"", ""}, {20, 10}},
                                           FamilyRow{"NotAList", "g", 2, {0, 0}, {true, true}, {"", ""}, {20, 10}},
                                           FamilyRow{"OverK",
                                                     "k",
                                                     2,
                                                     {2, 2, 1, 1, 3, 3},
                                                     {true, true, false, false, false, false},
                                                     {"k = 2", "k = 2", "k = 1", "k = 1", "k = 3", "k = 3"},
                                                     {20, 10, 10, 10, 30, 10}},
                                           FamilyRow{"FirstIsCurrent",
                                                     "k",
                                                     1,
                                                     {1, 1, 2, 2, 3, 3},
                                                     {true, true, false, false, false, false},
                                                     {"k = 1", "k = 1", "k = 2", "k = 2", "k = 3", "k = 3"},
                                                     {10, 10, 20, 10, 30, 10}}),
                         [](const auto& info) { return std::string(info.param.name); });

// A member can be interrupted like any run: the run is abandoned with what it drew so far.
TEST(FamilyRun, AMemberThatIsInterruptedAbandonsTheRun)
{
    ScriptCompiler plain;
    PageKeepingHost counted;
    counted.stopAfter = 1'000'000;  // counts the pauses of a run without a family
    ASSERT_EQ(RunScript(plain, Script, counted).error, ScriptError::None);
    ScriptCompiler compiler;
    compiler.setFamily("k");
    PageKeepingHost host;
    host.stopAfter = counted.keepGoingCalls + 3;
    EXPECT_TRUE(RunScript(compiler, Script, host).abandoned);
    EXPECT_GT(host.pages[0]->recorder.curves().size(), 2U);
    EXPECT_EQ(host.captions.size(), 3U);
}

// The page's slope field is the current value's, so that it matches the curve in front: y' = k*y at y = 1.
TEST(FamilyRun, ThePagesFieldIsTheCurrentValues)
{
    for (int pick : {1, 3}) {
        ScriptCompiler compiler;
        compiler.setPicks({{"k", pick}});
        compiler.setFamily("k");
        PageKeepingHost host;
        ASSERT_EQ(RunScript(compiler,
                            "konstanter\nk = <1, 2, 3>\ndifferentialligninger\ny' = k*y <1>\n"
                            "grafvariable\nt, y, l1",
                            host)
                      .error,
                  ScriptError::None);
        ASSERT_EQ(host.pages.at(0)->fields, 1);
        const auto d = host.pages[0]->field->direction(0, 1);
        ASSERT_TRUE(d.has_value());
        EXPECT_DOUBLE_EQ(d->dy / d->dx, pick) << pick;
    }
}

// Members run side by side yet draw as one after another would: each member's curves are those of a run at its
// value alone, in member order, and their notices come in that order too.
TEST(FamilyRun, MembersDrawAndTellAsSeparateRunsWould)
{
    const std::string script =
        "konstanter\nk = <1, 2, 3, 4>\ndifferentialligninger\ny' = k - y <0>\n"
        "funktioner\nf = 1/(t - k)\ngrafvariable\nt, y, l1\nt, f, l2";
    ScriptCompiler family;
    family.setPicks({{"k", 2}});
    family.setFamily("k");
    PageKeepingHost host;
    ASSERT_EQ(RunScript(family, script, host).error, ScriptError::None);
    const CurveList& curves = host.pages.at(0)->recorder.curves();
    ASSERT_EQ(curves.size(), 8U);
    std::vector<std::string> notices;
    for (int i = 0; i < 4; ++i) {
        const int pick = i == 0 ? 2 : i == 1 ? 1 : i + 1;  // the current value first, then the others in order
        SCOPED_TRACE(pick);
        ScriptCompiler alone;
        alone.setPicks({{"k", pick}});
        PageKeepingHost single;
        ASSERT_EQ(RunScript(alone, script, single).error, ScriptError::None);
        notices.insert(notices.end(), single.notices.begin(), single.notices.end());
        const CurveList& own = single.pages.at(0)->recorder.curves();
        for (std::size_t c = 0; c < 2; ++c) {
            const std::vector<CurvePoint>& got = curves[2 * static_cast<std::size_t>(i) + c].points;
            ASSERT_EQ(got.size(), own[c].points.size());
            for (std::size_t p = 0; p < got.size(); ++p) {
                EXPECT_EQ(got[p].x, own[c].points[p].x);
                EXPECT_EQ(got[p].y, own[c].points[p].y);
                EXPECT_EQ(got[p].breaksStroke, own[c].points[p].breaksStroke);
            }
        }
    }
    EXPECT_EQ(notices.size(), 4U);  // f divides by 0 once per value
    EXPECT_EQ(host.notices, notices);
}

// Members run beside the first run, yet draw a graph only where the first run has a page: the second graph, which
// the window refuses, divides by 0 for every member, and nobody tells of it.
TEST(FamilyRun, MembersDrawNoGraphTheFirstRunHasNoPageFor)
{
    ScriptCompiler compiler;
    compiler.setFamily("k");
    PageKeepingHost host;
    host.pageLimit = 1;
    ASSERT_EQ(RunScript(compiler,
                        "konstanter\nk = <1, 2, 3, 4, 5>\nfunktioner\nf = k*t\ng = 1/(t - k)\n"
                        "grafvariable\nt, f, l1\ngrafvariable\nt, g, l1",
                        host)
                  .error,
              ScriptError::None);
    ASSERT_EQ(host.pages.size(), 1U);
    EXPECT_EQ(host.pages[0]->recorder.curves().size(), 5U);
    EXPECT_TRUE(host.notices.empty());
}

// Escape reaches every member: members whose stiff equation would take minutes stop at once with the run.
TEST(FamilyRun, AStopEndsMembersStillStepping)
{
    const std::string script =
        "konstanter\nk = <1, 1e7, 1e7, 1e7, 1e7>\ndifferentialligninger\ny' = -k*(y - cos(t)) <1>\n"
        "grafvariable\nt, y, l1";
    ScriptCompiler plain;
    PageKeepingHost counted;
    counted.stopAfter = 1'000'000;
    ASSERT_EQ(RunScript(plain, script, counted).error, ScriptError::None);
    // Escape during the first run, with members already stepping beside it, and once it is over.
    for (const long stopAfter : {counted.keepGoingCalls / 2, counted.keepGoingCalls + 1}) {
        SCOPED_TRACE(stopAfter);
        ScriptCompiler compiler;
        compiler.setFamily("k");
        PageKeepingHost host;
        host.stopAfter = stopAfter;
        EXPECT_TRUE(RunScript(compiler, script, host).abandoned);
        EXPECT_EQ(host.pages.at(0)->recorder.curves().size(), 1U);
        EXPECT_TRUE(host.statuses.empty());
    }
}

}  // namespace
