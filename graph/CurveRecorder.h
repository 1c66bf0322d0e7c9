// The points of one graph as a run delivers them: stored per curve, with strokes and a bound on their number.
#pragma once

#include "engine/Curve.h"
#include "engine/CurveStyle.h"

#include <vector>

// Shared by the window's graph page and the batch mode, so both store and bound points alike. Qt-free.
class CurveRecorder {
public:
    explicit CurveRecorder(long long maxPoints) : maxPoints_(maxPoints) {}

    // What storing a point did.
    enum class Added {
        Ignored,    // no such curve
        OverLimit,  // beyond the bound: the point is dropped and the run should stop
        First,      // the first point of a stroke: nothing to draw yet
        Step,       // a step from the stroke's previous point
    };
    struct Step {
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    };

    void addCurve(tavlix::CurveStyle style);
    // Stores a point of curve n (counted from 1); a Step result fills step with the segment to draw.
    Added addPoint(int curve, double x, double y, Step& step);
    // Ends the current stroke of curve n (counted from 1): the next point starts a new one.
    void endStroke(int curve);

    tavlix::CurveList& curves() { return curves_; }
    const tavlix::CurveList& curves() const { return curves_; }
    long long storedPoints() const { return storedPoints_; }
    long long maxPoints() const { return maxPoints_; }
    // Lets go of every point (the memory too), once the graph's files are written.
    void release();

private:
    // Where a curve's live drawing stands: the next point makes a step from the last one while the pen is down.
    struct Stroke {
        bool penDown = false;
        double lastX = 0;
        double lastY = 0;
    };

    tavlix::CurveList curves_;
    std::vector<Stroke> strokes_;
    long long maxPoints_;
    long long storedPoints_ = 0;
};

// The engine's present curve numbers as styles: 0-5 are the line styles l1-l6, 7-12 the mark styles m1-m6.
tavlix::CurveStyle curveStyleOfKind(int kind);
