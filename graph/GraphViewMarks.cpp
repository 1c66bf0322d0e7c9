// The graph view's marks over the picture: small rings at value points whose text shows when the pointer or the
// keyboard's cross comes onto one, as a tool tip and for screen readers as the view's description.
#include "graph/GraphView.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace {

// The ring's radius in pixels: big enough to find on a projector, small enough to leave the curve readable.
constexpr int MarkRadius = 4;

}  // namespace

void GraphView::setMarks(std::vector<ValueMark> marks)
{
    marks_ = std::move(marks);
    hoveredMark_ = -1;
    if (marks_.empty())
        aim_.reset();
    update();
}

int GraphView::markAt(int x, int y, int reach) const
{
    const GraphGeometry& g = geometry();
    if (!g.rangesUsable())
        return -1;
    int best = -1;
    int bestDistance = reach * reach + 1;
    for (int i = 0; i < static_cast<int>(marks_.size()); ++i) {
        const ValueMark& m = marks_[static_cast<std::size_t>(i)];
        const int dx = g.toPixelX(m.x) - x, dy = g.toPixelY(m.y) - y;
        if (dx * dx + dy * dy < bestDistance) {
            best = i;
            bestDistance = dx * dx + dy * dy;
        }
    }
    return best;
}

QString GraphView::hoveredMarkText() const
{
    return hoveredMark_ >= 0 ? marks_[static_cast<std::size_t>(hoveredMark_)].text : QString();
}

void GraphView::hoverMark(int x, int y, int reach)
{
    const int mark = markAt(x, y, reach);
    if (mark == hoveredMark_)
        return;
    hoveredMark_ = mark;
    const QString text = hoveredMarkText();
    setAccessibleDescription(text);
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        const ValueMark& m = marks_[static_cast<std::size_t>(mark)];
        const QPoint at(geometry().toPixelX(m.x) + MarkRadius, geometry().toPixelY(m.y) + MarkRadius);
        QToolTip::showText(mapToGlobal(at), text, this);
    }
    update();
    emit markHovered(mark);
}

bool GraphView::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip || hoveredMark_ < 0)
        return QWidget::event(event);
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), hoveredMarkText(), this);
    return true;
}

void GraphView::paintMarks(QPainter& p) const
{
    if (marks_.empty() || !geometry().rangesUsable())
        return;
    const GraphGeometry& g = geometry();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    // A white ring inside a black one shows on every curve colour and on the grid.
    for (int i = 0; i < static_cast<int>(marks_.size()); ++i) {
        const ValueMark& m = marks_[static_cast<std::size_t>(i)];
        if (!g.insideView(m.x, m.y))
            continue;
        const QPointF at(g.toPixelX(m.x), g.toPixelY(m.y));
        const int r = i == hoveredMark_ ? MarkRadius + 2 : MarkRadius;
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(i == hoveredMark_ ? QColor(255, 200, 0) : QColor(Qt::white));
        p.drawEllipse(at, r, r);
    }
    p.restore();
}
