// Stores the points of one graph's curves up to a bound, for the graph page and the batch mode alike.
#pragma once

#include "engine/Curve.h"

#include <string_view>
#include <vector>

namespace tavlix {

class CurveRecorder {
public:
    // What storing a point did.
    enum class Added {
        Ignored,    // no such curve: the point is not taken
        OverLimit,  // the graph holds maxPoints already: the point is dropped and the run should stop
        First,      // the first point of a stroke: nothing to draw yet
        Step,       // a step from the stroke's previous point
    };
    // The segment a Step result draws.
    struct Step {
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    };

    explicit CurveRecorder(long long maxPoints) : maxPoints_(maxPoints) {}

    // Curves count from 1 in the order they are added.
    void addCurve(CurveStyle style);
    // Names curve n for the legend; the name comes in Windows-1252 and is kept in UTF-8, as labels are.
    void nameCurve(int curve, std::string_view cp1252Name);
    // Makes curve n a family member (see GraphSink::setCurveFamily); the label comes in Windows-1252.
    void setCurveFamily(int curve, int member, bool current, std::string_view cp1252Label);
    // Stores a point of the curve; on a Step result, step (when given) receives the segment to draw.
    Added addPoint(int curve, double x, double y, Step* step = nullptr);
    // The curve's next point starts a new stroke.
    void endStroke(int curve);

    // The run's curves, with those the user adds after it (solutions, tangents) behind them.
    CurveList& curves() { return curves_; }
    const CurveList& curves() const { return curves_; }
    long long storedPoints() const { return storedPoints_; }
    long long maxPoints() const { return maxPoints_; }
    // Lets every curve and point go (the memory too); the bound stays.
    void release();

private:
    // Where a curve's live drawing stands: the next point makes a step from the last one while the pen is down.
    struct Stroke {
        bool penDown = false;
        double lastX = 0;
        double lastY = 0;
    };
    bool takesPoints(int curve) const;

    CurveList curves_;
    std::vector<Stroke> strokes_;
    long long storedPoints_ = 0;
    long long maxPoints_;
};

}  // namespace tavlix
