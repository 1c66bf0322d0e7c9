// The curve store the graph page and the batch mode share: curves by number, strokes and the point bound.
#include "engine/CurveRecorder.h"

#include <gtest/gtest.h>

using namespace tavlix;

namespace {

using Added = CurveRecorder::Added;

TEST(CurveRecorder, PointsGoToTheirCurveInOrder)
{
    CurveRecorder r(100);
    r.addCurve(CurveStyle::Line3);
    r.addCurve(CurveStyle::Mark6);
    EXPECT_EQ(r.addPoint(2, 1, 2), Added::Stored);
    EXPECT_EQ(r.addPoint(1, 3, 4), Added::Stored);
    EXPECT_EQ(r.addPoint(2, 5, 6), Added::Stored);
    ASSERT_EQ(r.curves().size(), 2u);
    EXPECT_EQ(r.curves()[0].style, CurveStyle::Line3);
    EXPECT_EQ(r.curves()[1].style, CurveStyle::Mark6);
    ASSERT_EQ(r.curves()[1].points.size(), 2u);
    EXPECT_EQ(r.curves()[1].points[1].x, 5);
    EXPECT_EQ(r.curves()[1].points[1].y, 6);
    EXPECT_EQ(r.storedPoints(), 3);
}

TEST(CurveRecorder, CurvesThatDoNotExistTakeNothing)
{
    CurveRecorder r(100);
    r.addCurve(CurveStyle::Line1);
    for (int curve : {0, -1, 2}) {
        EXPECT_EQ(r.addPoint(curve, 1, 1), Added::NoSuchCurve) << curve;
        r.endStroke(curve);
    }
    EXPECT_TRUE(r.curves()[0].points.empty());
    EXPECT_EQ(r.storedPoints(), 0);
}

// The bound counts the stored points of all curves; a stroke break is no point.
TEST(CurveRecorder, TheBoundDropsEveryPointBeyondIt)
{
    CurveRecorder r(3);
    r.addCurve(CurveStyle::Line1);
    r.addCurve(CurveStyle::Mark1);
    EXPECT_EQ(r.addPoint(1, 0, 0), Added::Stored);
    r.endStroke(1);
    EXPECT_EQ(r.addPoint(2, 0, 0), Added::Stored);
    EXPECT_EQ(r.addPoint(1, 1, 1), Added::Stored);
    EXPECT_EQ(r.addPoint(1, 2, 2), Added::LimitReached);
    EXPECT_EQ(r.addPoint(2, 2, 2), Added::LimitReached);
    EXPECT_EQ(r.storedPoints(), 3);
    const std::vector<CurvePoint>& first = r.curves()[0].points;
    ASSERT_EQ(first.size(), 3u);
    EXPECT_FALSE(first[0].breaksStroke);
    EXPECT_TRUE(first[1].breaksStroke);
    EXPECT_EQ(first[2].x, 1);
}

TEST(CurveRecorder, ClearLetsThePointsGoAndKeepsTheBound)
{
    CurveRecorder r(2);
    r.addCurve(CurveStyle::Line1);
    r.addPoint(1, 0, 0);
    r.clear();
    EXPECT_TRUE(r.curves().empty());
    EXPECT_EQ(r.storedPoints(), 0);
    EXPECT_EQ(r.maxPoints(), 2);
}

}  // namespace
