// The widget of a graph: its retained picture, painting, and the mouse and keys sent on to zoom, pan and labels.
#include "graph/GraphView.h"

#include <QKeyEvent>
#include "graph/GraphLegend.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

GraphView::GraphView(int width, int height, QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Delete reaches a selected label only with the focus here.
    setFocusPolicy(Qt::StrongFocus);
    clock_.start();
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

void GraphView::setRunSettings(const tavlix::CoordinateSettings& run)
{
    runSettings_ = run;
    runSettingsSet_ = true;
}

void GraphView::beginOnScreen(const tavlix::CoordinateSettings& view)
{
    if (!runSettingsSet_)
        setRunSettings(view);
    renderer_.geometry().setView(view);
    renderer_.beginOnScreen(*screenPainter_, width(), height());
    setToolTip(QStringLiteral("Zoom ind: Klik og træk"));
    renderer_.drawAxes();
}

void GraphView::setCurves(tavlix::CurveList* curves)
{
    curves_ = curves;
}

void GraphView::setLabels(LabelList* labels)
{
    if (labels != labels_)
        selectedLabel_ = -1;
    labels_ = labels;
}

void GraphView::replay()
{
    if (curves_)
        renderer_.replay(*curves_);
    if (areas_)
        renderer_.drawAreas(*areas_);
    if (labels_)
        renderer_.drawLabels(*labels_);
}

void GraphView::redraw()
{
    QPainter* painter = renderer_.painter();
    if (!painter)
        return;
    // The screen's margins hold numbers of the old view too.
    const PixelRect& area = geometry().plotArea();
    painter->fillRect(painter == screenPainter_ ? rect() : QRect(0, 0, area.width, area.height), Qt::white);
    renderer_.drawAxes();
    replay();
}

void GraphView::setAxesThroughOrigin(bool on)
{
    if (on == renderer_.axesThroughOrigin())
        return;
    renderer_.setAxesThroughOrigin(on);
    redraw();
    update();
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
    if (curves_ && renderer_.painter()) {
        p.setFont(font());
        renderer_.drawAxisNames(p, *curves_);
    }
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
    paintMarks(p);
    paintLabelSelection(p);
    paintAim(p);
}

bool GraphView::labelToolArmed() const
{
    return labelTool_.isArmed && labelTool_.isArmed();
}

void GraphView::restCursor()
{
    setCursor(labelToolArmed() ? Qt::IBeamCursor : Qt::ArrowCursor);
}

void GraphView::cancelDrag()
{
    rubberBand_.active = false;
    bandShown_ = false;
    pan_.active = false;
    labelDrag_.active = false;
    update();
}

void GraphView::handlePress(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y)
{
    if (labelToolArmed() || !geometry().rangesUsable())
        return;
    if (button == Qt::LeftButton && pointTool_.isArmed && pointTool_.isArmed()) {
        const GraphGeometry& g = geometry();
        const double vx = GraphGeometry::roundedToPixel(g.toValueX(x), std::abs(g.toValueX(x + 1) - g.toValueX(x)));
        const double vy = GraphGeometry::roundedToPixel(g.toValueY(y), std::abs(g.toValueY(y + 1) - g.toValueY(y)));
        if (g.insideView(vx, vy) && pointTool_.pick)
            pointTool_.pick(vx, vy);
        return;
    }
    if (button == Qt::MiddleButton) {
        pan_ = {true, QPoint(x, y), geometry().ranges(), false};
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (button != Qt::LeftButton)
        return;
    const int label = labelAt(x, y);
    if (label >= 0) {
        pressOnLabel(label, x, y);
        return;
    }
    selectLabel(-1);
    startRubberBand(x, y);
}

void GraphView::handleMove(Qt::KeyboardModifiers, int x, int y)
{
    const GraphGeometry& g = geometry();
    const double vx = g.toValueX(x), vy = g.toValueY(y);
    emit pointerMoved(vx, vy, g.insideView(vx, vy));
    hoverMark(x, y, MarkReach);
    if (pan_.active) {
        movePan(x, y);
    } else if (labelDrag_.active) {
        labelDrag_.at = QPoint(x, y);
        update();
    } else if (rubberBand_.active) {
        bandShown_ = true;
        rubberBand_.current = QPointF(vx, vy);
        update();
    }
}

void GraphView::handleRelease(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y)
{
    if (button == Qt::MiddleButton) {
        if (pan_.active) {
            pan_.active = false;
            restCursor();
        }
        return;
    }
    if (button != Qt::LeftButton)
        return;
    if (labelDrag_.active)
        dropLabel(x, y);
    if (rubberBand_.active)
        endRubberBand();
    if (labelToolArmed())
        placeLabel(x, y);
}

void GraphView::handleDoubleClick(int x, int y)
{
    if (labelToolArmed())
        return;
    const int label = labelAt(x, y);
    if (label >= 0)
        editLabel(label);
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

void GraphView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (interactive_ && event->button() == Qt::LeftButton)
        handleDoubleClick(at.x(), at.y());
}

void GraphView::wheelEvent(QWheelEvent* event)
{
    // Taken even when nothing changes, so the scroll area around the view does not scroll instead.
    event->accept();
    const QPoint at = event->position().toPoint();
    if (interactive_)
        handleWheel(event->angleDelta(), event->modifiers(), at.x(), at.y());
}

void GraphView::keyPressEvent(QKeyEvent* event)
{
    if (handleAimKey(event->key(), event->modifiers()))
        return;
    if (event->key() == Qt::Key_Escape && pointTool_.isArmed && pointTool_.isArmed() && pointTool_.cancel) {
        pointTool_.cancel();
        aim_.reset();
        update();
        return;
    }
    // Delete only: Backspace is "Zoom tilbage".
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier && labelExists(selectedLabel_)) {
        deleteSelectedLabel();
        return;
    }
    QWidget::keyPressEvent(event);
}
