// Stores the points of one graph's curves up to a bound, for the graph page and the batch mode alike.
#include "engine/CurveRecorder.h"

namespace tavlix {

namespace {

// Most curves get at least this many points; fewer reallocations while a run is young.
constexpr std::size_t InitialPoints = 100;

}  // namespace

void CurveRecorder::addCurve(CurveStyle style)
{
    Curve curve;
    curve.style = style;
    curve.points.reserve(InitialPoints);
    curves_.push_back(std::move(curve));
}

CurveRecorder::Added CurveRecorder::addPoint(int curve, double x, double y)
{
    if (!hasCurve(curve))
        return Added::NoSuchCurve;
    if (storedPoints_ >= maxPoints_)
        return Added::LimitReached;
    ++storedPoints_;
    curves_[static_cast<std::size_t>(curve - 1)].points.push_back(CurvePoint{x, y, false});
    return Added::Stored;
}

void CurveRecorder::endStroke(int curve)
{
    if (hasCurve(curve))
        curves_[static_cast<std::size_t>(curve - 1)].points.push_back(CurvePoint{0, 0, true});
}

void CurveRecorder::clear()
{
    CurveList().swap(curves_);
    storedPoints_ = 0;
}

}  // namespace tavlix
