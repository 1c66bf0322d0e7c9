// Shaded areas under or between curves: a light, see-through fill clipped to the plot, so the curves show through.
#include "graph/GraphRenderer.h"

#include <QPainter>
#include <QPolygonF>

namespace {

// A light blue that reads over the grid on a projector and on paper, and lets the curves through.
constexpr QColor AreaFill(40, 110, 220, 70);

}  // namespace

void GraphRenderer::drawAreas(const AreaList& areas)
{
    if (!painter_ || !geometry_.rangesUsable() || areas.empty())
        return;
    const PixelRect& a = geometry_.plotArea();
    painter_->save();
    painter_->setClipRect(QRect(a.left, a.top, a.width, a.height), Qt::IntersectClip);
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(AreaFill);
    for (const ShadedArea& area : areas) {
        QPolygonF polygon;
        for (const QPointF& p : area.outline)
            polygon << QPointF(geometry_.toPixelX(p.x()), geometry_.toPixelY(p.y()));
        painter_->drawPolygon(polygon);
    }
    painter_->restore();
    linePen_ = NoPen;
    drawn();
}
