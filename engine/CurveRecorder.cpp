// Stores the points of one graph's curves up to a bound, for the graph page and the batch mode alike.
#include "engine/CurveRecorder.h"

#include "support/Cp1252Table.h"

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

void CurveRecorder::nameCurve(int curve, std::string_view cp1252Name)
{
    if (takesPoints(curve))
        curves_[static_cast<std::size_t>(curve - 1)].name = utf8FromCp1252(cp1252Name);
}

void CurveRecorder::setCurveFamily(int curve, int member, bool current, std::string_view cp1252Label)
{
    if (!takesPoints(curve))
        return;
    Curve& c = curves_[static_cast<std::size_t>(curve - 1)];
    c.origin = member > 0 ? CurveOrigin::FamilyMember : CurveOrigin::Run;
    c.familyMember = member;
    c.familyCurrent = current;
    c.familyLabel = utf8FromCp1252(cp1252Label);
}

bool CurveRecorder::takesPoints(int curve) const
{
    return curve >= 1 && curve <= static_cast<int>(curves_.size());
}

CurveRecorder::Added CurveRecorder::addPoint(int curve, double x, double y, Step* step)
{
    if (!takesPoints(curve))
        return Added::Ignored;
    if (storedPoints_ >= maxPoints_)
        return Added::OverLimit;
    ++storedPoints_;
    const auto i = static_cast<std::size_t>(curve - 1);
    strokes_.resize(curves_.size());
    Stroke& s = strokes_[i];
    const bool joined = s.penDown;
    if (joined && step)
        *step = {s.lastX, s.lastY, x, y};
    s = {true, x, y};
    curves_[i].points.push_back(CurvePoint{x, y, false});
    return joined ? Added::Step : Added::First;
}

void CurveRecorder::endStroke(int curve)
{
    if (!takesPoints(curve))
        return;
    const auto i = static_cast<std::size_t>(curve - 1);
    strokes_.resize(curves_.size());
    strokes_[i].penDown = false;
    curves_[i].points.push_back(CurvePoint{0, 0, true});
}

void CurveRecorder::release()
{
    CurveList().swap(curves_);
    std::vector<Stroke>().swap(strokes_);
    storedPoints_ = 0;
}

}  // namespace tavlix
