// Where values land on a graph's surface and back: the mapping, the axis values, clipping and mark placement.
#pragma once

#include "support/CoordinateSettings.h"
#include "support/ValueRect.h"

#include <vector>

// A range of values in both directions: the core's own type, so ranges pass to the direction field as they are.
using ValueRect = tavlix::ValueRect;

// A rectangle of pixels: left and top edges, width and height.
struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// Plain arithmetic without Qt: the renderer and the view ask it, tests check it without any widget.
class GraphGeometry {
public:
    // The view's ranges and steps; a zoom changes the four ranges.
    tavlix::CoordinateSettings& view() { return view_; }
    const tavlix::CoordinateSettings& view() const { return view_; }
    void setView(const tavlix::CoordinateSettings& view) { view_ = view; }
    // Sets the four view ranges, as a zoom does.
    void setRanges(double xmin, double xmax, double ymin, double ymax);
    void setRanges(const ValueRect& ranges) { setRanges(ranges.xmin, ranges.xmax, ranges.ymin, ranges.ymax); }
    ValueRect ranges() const;

    // The drawing area, and the size of "M" in the font the numbers are written with.
    const PixelRect& plotArea() const { return plotArea_; }
    void setPlotArea(const PixelRect& area) { plotArea_ = area; }
    int charWidth() const { return charWidth_; }
    int charHeight() const { return charHeight_; }
    void setCharSize(int width, int height);

    // True when both view ranges are non-empty and finite, so values can be mapped.
    bool rangesUsable() const { return usable(ranges()); }
    static bool usable(const ValueRect& ranges);
    // The ranges scaled by factor about (x, y), which keeps its place: below 1 zooms in, above 1 out.
    static ValueRect zoomedAbout(const ValueRect& ranges, double x, double y, double factor);
    // The ranges moved by dx and dy.
    static ValueRect shifted(const ValueRect& ranges, double dx, double dy);
    // A clicked value as the user meant it: rounded to the coarsest step of 1, 2 or 5 times a power of ten that
    // is no larger than one pixel (pixelSize), so a click near (0; 1,6) gives exactly that.
    static double roundedToPixel(double value, double pixelSize);
    // True when the point lies within the view ranges (ends included) and the ranges are usable.
    bool insideView(double x, double y) const;

    // Value to pixel, rounded half to even; pixel back to value.
    int toPixelX(double x) const;
    int toPixelY(double y) const;
    double toValueX(int column) const;
    double toValueY(int row) const;

    // The clip ranges follow the view's ranges.
    void resetClipToView();
    const ValueRect& clip() const { return clip_; }
    // Moves the outside end of a step onto the clip ranges; false when nothing of the step is drawn.
    bool clipStep(double& x0, double& y0, double& x1, double& y1) const;
    // Whether a mark at this pixel stays clear of the axes and their numbers.
    bool markVisible(int px, int py) const;

    // The tick or grid values of one axis: anchor + k * step, a value within step * 1e-9 of 0 being 0.
    // Inclusive walks (ticks) keep values on the range ends; strict walks (grid lines) drop them.
    static std::vector<double> axisValues(double anchor, double step, double lo, double hi, bool inclusive);
    // Most values an axis may give.
    static constexpr int MaxAxisValues = 2000;
    // The document's step while it shows MinAxisNumbers to MaxAxisNumbers numbers over [lo, hi], else the step of
    // 1, 2 or 5 times a power of ten that shows from FittedNumbers / 2 to FittedNumbers.
    static double fittingStep(double step, double anchor, double lo, double hi);
    static constexpr int MinAxisNumbers = 4;
    static constexpr int MaxAxisNumbers = 20;
    static constexpr int FittedNumbers = 10;
    // The run's settings shown over other ranges: the run's own steps over its own ranges, else steps that fit.
    static tavlix::CoordinateSettings fittedView(const tavlix::CoordinateSettings& run, const ValueRect& ranges);

    // The nearest integer, halves to even, kept far from int overflow (NaN gives 0).
    static int roundToPixel(long double v);

private:
    static void fitAxis(tavlix::CoordinateSettings& view, tavlix::Setting tick, tavlix::Setting grid, double anchor,
                        double lo, double hi);
    // Beyond this many steps from the anchor, its remainder stands in for it; below step * ZeroShare a value is 0.
    static constexpr double MaxLatticeIndex = 1e12;
    static constexpr double ZeroShare = 1e-9;

    tavlix::CoordinateSettings view_;
    PixelRect plotArea_;
    ValueRect clip_;
    int charWidth_ = 0;
    int charHeight_ = 0;
};
