// Slopes from the equation itself where there is one, else Boost.Math's sixth-order finite difference; integrals by
// Boost.Math's adaptive Gauss-Kronrod quadrature.
#include "analysis/CurveCalculus.h"

#include <boost/math/differentiation/finite_difference.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>

#include <cmath>

namespace tavlix {

namespace {

// Interval halvings the quadrature may make: 2^15 pieces of 15 points are far beyond any smooth school curve.
constexpr unsigned MaxHalvings = 15;

struct Undefined {};

template <typename F>
std::optional<double> integrate(F f, double a, double b)
{
    if (a == b)
        return 0.0;
    try {
        const double v = boost::math::quadrature::gauss_kronrod<double, 15>::integrate(
            f, a, b, MaxHalvings, CurveCalculus::IntegralTolerance);
        return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
    } catch (const Undefined&) {
        return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

double valueOf(CurveFunction& curve, double t)
{
    double v = 0;
    if (!curve.valueAt(t, v))
        throw Undefined{};
    return v;
}

}  // namespace

std::optional<Tangent> CurveCalculus::tangentAt(CurveFunction& curve, double t)
{
    Tangent tangent{t, 0, 0};
    if (!curve.valueAt(t, tangent.y))
        return std::nullopt;
    if (curve.equationSlope(t, tangent.slope))
        return tangent;
    try {
        tangent.slope = boost::math::differentiation::finite_difference_derivative(
            [&curve](double x) { return valueOf(curve, x); }, t);
    } catch (const Undefined&) {
        return std::nullopt;
    }
    if (!std::isfinite(tangent.slope))
        return std::nullopt;
    return tangent;
}

std::optional<double> CurveCalculus::integral(CurveFunction& curve, double a, double b)
{
    return integrate([&curve](double t) { return valueOf(curve, t); }, a, b);
}

std::optional<double> CurveCalculus::integralBetween(CurveFunction& first, CurveFunction& second, double a, double b)
{
    return integrate([&](double t) { return valueOf(first, t) - valueOf(second, t); }, a, b);
}

}  // namespace tavlix
