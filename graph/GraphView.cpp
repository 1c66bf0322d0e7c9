// The widget of a graph: a retained picture drawn by the renderer, the pointer position, zoom by dragging, labels.
#include "graph/GraphView.h"

#include "graph/GraphLegend.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

GraphView::GraphView(int width, int height, QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    QFont f = font();
    f.setPointSize(GraphRenderer::ScreenPointSize);
    setFont(f);
    renderer_.setDrawnCallback([this] { markDirty(); });
    resetPicture(width, height);
}

GraphView::~GraphView()
{
    closePainter();
}

void GraphView::resetPicture(int width, int height, qreal ratio)
{
    closePainter();
    // On a high-density screen the picture holds every device pixel, so lines and text stay sharp.
    const QSize size(std::max(width, 1), std::max(height, 1));
    if (ratio <= 0)
        ratio = std::max<qreal>(devicePixelRatioF(), 1);
    picture_ = QImage(size * ratio, QImage::Format_RGB32);
    picture_.setDevicePixelRatio(ratio);
    const int dpm = GraphGeometry::roundToPixel(logicalDpiX() / 0.0254L);
    picture_.setDotsPerMeterX(dpm);
    picture_.setDotsPerMeterY(dpm);
    picture_.fill(Qt::white);
    setFixedSize(size);
    screenPainter_ = new QPainter(&picture_);
    screenPainter_->setFont(font());
    screenPainter_->setBrush(Qt::white);
    screenPainter_->setBackground(Qt::white);
    renderer_.end();
    bandShown_ = false;
    update();
}

void GraphView::closePainter()
{
    if (renderer_.painter() == screenPainter_)
        renderer_.end();
    delete screenPainter_;
    screenPainter_ = nullptr;
}

void GraphView::beginOnScreen(const tavlix::CoordinateSettings& view)
{
    renderer_.geometry().setView(view);
    renderer_.beginOnScreen(*screenPainter_, width(), height());
    setToolTip(QStringLiteral("Zoom ind: Klik og træk"));
    renderer_.drawAxes();
}

void GraphView::replay()
{
    if (curves_)
        renderer_.replay(*curves_);
}

void GraphView::setLegendShown(bool on)
{
    legendShown_ = on;
    update();
}

void GraphView::markDirty()
{
    if (renderer_.painter() != screenPainter_ || updatePending_ || !isVisible())
        return;
    updatePending_ = true;
    update();
}

QRect GraphView::rubberBandRect() const
{
    const GraphGeometry& g = geometry();
    const QPointF& a = rubberBand_.start;
    const QPointF& b = rubberBand_.current;
    return QRect(QPoint(g.toPixelX(a.x()), g.toPixelY(a.y())), QPoint(g.toPixelX(b.x()), g.toPixelY(b.y())))
        .normalized();
}

void GraphView::paintEvent(QPaintEvent*)
{
    updatePending_ = false;
    QPainter p(this);
    p.drawImage(QPoint(0, 0), picture_);
    if (legendShown_ && curves_ && renderer_.painter()) {
        const PixelRect& a = geometry().plotArea();
        p.setFont(font());
        GraphLegend::draw(p, QRect(a.left, a.top, a.width, a.height), *curves_,
                          {0, renderer_.curveWidth(), geometry().charWidth() / 4, true});
    }
    if (bandShown_) {
        // The band inverts what it covers, so it shows on any colour and leaves the picture alone.
        p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        p.setPen(QPen(Qt::black, 0, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rubberBandRect());
    }
}

bool GraphView::labelToolArmed() const
{
    return labelTool_.isArmed && labelTool_.isArmed();
}

void GraphView::handlePress(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)
{
    const GraphGeometry& g = geometry();
    if (labelToolArmed() || !g.rangesUsable())
        return;
    const QPointF at(g.toValueX(x), g.toValueY(y));
    rubberBand_.start = rubberBand_.current = at;
    const ValueRect& clip = g.clip();
    if (clip.xmin <= at.x() && at.x() <= clip.xmax && clip.ymin <= at.y() && at.y() <= clip.ymax)
        rubberBand_.active = true;
}

void GraphView::handleMove(Qt::KeyboardModifiers, int x, int y)
{
    const GraphGeometry& g = geometry();
    const double vx = g.toValueX(x), vy = g.toValueY(y);
    emit pointerMoved(vx, vy, g.insideView(vx, vy));
    if (rubberBand_.active) {
        bandShown_ = true;
        rubberBand_.current = QPointF(vx, vy);
        update();
    }
}

void GraphView::handleRelease(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)
{
    if (rubberBand_.active) {
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
    if (labelToolArmed())
        placeLabel(x, y);
}

void GraphView::zoom(double xmin, double xmax, double ymin, double ymax)
{
    QPainter* painter = renderer_.painter();
    if (!painter)
        return;
    // The screen's margins hold numbers of the old view too.
    const PixelRect& area = geometry().plotArea();
    painter->fillRect(painter == screenPainter_ ? rect() : QRect(0, 0, area.width, area.height), Qt::white);
    renderer_.geometry().setRanges(xmin, xmax, ymin, ymax);
    renderer_.drawAxes();
    replay();
    emit zoomed();
}

void GraphView::placeLabel(int x, int y)
{
    const QString text = labelTool_.takeText ? labelTool_.takeText() : QString();
    setCursor(Qt::ArrowCursor);
    if (text.isEmpty() || !curves_)
        return;
    const GraphGeometry& g = geometry();
    const double vx = g.toValueX(x), vy = g.toValueY(y);
    if (!g.insideView(vx, vy))
        return;
    if (renderer_.painter()) {
        renderer_.drawLabelAt(text, x, y - g.charHeight() / 2);
        markDirty();
    }
    tavlix::Curve label;
    label.isLabel = true;
    label.labelText = text.toStdString();
    label.points.push_back({vx, vy, false});
    curves_->push_back(std::move(label));
    emit labelPlaced();
}

void GraphView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (interactive_)
        handlePress(event->button(), event->modifiers(), at.x(), at.y());
}

void GraphView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (interactive_)
        handleMove(event->modifiers(), at.x(), at.y());
}

void GraphView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (interactive_)
        handleRelease(event->button(), event->modifiers(), at.x(), at.y());
}
