// How the renderer draws a family of curves: the current value's curve as usual, the other members thinner and
// lighter under it, each member's value written at the end of its curve.
#include "graph/GraphRenderer.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

using tavlix::CurveStyle;

void GraphRenderer::setFaint(bool on)
{
    if (on == faint_)
        return;
    faint_ = on;
    linePen_ = NoPen;
}

QPen GraphRenderer::curvePen(CurveStyle style, int width) const
{
    const QPen pen = stylePen(style, width);
    return faint_ ? faintPen(pen, tavlix::isLineStyle(style)) : pen;
}

QPen GraphRenderer::faintPen(QPen pen, bool line)
{
    // Lighter: most of the way to the white paper, so the current curve stands out in the same colour.
    const QColor c = pen.color();
    constexpr double Keep = 0.4;
    pen.setColor(QColor::fromRgbF(float(c.redF() * Keep + 1 - Keep), float(c.greenF() * Keep + 1 - Keep),
                                  float(c.blueF() * Keep + 1 - Keep)));
    if (line)
        pen.setWidth(pen.width() / 2);
    return pen;
}

void GraphRenderer::labelFamilyMember(const tavlix::Curve& c)
{
    const PixelRect& a = geometry_.plotArea();
    for (auto p = c.points.rbegin(); p != c.points.rend(); ++p) {
        if (p->breaksStroke)
            continue;
        const int px = geometry_.toPixelX(p->x), py = geometry_.toPixelY(p->y);
        if (px < a.left || px > a.left + a.width || py < a.top || py > a.top + a.height)
            continue;
        const QString text = QString::fromStdString(c.familyLabel);
        const int width = painter_->fontMetrics().horizontalAdvance(text);
        drawLabelAt(text, std::max(a.left, px - width - 2), std::max(a.top, py - geometry_.charHeight()));
        return;
    }
}
