// Stores the points of one graph's curves up to a bound, for the graph page and the batch mode alike.
#pragma once

#include "engine/Curve.h"

namespace tavlix {

class CurveRecorder {
public:
    enum class Added {
        Stored,
        NoSuchCurve,   // the point is ignored
        LimitReached,  // the point is dropped: the graph holds maxPoints already
    };

    explicit CurveRecorder(long long maxPoints) : maxPoints_(maxPoints) {}

    // Curves count from 1 in the order they are added.
    void addCurve(CurveStyle style);
    Added addPoint(int curve, double x, double y);
    // The curve's next point starts a new stroke.
    void endStroke(int curve);
    const CurveList& curves() const { return curves_; }
    long long storedPoints() const { return storedPoints_; }
    long long maxPoints() const { return maxPoints_; }
    // Lets every curve and point go; the bound stays.
    void clear();

private:
    bool hasCurve(int curve) const { return curve >= 1 && curve <= static_cast<int>(curves_.size()); }

    CurveList curves_;
    long long storedPoints_ = 0;
    long long maxPoints_;
};

}  // namespace tavlix
