// A sign change between two samples brackets a zero or a crossing; a sample above (below) both neighbours brackets a
// maximum (minimum). Boost.Math refines each bracket on the curve's own values.
#include "analysis/InterestPoints.h"

#include <boost/math/tools/minima.hpp>
#include <boost/math/tools/toms748_solve.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>

namespace tavlix {

namespace {

constexpr std::uintmax_t MaxRefineSteps = 200;
// A sign change whose refined value is not this small against the bracket's is a pole or a jump, not a zero.
constexpr double PoleShare = 1e-6;
// The central difference's step for a smooth function's slope: the cube root of the double's precision.
constexpr double SlopeStep = 6e-6;
// Brent's search is as fine as a double's half mantissa (about 1e-8 relative); the slope's zero then refines it.
constexpr double ExtremeWindow = 1e-6;
constexpr int MinimumBits = std::numeric_limits<double>::digits / 2;

struct Undefined {};

// The root of f in [a, b], where f(a) and f(b) differ in sign; false when it cannot be refined or, for a curve's own
// values (continuous), when it is a pole or a jump.
template <typename F>
bool refineRoot(F f, double a, double b, double scale, double& root, bool continuous = true)
{
    try {
        const double fa = f(a), fb = f(b);
        if (fa == 0 || fb == 0) {
            root = fa == 0 ? a : b;
            return true;
        }
        if ((fa < 0) == (fb < 0))
            return false;
        std::uintmax_t steps = MaxRefineSteps;
        const auto close = [scale](double x, double y) {
            return std::fabs(x - y) <= InterestPoints::RootTolerance * std::max({std::fabs(x), std::fabs(y), scale});
        };
        const auto [lo, hi] = boost::math::tools::toms748_solve(f, a, b, fa, fb, close, steps);
        root = (lo + hi) / 2;
        return !continuous || std::fabs(f(root)) <= PoleShare * std::max(std::fabs(fa), std::fabs(fb));
    } catch (const Undefined&) {
        return false;
    } catch (const std::exception&) {
        return false;
    }
}

// Where the slope is 0 near Brent's answer x in [a, b]: for a differential-equation variable its right-hand side, for
// a plain function a central difference. x stays where the slope does not change sign around it.
double refineExtreme(CurveFunction& function, double a, double b, double x)
{
    double slope = 0;
    if (function.equationSlope(x, slope)) {
        const auto f = [&function](double t) {
            double v = 0;
            if (!function.equationSlope(t, v))
                throw Undefined{};
            return v;
        };
        double root = x;
        return refineRoot(f, a, b, b - a, root, false) ? root : x;
    }
    if (function.followsSolution())
        return x;
    const double h = SlopeStep * std::max(std::fabs(x), b - a);
    const auto f = [&function, h](double t) {
        double above = 0, below = 0;
        if (!function.valueAt(t + h, above) || !function.valueAt(t - h, below))
            throw Undefined{};
        return (above - below) / (2 * h);
    };
    // Brent's answer is within about 1e-8 of the extreme's share of the bracket, so this window holds the extreme.
    const double window = ExtremeWindow * std::max(std::fabs(x), b - a);
    double root = x;
    return refineRoot(f, std::max(a, x - window), std::min(b, x + window), b - a, root, false) ? root : x;
}

}  // namespace

const char* pointKindName(PointKind kind)
{
    switch (kind) {
    case PointKind::Zero: return "nulpunkt";
    case PointKind::Maximum: return "maksimum";
    case PointKind::Minimum: return "minimum";
    case PointKind::Intersection: return "sk\xE6ring";
    }
    return "";
}

InterestPoints::InterestPoints(CompiledDocument& document, const std::vector<SampledCurve>& curves)
    : document_(document), curves_(curves)
{
    for (const SampledCurve& c : curves)
        functions_.push_back(std::make_unique<CurveFunction>(document, c.record));
}

InterestPoints::~InterestPoints() = default;

bool InterestPoints::usable(int c, std::size_t i) const
{
    const SampledCurve& curve = curves_[static_cast<std::size_t>(c)];
    return curve.defined[i] && lo_ <= curve.t[i] && curve.t[i] <= hi_;
}

std::vector<InterestPoint> InterestPoints::find(double lo, double hi)
{
    lo_ = lo;
    hi_ = hi;
    std::vector<InterestPoint> points;
    const int count = static_cast<int>(curves_.size());
    for (int c = 0; c < count; ++c) {
        findZeros(c, points);
        findExtremes(c, points);
        for (int other = c + 1; other < count; ++other)
            findIntersections(c, other, points);
    }
    std::sort(points.begin(), points.end(), [](const InterestPoint& p, const InterestPoint& q) {
        return std::tie(p.kind, p.curve, p.other, p.x) < std::tie(q.kind, q.curve, q.other, q.x);
    });
    return points;
}

void InterestPoints::findZeros(int c, std::vector<InterestPoint>& points)
{
    const SampledCurve& curve = curves_[static_cast<std::size_t>(c)];
    CurveFunction& function = *functions_[static_cast<std::size_t>(c)];
    const auto f = [&function](double t) {
        double v = 0;
        if (!function.valueAt(t, v))
            throw Undefined{};
        return v;
    };
    const double scale = hi_ - lo_;
    for (std::size_t i = 0; i < curve.t.size(); ++i) {
        if (!usable(c, i))
            continue;
        if (curve.y[i] == 0) {
            points.push_back({PointKind::Zero, c, -1, curve.t[i], 0});
            continue;
        }
        if (i == 0 || !usable(c, i - 1) || curve.y[i - 1] == 0 || (curve.y[i - 1] < 0) == (curve.y[i] < 0))
            continue;
        double root = 0;
        if (refineRoot(f, curve.t[i - 1], curve.t[i], scale, root))
            points.push_back({PointKind::Zero, c, -1, root, 0});
    }
}

void InterestPoints::findIntersections(int a, int b, std::vector<InterestPoint>& points)
{
    const SampledCurve& first = curves_[static_cast<std::size_t>(a)];
    const SampledCurve& second = curves_[static_cast<std::size_t>(b)];
    if (first.t != second.t)
        return;
    CurveFunction& fa = *functions_[static_cast<std::size_t>(a)];
    CurveFunction& fb = *functions_[static_cast<std::size_t>(b)];
    const auto difference = [&fa, &fb](double t) {
        double u = 0, v = 0;
        if (!fa.valueAt(t, u) || !fb.valueAt(t, v))
            throw Undefined{};
        return u - v;
    };
    const auto gap = [&](std::size_t i) { return first.y[i] - second.y[i]; };
    const auto both = [&](std::size_t i) { return usable(a, i) && usable(b, i); };
    for (std::size_t i = 0; i < first.t.size(); ++i) {
        if (!both(i))
            continue;
        double root = first.t[i];
        if (gap(i) != 0) {
            if (i == 0 || !both(i - 1) || gap(i - 1) == 0 || (gap(i - 1) < 0) == (gap(i) < 0))
                continue;
            if (!refineRoot(difference, first.t[i - 1], first.t[i], hi_ - lo_, root))
                continue;
        }
        double y = 0;
        if (fa.valueAt(root, y))
            points.push_back({PointKind::Intersection, a, b, root, y});
    }
}

void InterestPoints::findExtremes(int c, std::vector<InterestPoint>& points)
{
    const SampledCurve& curve = curves_[static_cast<std::size_t>(c)];
    CurveFunction& function = *functions_[static_cast<std::size_t>(c)];
    for (std::size_t i = 1; i + 1 < curve.t.size(); ++i) {
        if (!usable(c, i - 1) || !usable(c, i) || !usable(c, i + 1))
            continue;
        const double before = curve.y[i - 1], here = curve.y[i], after = curve.y[i + 1];
        const bool maximum = before < here && here >= after;
        if (!maximum && !(before > here && here <= after))
            continue;
        const double a = curve.t[i - 1], b = curve.t[i + 1];
        const double sign = maximum ? -1 : 1;
        double x = 0;
        try {
            x = boost::math::tools::brent_find_minima(
                    [&](double t) {
                        double v = 0;
                        if (!function.valueAt(t, v))
                            throw Undefined{};
                        return sign * v;
                    },
                    a, b, MinimumBits)
                    .first;
        } catch (const Undefined&) {
            continue;
        }
        x = refineExtreme(function, a, b, x);
        double y = 0;
        // A smooth extreme lies little beyond its sample; a pole between the samples lies far beyond.
        const double reach = std::fabs(before - here) + std::fabs(after - here);
        if (function.valueAt(x, y) && std::fabs(y - here) <= reach)
            points.push_back({maximum ? PointKind::Maximum : PointKind::Minimum, c, -1, x, y});
    }
}

}  // namespace tavlix
