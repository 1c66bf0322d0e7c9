// The legend of a graph: a framed white box in the upper right corner naming each curve beside a sample of it.
#pragma once

#include "engine/Curve.h"

#include <QList>
#include <QString>

class QFontMetrics;
class QPainter;
class QRect;

class GraphLegend {
public:
    // One line of the legend: a curve's style and name, or the closing "… og N mere" (more true, no sample).
    struct Entry {
        tavlix::CurveStyle style = tavlix::CurveStyle::Line1;
        QString name;
        bool more = false;
        bool faint = false;  // a family's member other than the current value: drawn thinner and lighter
    };
    // How the painter draws: pen widths of frame and marks, of line samples, a mark's half size, smoothing.
    struct Pens {
        int frameWidth = 0;
        int curveWidth = 0;
        int markSize = 2;
        bool smooth = false;
    };

    // More curves than this list the first ones and a line saying how many more there are.
    static constexpr int MaxEntries = 10;

    // The lines of the legend: the curves in order (text labels are no curves), at most MaxEntries of them.
    static QList<Entry> entries(const tavlix::CurveList& curves);
    // A name shortened with "…" to fit the width in pixels.
    static QString fitted(const QString& name, const QFontMetrics& metrics, int width);
    // Draws the legend inside the area's upper right corner, in the painter's font; nothing without curves.
    static void draw(QPainter& painter, const QRect& area, const tavlix::CurveList& curves, const Pens& pens);
};
