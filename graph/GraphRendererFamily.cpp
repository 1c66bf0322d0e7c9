// How the renderer draws a family of curves: the current value's curve as usual, the other members thinner and
// lighter under it, each member's value written at the end of its curve.
#include "graph/GraphRenderer.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cstdlib>

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

void GraphRenderer::labelFamilyMembers(const tavlix::CurveList& curves)
{
    std::vector<const tavlix::Curve*> labelled;
    for (const tavlix::Curve& c : curves)
        if (!c.familyLabel.empty() && !c.points.empty())
            labelled.push_back(&c);
    const CurveColumns columns = curveColumns(labelled);
    std::vector<QRect> taken;
    for (std::size_t i = 0; i < labelled.size(); ++i)
        labelFamilyMember(i, labelled, columns, taken);
}

GraphRenderer::CurveColumns GraphRenderer::curveColumns(const std::vector<const tavlix::Curve*>& labelled) const
{
    const PixelRect& a = geometry_.plotArea();
    CurveColumns columns(labelled.size(),
                         std::vector<int>(static_cast<std::size_t>(std::max(a.width, 0) + 1), INT_MIN));
    for (std::size_t i = 0; i < labelled.size(); ++i) {
        for (const tavlix::CurvePoint& p : labelled[i]->points) {
            const int column = geometry_.toPixelX(p.x) - a.left;
            if (column >= 0 && column <= a.width)
                columns[i][static_cast<std::size_t>(column)] = geometry_.toPixelY(p.y);
        }
    }
    return columns;
}

void GraphRenderer::labelFamilyMember(std::size_t index, const std::vector<const tavlix::Curve*>& labelled,
                                      const CurveColumns& columns, std::vector<QRect>& taken)
{
    // Members often end at the same value (a limit), where a label could belong to any of them. So the label goes
    // to the place nearest the curve's end where no other member passes within a label's height, or else where
    // the others are farthest away, and never over another label. A few hundred candidates keep long curves cheap.
    constexpr std::ptrdiff_t Candidates = 300;
    const tavlix::Curve& c = *labelled[index];
    const PixelRect& a = geometry_.plotArea();
    const QString text = QString::fromStdString(c.familyLabel);
    const int width = painter_->fontMetrics().horizontalAdvance(text) + 4, height = geometry_.charHeight();
    const std::ptrdiff_t count = static_cast<std::ptrdiff_t>(c.points.size());
    const std::ptrdiff_t stride = std::max<std::ptrdiff_t>(1, count / Candidates);
    QRect best;
    long long bestGap = -1;
    for (std::ptrdiff_t i = count - 1; i >= 0; i -= stride) {
        const tavlix::CurvePoint& p = c.points[static_cast<std::size_t>(i)];
        const int px = geometry_.toPixelX(p.x), py = geometry_.toPixelY(p.y);
        if (p.breaksStroke || px < a.left || px > a.left + a.width || py < a.top || py > a.top + a.height)
            continue;
        const QRect box(std::max(a.left, px - width), std::max(a.top, py - height), width, height);
        if (std::any_of(taken.begin(), taken.end(), [&box](const QRect& r) { return r.intersects(box); }))
            continue;
        long long gap = LLONG_MAX;
        for (std::size_t j = 0; j < columns.size(); ++j) {
            const int other = columns[j][static_cast<std::size_t>(px - a.left)];
            if (j != index && other != INT_MIN)
                gap = std::min<long long>(gap, std::abs(other - py));
        }
        if (gap > bestGap) {
            best = box;
            bestGap = gap;
        }
        if (gap >= 2 * height)
            break;
    }
    if (bestGap < 0)
        return;
    taken.push_back(best);
    drawLabelAt(text, best.left() + 2, best.top());
}
