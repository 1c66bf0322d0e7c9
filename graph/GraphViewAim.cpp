// Aiming the graph's armed tools from the keyboard: the arrow keys move a cross over the drawing area and Enter
// acts as a click there, so text labels and solutions through a point need no mouse; over marks the cross reads them.
#include "graph/GraphView.h"

#include <QPainter>

#include <algorithm>

namespace {

// An arrow key moves the cross a fiftieth of the view's width; with Shift, one pixel.
constexpr int AimStepsAcross = 50;
// Half the cross's size in pixels.
constexpr int AimArm = 12;

}  // namespace

bool GraphView::toolArmed() const
{
    return labelToolArmed() || (pointTool_.isArmed && pointTool_.isArmed());
}

QRect GraphView::aimArea() const
{
    // The pixels of the view's ranges, one in from the edges, whose values may round to just outside them.
    const GraphGeometry& g = geometry();
    const ValueRect r = g.ranges();
    return QRect(QPoint(g.toPixelX(r.xmin), g.toPixelY(r.ymax)), QPoint(g.toPixelX(r.xmax), g.toPixelY(r.ymin)))
        .normalized()
        .adjusted(1, 1, -1, -1);
}

QPoint GraphView::aimPoint() const
{
    return aim_.value_or(aimArea().center());
}

bool GraphView::handleAimKey(int key, Qt::KeyboardModifiers modifiers)
{
    if ((!toolArmed() && !aimsWithoutTool()) || !geometry().rangesUsable())
        return false;
    const QRect area = aimArea();
    const int step = (modifiers & Qt::ShiftModifier) ? 1 : std::max(1, area.width() / AimStepsAcross);
    QPoint at = aimPoint();
    switch (key) {
    case Qt::Key_Left: at.rx() -= step; break;
    case Qt::Key_Right: at.rx() += step; break;
    case Qt::Key_Up: at.ry() -= step; break;
    case Qt::Key_Down: at.ry() += step; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!toolArmed())
            return false;
        actAtAim();
        return true;
    default: return false;
    }
    aim_ = QPoint(std::clamp(at.x(), area.left(), area.right()), std::clamp(at.y(), area.top(), area.bottom()));
    emit pointerMoved(geometry().toValueX(aim_->x()), geometry().toValueY(aim_->y()), true);
    // A step of the cross may pass over a mark: within half a step it counts as on it.
    hoverMark(aim_->x(), aim_->y(), std::max(MarkReach, step / 2 + 1));
    update();
    return true;
}

void GraphView::actAtAim()
{
    const QPoint at = aimPoint();
    aim_.reset();
    if (labelToolArmed())
        placeLabel(at.x(), at.y());
    else
        handlePress(Qt::LeftButton, Qt::NoModifier, at.x(), at.y());
    update();
}

void GraphView::paintAim(QPainter& p) const
{
    if ((!toolArmed() && !(aimsWithoutTool() && aim_)) || !hasFocus() || !geometry().rangesUsable())
        return;
    const QPoint at = aimPoint();
    p.save();
    // Inverted, so the cross shows on the curves and the field alike.
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawLine(at.x() - AimArm, at.y(), at.x() + AimArm, at.y());
    p.drawLine(at.x(), at.y() - AimArm, at.x(), at.y() + AimArm);
    p.drawEllipse(at, AimArm / 2, AimArm / 2);
    p.restore();
}
