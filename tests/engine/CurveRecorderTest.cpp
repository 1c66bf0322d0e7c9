// The curve store the graph page and the batch mode share: curves by number, strokes, labels and the point bound.
#include "engine/CurveRecorder.h"

#include <gtest/gtest.h>

#include <array>

using namespace tavlix;

namespace {

using Added = CurveRecorder::Added;

TEST(CurveRecorder, StepsJoinThePointsOfAStrokeCurveByCurve)
{
    CurveRecorder r(100);
    r.addCurve(CurveStyle::Line2);
    r.addCurve(CurveStyle::Mark6);
    CurveRecorder::Step step;
    EXPECT_EQ(r.addPoint(1, 0, 0, &step), Added::First);
    // Curves keep their own strokes: the other curve's first point does not join this one's.
    EXPECT_EQ(r.addPoint(2, 5, 6, &step), Added::First);
    EXPECT_EQ(r.addPoint(1, 1, 2, &step), Added::Step);
    EXPECT_EQ((std::array{step.x0, step.y0, step.x1, step.y1}), (std::array{0.0, 0.0, 1.0, 2.0}));
    r.endStroke(1);
    EXPECT_EQ(r.addPoint(1, 3, 3, &step), Added::First);
    EXPECT_EQ(r.addPoint(1, 4, 4, &step), Added::Step);
    EXPECT_EQ(step.x0, 3);
    const std::vector<CurvePoint>& points = r.curves()[0].points;
    ASSERT_EQ(points.size(), 5u);
    EXPECT_TRUE(points[2].breaksStroke);
    EXPECT_EQ(r.curves()[1].style, CurveStyle::Mark6);
    EXPECT_EQ(r.curves()[1].points[0].y, 6);
    EXPECT_EQ(r.storedPoints(), 5);  // a break is no point
}

TEST(CurveRecorder, UnknownCurvesTakeNoPoints)
{
    CurveRecorder r(100);
    r.addCurve(CurveStyle::Line1);
    for (int curve : {0, -1, 2, 3}) {
        EXPECT_EQ(r.addPoint(curve, 1, 1), Added::Ignored) << curve;
        r.endStroke(curve);
    }
    EXPECT_TRUE(r.curves()[0].points.empty());
    EXPECT_EQ(r.storedPoints(), 0);
    // A curve made later still draws.
    r.addCurve(CurveStyle::Line3);
    EXPECT_EQ(r.addPoint(2, 1, 1), Added::First);
    EXPECT_EQ(r.addPoint(2, 2, 2), Added::Step);
}

// A family's members say so; a run's own curves stay the run's.
TEST(CurveRecorder, FamilyMembersSayWhereTheyComeFrom)
{
    CurveRecorder r(100);
    r.addCurve(CurveStyle::Line1);
    r.addCurve(CurveStyle::Line1);
    r.setCurveFamily(1, 2, true, "k = 1");
    r.setCurveFamily(2, 0, true, "");
    EXPECT_EQ(r.curves()[0].origin, CurveOrigin::FamilyMember);
    EXPECT_EQ(r.curves()[1].origin, CurveOrigin::Run);
}

// The bound counts the stored points of all curves.
TEST(CurveRecorder, TheBoundDropsEveryPointBeyondIt)
{
    CurveRecorder r(3);
    r.addCurve(CurveStyle::Line1);
    r.addCurve(CurveStyle::Mark1);
    EXPECT_EQ(r.addPoint(1, 0, 0), Added::First);
    EXPECT_EQ(r.addPoint(2, 0, 0), Added::First);
    EXPECT_EQ(r.addPoint(1, 1, 1), Added::Step);
    EXPECT_EQ(r.addPoint(1, 2, 2), Added::OverLimit);
    EXPECT_EQ(r.addPoint(2, 2, 2), Added::OverLimit);
    EXPECT_EQ(r.storedPoints(), 3);
    EXPECT_EQ(r.curves()[0].points.back().x, 1);
    r.release();
    EXPECT_TRUE(r.curves().empty());
    EXPECT_EQ(r.storedPoints(), 0);
    EXPECT_EQ(r.maxPoints(), 3);
}

}  // namespace
