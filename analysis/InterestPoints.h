// Zeros, local maxima and minima of the curves of a graph page against t, and where two of them meet: found between
// the page's samples, then refined on the curves themselves.
#pragma once

#include "analysis/CompiledDocument.h"
#include "analysis/CurveFunction.h"
#include "analysis/GraphPages.h"

#include <memory>
#include <vector>

namespace tavlix {

enum class PointKind { Zero, Maximum, Minimum, Intersection };

// The kind as the user reads it: "nulpunkt", "maksimum", "minimum", "skæring" (Windows-1252).
const char* pointKindName(PointKind kind);

struct InterestPoint {
    PointKind kind = PointKind::Zero;
    int curve = 0;   // the index of the curve in the page's list
    int other = -1;  // the other curve of an intersection; -1 otherwise
    double x = 0;
    double y = 0;
};

class InterestPoints {
public:
    // Roots are refined until their bracket is this share of their size (or of the range near 0).
    static constexpr double RootTolerance = 1e-12;

    // The document must be compiled as the page's run was, and stay so while the finder is used.
    InterestPoints(CompiledDocument& document, const std::vector<SampledCurve>& curves);
    ~InterestPoints();

    // Every point with lo <= x <= hi, by kind and then by x.
    std::vector<InterestPoint> find(double lo, double hi);

private:
    void findZeros(int c, std::vector<InterestPoint>& points);
    void findExtremes(int c, std::vector<InterestPoint>& points);
    void findIntersections(int a, int b, std::vector<InterestPoint>& points);
    // Sample i of curve c has a value and lies in [lo, hi].
    bool usable(int c, std::size_t i) const;

    CompiledDocument& document_;
    const std::vector<SampledCurve>& curves_;
    std::vector<std::unique_ptr<CurveFunction>> functions_;
    double lo_ = 0;
    double hi_ = 0;
};

}  // namespace tavlix
