// The graph view's zoom and pan: the rubber band, the wheel, the middle button, and stepping back.
#include "graph/GraphView.h"

#include <algorithm>
#include <cmath>

void GraphView::startRubberBand(int x, int y)
{
    const GraphGeometry& g = geometry();
    const QPointF at(g.toValueX(x), g.toValueY(y));
    rubberBand_.start = rubberBand_.current = at;
    const ValueRect& clip = g.clip();
    if (clip.xmin <= at.x() && at.x() <= clip.xmax && clip.ymin <= at.y() && at.y() <= clip.ymax)
        rubberBand_.active = true;
}

void GraphView::endRubberBand()
{
    bandShown_ = false;
    rubberBand_.active = false;
    update();
    const ValueRect& clip = geometry().clip();
    const QPointF& a = rubberBand_.start;
    const QPointF& b = rubberBand_.current;
    // A drag shorter than a tenth of the view either way is taken for a click.
    if (std::fabs(b.x() - a.x()) < (clip.xmax - clip.xmin) / 10 ||
        std::fabs(b.y() - a.y()) < (clip.ymax - clip.ymin) / 10)
        return;
    zoom(std::min(a.x(), b.x()), std::max(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.y(), b.y()));
}

void GraphView::zoom(double xmin, double xmax, double ymin, double ymax)
{
    changeView({xmin, xmax, ymin, ymax}, ZoomHistory::Change::Other);
}

void GraphView::changeView(const ValueRect& next, ZoomHistory::Change change)
{
    const ValueRect now = geometry().ranges();
    if (!renderer_.painter() || !GraphGeometry::usable(next) || next == now)
        return;
    history_.record(now, change, clock_.elapsed());
    showRanges(next);
}

void GraphView::showRanges(const ValueRect& ranges)
{
    if (!renderer_.painter())
        return;
    // An open label editor would stand where the label no longer is.
    finishLabelEdit(true);
    renderer_.geometry().setView(GraphGeometry::fittedView(runSettings_, ranges));
    redraw();
    emit zoomed();
}

bool GraphView::stepBack()
{
    if (!history_.canStepBack() || !renderer_.painter())
        return false;
    cancelDrag();
    showRanges(history_.stepBack());
    return true;
}

void GraphView::handleWheel(QPoint angleDelta, Qt::KeyboardModifiers modifiers, int x, int y)
{
    const GraphGeometry& g = geometry();
    if (!g.rangesUsable() || pan_.active || rubberBand_.active)
        return;
    // Shift turns the wheel sideways, as a tilting wheel or a touchpad's sideways stroke is already.
    const bool sideways = (modifiers & Qt::ShiftModifier) || std::abs(angleDelta.x()) > std::abs(angleDelta.y());
    wheelRemainder_ += angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x();
    const int notches = wheelRemainder_ / NotchDelta;
    wheelRemainder_ -= notches * NotchDelta;
    if (notches == 0)
        return;
    const ValueRect r = g.ranges();
    if (sideways) {
        // Turning down moves the view to the right, a tenth of its width a notch.
        changeView(GraphGeometry::shifted(r, -notches * (r.xmax - r.xmin) / 10, 0), ZoomHistory::Change::Wheel);
        return;
    }
    // About the value under the pointer, or the nearest edge of the view over the margins.
    const double px = std::clamp(g.toValueX(x), r.xmin, r.xmax);
    const double py = std::clamp(g.toValueY(y), r.ymin, r.ymax);
    changeView(GraphGeometry::zoomedAbout(r, px, py, std::pow(WheelZoomFactor, notches)), ZoomHistory::Change::Wheel);
}

void GraphView::movePan(int x, int y)
{
    // The view keeps its size while panning, so pixel differences map to the same value differences throughout.
    const GraphGeometry& g = geometry();
    const double dx = g.toValueX(pan_.start.x()) - g.toValueX(x);
    const double dy = g.toValueY(pan_.start.y()) - g.toValueY(y);
    const ValueRect next = GraphGeometry::shifted(pan_.from, dx, dy);
    if (!GraphGeometry::usable(next) || next == g.ranges())
        return;
    if (!pan_.recorded) {
        history_.record(pan_.from, ZoomHistory::Change::Other, clock_.elapsed());
        pan_.recorded = true;
    }
    showRanges(next);
}
