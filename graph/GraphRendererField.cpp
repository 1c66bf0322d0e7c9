// The renderer's direction field: line elements of a slope field and arrows of a phase plane, under the curves.
#include "graph/GraphRenderer.h"

#include <QPainter>
#include <QPointF>

#include <cmath>

namespace {

// Calm enough to stay behind the curves, dark enough to show on a projector.
const QColor FieldGrey(150, 150, 150);
// Beside a family, whose members are lighter line colours (grey among them), a colour no line style has.
const QColor FieldOchre(196, 128, 32);
// An element spans this share of its cell; an arrowhead this share of the element, at this angle.
constexpr double ElementShare = 0.7;
constexpr double HeadShare = 0.3;
constexpr double HeadAngle = 0.45;

QPointF rotated(QPointF v, double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    return {v.x() * c - v.y() * s, v.x() * s + v.y() * c};
}

}  // namespace

QColor GraphRenderer::fieldColour(bool besideFamily)
{
    return besideFamily ? FieldOchre : FieldGrey;
}

std::vector<tavlix::FieldElement> GraphRenderer::fieldElements() const
{
    const PixelRect& area = geometry_.plotArea();
    if (!field_ || !geometry_.rangesUsable() || area.width <= 0 || area.height <= 0)
        return {};
    return field_->elements(geometry_.ranges(), static_cast<double>(area.height) / area.width);
}

void GraphRenderer::drawField(const std::vector<tavlix::FieldElement>& elements, tavlix::FieldKind kind,
                              bool besideFamily)
{
    const PixelRect& area = geometry_.plotArea();
    if (!painter_ || elements.empty() || area.width <= 0)
        return;
    const ValueRect r = geometry_.ranges();
    const double scaleX = area.width / (r.xmax - r.xmin), scaleY = area.height / (r.ymax - r.ymin);
    const double half = ElementShare * area.width / tavlix::DirectionField::DefaultColumns / 2;
    painter_->save();
    painter_->setClipRect(area.left, area.top, area.width + 1, area.height + 1);
    painter_->setRenderHint(QPainter::Antialiasing, smoothCurves_);
    QPen pen = makePen(fieldColour(besideFamily), Qt::SolidLine);
    pen.setCapStyle(Qt::RoundCap);
    painter_->setPen(pen);
    for (const tavlix::FieldElement& e : elements) {
        // The direction on the picture: the axes' scales differ, and rows grow downwards.
        QPointF u(e.dx * scaleX, -e.dy * scaleY);
        const double length = std::hypot(u.x(), u.y());
        if (!(length > 0) || !std::isfinite(length))
            continue;
        u *= half / length;
        const QPointF c(geometry_.toPixelX(e.x), geometry_.toPixelY(e.y));
        painter_->drawLine(c - u, c + u);
        if (kind == tavlix::FieldKind::Phase) {
            const QPointF back = -u * (2 * HeadShare);
            painter_->drawLine(c + u, c + u + rotated(back, HeadAngle));
            painter_->drawLine(c + u, c + u + rotated(back, -HeadAngle));
        }
    }
    painter_->restore();
    linePen_ = NoPen;
}
