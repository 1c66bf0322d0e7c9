// The points of one graph as a run delivers them: stored per curve, with strokes and a bound on their number.
#include "graph/CurveRecorder.h"

#include <cstddef>

using tavlix::CurveStyle;

CurveStyle curveStyleOfKind(int kind)
{
    return static_cast<CurveStyle>(kind <= 5 ? kind + 1 : kind);
}

void CurveRecorder::addCurve(CurveStyle style)
{
    tavlix::Curve c;
    c.style = style;
    c.points.reserve(100);
    curves_.push_back(std::move(c));
    strokes_.emplace_back();
}

CurveRecorder::Added CurveRecorder::addPoint(int curve, double x, double y, Step& step)
{
    if (curve < 1 || curve > static_cast<int>(curves_.size()))
        return Added::Ignored;
    // A label placed while the run goes on takes a curve number too; it takes no points.
    const auto i = static_cast<std::size_t>(curve - 1);
    if (curves_[i].isLabel)
        return Added::Ignored;
    strokes_.resize(curves_.size());
    if (++storedPoints_ > maxPoints_)
        return Added::OverLimit;
    Stroke& s = strokes_[i];
    const bool joined = s.penDown;
    if (joined)
        step = {s.lastX, s.lastY, x, y};
    s.penDown = true;
    s.lastX = x;
    s.lastY = y;
    curves_[i].points.push_back({x, y, false});
    return joined ? Added::Step : Added::First;
}

void CurveRecorder::endStroke(int curve)
{
    if (curve < 1 || curve > static_cast<int>(curves_.size()))
        return;
    const auto i = static_cast<std::size_t>(curve - 1);
    strokes_.resize(curves_.size());
    strokes_[i].penDown = false;
    curves_[i].points.push_back({0, 0, true});
}

void CurveRecorder::release()
{
    tavlix::CurveList().swap(curves_);
    std::vector<Stroke>().swap(strokes_);
}
