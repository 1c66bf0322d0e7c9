// The tangent of a curve against t at a chosen t, and the integral of a curve (or of the gap between two) over an
// interval of t.
#pragma once

#include "analysis/CurveFunction.h"

#include <optional>

namespace tavlix {

// The line y = slope * (x - t) + y through the curve's point at t.
struct Tangent {
    double t = 0;
    double y = 0;
    double slope = 0;
    // The line as y = a x + b: its b.
    double intercept() const { return y - slope * t; }
};

class CurveCalculus {
public:
    // The quadrature stops once its error estimate is this share of the integral.
    static constexpr double IntegralTolerance = 1e-12;

    // Nothing where the curve has no value or no slope at t.
    static std::optional<Tangent> tangentAt(CurveFunction& curve, double t);
    // The integral from a to b (negative when b < a); nothing where the curve has no value somewhere between.
    static std::optional<double> integral(CurveFunction& curve, double a, double b);
    // The integral of first - second from a to b: the area between two curves where first lies above.
    static std::optional<double> integralBetween(CurveFunction& first, CurveFunction& second, double a, double b);
};

}  // namespace tavlix
