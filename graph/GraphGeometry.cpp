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
    // Walk from the anchor past the top, then back below the bottom, one step at a time.
    const auto below = [&](double q) { return inclusive ? q >= lo : q > lo; };
    double q = anchor;
    int steps = 0;
    while (q <= hi && steps <= MaxWalkSteps) {
        q += step;
        ++steps;
    }
    while (below(q) && steps <= MaxWalkSteps) {
        q -= step;
        ++steps;
    }
    if (steps <= MaxWalkSteps) {
        q += step;
    } else {
        // A far anchor or a step lost against it: jump to the first lattice value in the range.
        const long double k = std::ceil((static_cast<long double>(lo) - anchor) / step);
        q = static_cast<double>(anchor + k * step);
        for (int i = 0; i < 4 && below(q - step); ++i)
            q -= step;
        for (int i = 0; i < 4 && !below(q); ++i)
            q += step;
    }
    while (inclusive ? q <= hi : q < hi) {
        const double next = q + step;
        // Too many to read, or a step lost in rounding: leave the axis bare.
        if (values.size() >= static_cast<std::size_t>(MaxAxisValues) || next == q)
            return {};
        values.push_back(q);
        q = next;
    }
    return values;
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
