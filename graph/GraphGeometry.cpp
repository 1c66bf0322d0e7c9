// Where values land on a graph's surface and back: the mapping, the axis values, clipping and mark placement.
#include "graph/GraphGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

using tavlix::Setting;

namespace {

// Pixels far outside any canvas; keeps huge values (marks are not clipped in values) away from int overflow.
constexpr long double PixelLimit = 1 << 24;

// Outside code of a point against the clip ranges: 1 left, 2 right, 4 below, 8 above.
int outCode(double x, double y, const ValueRect& r)
{
    int code = 0;
    if (x < r.xmin)
        code = 1;
    else if (x > r.xmax)
        code = 2;
    if (y < r.ymin)
        code += 4;
    else if (y > r.ymax)
        code += 8;
    return code;
}

}  // namespace

int GraphGeometry::roundToPixel(long double v)
{
    if (std::isnan(v))
        return 0;
    v = std::clamp(v, -PixelLimit, PixelLimit);
    // The default rounding mode takes halves to even.
    return static_cast<int>(std::lrint(v));
}

void GraphGeometry::setRanges(double xmin, double xmax, double ymin, double ymax)
{
    view_[Setting::Xmin] = xmin;
    view_[Setting::Xmax] = xmax;
    view_[Setting::Ymin] = ymin;
    view_[Setting::Ymax] = ymax;
}

void GraphGeometry::setCharSize(int width, int height)
{
    charWidth_ = width;
    charHeight_ = height;
}

void GraphGeometry::resetClipToView()
{
    clip_ = ranges();
}

ValueRect GraphGeometry::ranges() const
{
    return {view_[Setting::Xmin], view_[Setting::Xmax], view_[Setting::Ymin], view_[Setting::Ymax]};
}

bool GraphGeometry::usable(const ValueRect& r)
{
    return r.xmin < r.xmax && r.ymin < r.ymax && std::isfinite(r.xmax - r.xmin) && std::isfinite(r.ymax - r.ymin);
}

ValueRect GraphGeometry::zoomedAbout(const ValueRect& r, double x, double y, double factor)
{
    // Long doubles, so that a range far from zero keeps the fixed point where it was.
    const auto scale = [factor](long double lo, long double hi, long double at) {
        return std::pair{static_cast<double>(at - (at - lo) * factor), static_cast<double>(at + (hi - at) * factor)};
    };
    const auto [xmin, xmax] = scale(r.xmin, r.xmax, x);
    const auto [ymin, ymax] = scale(r.ymin, r.ymax, y);
    return {xmin, xmax, ymin, ymax};
}

ValueRect GraphGeometry::shifted(const ValueRect& r, double dx, double dy)
{
    return {r.xmin + dx, r.xmax + dx, r.ymin + dy, r.ymax + dy};
}

double GraphGeometry::roundedToPixel(double value, double pixelSize)
{
    if (!(pixelSize > 0) || !std::isfinite(pixelSize) || !std::isfinite(value))
        return value;
    const double power = std::pow(10.0, std::floor(std::log10(pixelSize)));
    double step = power;
    for (double factor : {2.0, 5.0})
        if (factor * power <= pixelSize)
            step = factor * power;
    const double rounded = std::round(value / step) * step;
    // Rounding may not move the point by more than the pixel it stands for (it cannot, but huge values lose it).
    return std::isfinite(rounded) && std::abs(rounded - value) <= pixelSize ? rounded + 0.0 : value;
}

bool GraphGeometry::insideView(double x, double y) const
{
    return rangesUsable() && view_[Setting::Xmin] <= x && x <= view_[Setting::Xmax] && view_[Setting::Ymin] <= y &&
           y <= view_[Setting::Ymax];
}

int GraphGeometry::toPixelX(double x) const
{
    const int left = 6 * charWidth_;
    const long double span = static_cast<long double>(view_[Setting::Xmax]) - view_[Setting::Xmin];
    if (!(span > 0) || !std::isfinite(span))
        return plotArea_.left + left;
    return roundToPixel((x - static_cast<long double>(view_[Setting::Xmin])) / span * (plotArea_.width - left) + left) +
           plotArea_.left;
}

int GraphGeometry::toPixelY(double y) const
{
    const int bottom = 2 * charHeight_;
    const long double span = static_cast<long double>(view_[Setting::Ymax]) - view_[Setting::Ymin];
    const int base = plotArea_.top + plotArea_.height;
    if (!(span > 0) || !std::isfinite(span))
        return base - bottom;
    return base -
           roundToPixel((y - static_cast<long double>(view_[Setting::Ymin])) / span * (plotArea_.height - bottom) +
                        bottom);
}

double GraphGeometry::toValueX(int column) const
{
    const int plot = std::max(plotArea_.width - 6 * charWidth_, 1);
    const long double span = static_cast<long double>(view_[Setting::Xmax]) - view_[Setting::Xmin];
    return static_cast<double>(view_[Setting::Xmin] +
                               static_cast<long double>(column - plotArea_.left - 6 * charWidth_) / plot * span);
}

double GraphGeometry::toValueY(int row) const
{
    const int plot = std::max(plotArea_.height - 2 * charHeight_, 1);
    const long double span = static_cast<long double>(view_[Setting::Ymax]) - view_[Setting::Ymin];
    return static_cast<double>(view_[Setting::Ymin] +
                               static_cast<long double>(plotArea_.top + plotArea_.height - row - 2 * charHeight_) /
                                   plot * span);
}

std::vector<double> GraphGeometry::axisValues(double anchor, double step, double lo, double hi, bool inclusive)
{
    std::vector<double> values;
    if (!(step > 0) || !std::isfinite(step) || !std::isfinite(anchor) || !std::isfinite(lo) || !std::isfinite(hi) ||
        !(lo <= hi))
        return values;
    // A far anchor loses the step against it; its remainder (exact) lies on the same lattice.
    const double base = std::fabs(anchor - lo) / step > MaxLatticeIndex ? std::fmod(anchor, step) : anchor;
    // Each value by one multiplication, so no rounding piles up: the origin reads 0, not -2,8E-17.
    const auto at = [base, step](double k) {
        const double v = base + k * step;
        return std::fabs(v) < step * ZeroShare ? 0.0 : v;
    };
    const auto fromBelow = [&](double v) { return inclusive ? v >= lo : v > lo; };
    const auto fromAbove = [&](double v) { return inclusive ? v <= hi : v < hi; };
    double first = std::ceil((lo - base) / step);
    double last = std::floor((hi - base) / step);
    if (!std::isfinite(first) || !std::isfinite(last) || last - first > MaxAxisValues + 2)
        return values;
    // The divisions may be off by one either way at the ends.
    for (int i = 0; i < 2 && fromBelow(at(first - 1)); ++i)
        --first;
    for (int i = 0; i < 2 && !fromBelow(at(first)); ++i)
        ++first;
    for (int i = 0; i < 2 && fromAbove(at(last + 1)); ++i)
        ++last;
    for (int i = 0; i < 2 && !fromAbove(at(last)); ++i)
        --last;
    for (double k = first; k <= last; ++k) {
        const double v = at(k);
        // Too many to read, or a step lost in rounding: leave the axis bare.
        if (values.size() >= static_cast<std::size_t>(MaxAxisValues) || (!values.empty() && v <= values.back()))
            return {};
        values.push_back(v);
    }
    return values;
}

double GraphGeometry::fittingStep(double step, double anchor, double lo, double hi)
{
    const auto count = [&](double s) { return static_cast<int>(axisValues(anchor, s, lo, hi, true).size()); };
    if (!(hi > lo) || !std::isfinite(hi - lo))
        return step;
    if (step > 0) {
        const int n = count(step);
        if (n >= MinAxisNumbers && n <= MaxAxisNumbers)
            return step;
    }
    // The smallest 1-2-5 step that shows at most ten numbers shows at least five.
    const double lowest = std::floor(std::log10((hi - lo) / FittedNumbers)) - 1;
    for (int i = 0; i < 4; ++i) {
        const double power = std::pow(10.0, lowest + i);
        for (double factor : {1.0, 2.0, 5.0}) {
            const int n = count(factor * power);
            if (n > 0 && n <= FittedNumbers)
                return factor * power;
        }
    }
    return step;
}

tavlix::CoordinateSettings GraphGeometry::fittedView(const tavlix::CoordinateSettings& run, const ValueRect& ranges)
{
    tavlix::CoordinateSettings view = run;
    const ValueRect runRanges{run[Setting::Xmin], run[Setting::Xmax], run[Setting::Ymin], run[Setting::Ymax]};
    if (ranges == runRanges)
        return view;
    view[Setting::Xmin] = ranges.xmin;
    view[Setting::Xmax] = ranges.xmax;
    view[Setting::Ymin] = ranges.ymin;
    view[Setting::Ymax] = ranges.ymax;
    fitAxis(view, Setting::XTickStep, Setting::XGridStep, run[Setting::YAxisAtX], ranges.xmin, ranges.xmax);
    fitAxis(view, Setting::YTickStep, Setting::YGridStep, run[Setting::XAxisAtY], ranges.ymin, ranges.ymax);
    return view;
}

void GraphGeometry::fitAxis(tavlix::CoordinateSettings& view, Setting tick, Setting grid, double anchor, double lo,
                            double hi)
{
    const double runTick = view[tick];
    const double runGrid = view[grid];
    if (runTick > 0) {
        view[tick] = fittingStep(runTick, anchor, lo, hi);
        // The grid keeps its share of the tick step, so a grid at every half tick stays one.
        if (runGrid > 0)
            view[grid] = runGrid * (view[tick] / runTick);
    } else if (runGrid > 0) {
        view[grid] = fittingStep(runGrid, anchor, lo, hi);
    }
}

bool GraphGeometry::clipStep(double& x0, double& y0, double& x1, double& y1) const
{
    // An undefined end has no place on the plot.
    if (std::isnan(x0) || std::isnan(y0) || std::isnan(x1) || std::isnan(y1))
        return false;
    int c0 = outCode(x0, y0, clip_);
    int c1 = outCode(x1, y1, clip_);
    if (c0 == 0 && c1 == 0)
        return true;
    if (c0 != 0 && c1 != 0)
        return false;
    // Move the outside end onto the boundaries its code names; a corner needs at most a few moves.
    const bool first = c0 != 0;
    double& mx = first ? x0 : x1;
    double& my = first ? y0 : y1;
    int& code = first ? c0 : c1;
    for (int i = 0; i < 4 && code != 0; ++i) {
        if ((c0 & c1) != 0)
            return false;
        if (code & 1) {
            my = y0 + (y1 - y0) * (clip_.xmin - x0) / (x1 - x0);
            mx = clip_.xmin;
        } else if (code & 2) {
            my = y0 + (y1 - y0) * (clip_.xmax - x0) / (x1 - x0);
            mx = clip_.xmax;
        } else if (code & 4) {
            mx = x0 + (x1 - x0) * (clip_.ymin - y0) / (y1 - y0);
            my = clip_.ymin;
        } else {
            mx = x0 + (x1 - x0) * (clip_.ymax - y0) / (y1 - y0);
            my = clip_.ymax;
        }
        code = outCode(mx, my, clip_);
    }
    return code == 0;
}

bool GraphGeometry::markVisible(int px, int py) const
{
    const int o = charWidth_ / 4;
    return px > plotArea_.left + 6 * charWidth_ + o && py < plotArea_.top + plotArea_.height - 2 * charHeight_ - o;
}
