// Draws a graph on any painter: curve steps, marks, labels, the legend and replays (the axes in GraphRendererAxes.cpp).
#include "graph/GraphRenderer.h"

#include "graph/GraphLegend.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

using tavlix::CurveStyle;
using tavlix::Setting;

namespace {

struct KindPen {
    Qt::PenStyle style;
    QColor colour;
};

// Pen of the line styles l1 to l6.
const KindPen KindPens[6] = {
    {Qt::SolidLine, QColor(0, 0, 0)},     {Qt::DashLine, QColor(255, 0, 0)},       {Qt::DotLine, QColor(0, 0, 255)},
    {Qt::DashDotLine, QColor(0, 255, 0)}, {Qt::DashDotDotLine, QColor(0, 128, 0)}, {Qt::DashLine, QColor(0, 255, 255)},
};

}  // namespace

QFont GraphRenderer::screenFont()
{
    QFont f;
    f.setPointSize(ScreenPointSize);
    return f;
}

void GraphRenderer::beginOnScreen(QPainter& painter, int width, int height)
{
    painter_ = &painter;
    penWidth_ = 0;
    curveWidth_ = ScreenCurveWidth;
    smoothCurves_ = true;
    linePen_ = NoPen;
    const QFontMetrics fm = painter.fontMetrics();
    const int charW = fm.horizontalAdvance(QStringLiteral("M"));
    const int charH = fm.height();
    geometry_.setCharSize(charW, charH);
    // Room above and to the right, so the numbers at the top and right ends show whole.
    const int top = charH / 2;
    geometry_.setPlotArea({0, top, width - ScreenRightMargin * charW / 2, height - top});
    bounds_ = QRect();
}

void GraphRenderer::beginOnPaper(QPainter& painter, double widthCm, double heightCm, double leftCm, double topCm)
{
    painter_ = &painter;
    linePen_ = NoPen;
    QFont f;
    f.setPointSize(PrintPointSize);
    painter.setFont(f);
    const QFontMetrics fm = painter.fontMetrics();
    const int charW = fm.horizontalAdvance(QStringLiteral("M"));
    geometry_.setCharSize(charW, fm.height());
    const long double dpi = painter.device()->logicalDpiX();
    const auto pixels = [dpi](long double cm) { return GraphGeometry::roundToPixel(dpi * cm / 2.54L); };
    // Paper lines a sixth of a millimetre wide; a screen-like device keeps its one-pixel lines.
    const int w = GraphGeometry::roundToPixel(dpi / PenPerInch);
    penWidth_ = w > 1 ? w : 0;
    // Dotted and dashed lines need some width to show their pattern on paper.
    curveWidth_ = std::max(penWidth_, static_cast<int>(std::ceil(dpi * MinCurveWidthAt96Dpi / 96)));
    smoothCurves_ = false;
    const PixelRect area{pixels(leftCm), pixels(topCm), pixels(widthCm) - charW,
                         GraphGeometry::roundToPixel(dpi * heightCm / 2.54L - charW)};
    geometry_.setPlotArea(area);
    bounds_ = QRect();
    painter.setPen(QPen(Qt::black, penWidth_));
    painter.setBrush(Qt::white);
    painter.setBackground(Qt::white);
    if (leftCm > 0) {
        const QPoint a(area.left, area.top - charW);
        const QPoint b(area.left + area.width + charW, area.top + area.height + charW / 2);
        // The far edges belong outside the frame.
        painter.drawRect(QRect(a, b - QPoint(1, 1)).normalized());
    }
}

void GraphRenderer::drawn()
{
    if (drawn_)
        drawn_();
}

void GraphRenderer::drawLabelAt(const QString& text, int left, int top)
{
    // Text is black and opaque on the white brush, whatever the pen is.
    const QPen pen = painter_->pen();
    const QFontMetrics fm = painter_->fontMetrics();
    const QRect box(left, top, fm.horizontalAdvance(text), geometry_.charHeight());
    bounds_ |= box;
    painter_->fillRect(box, Qt::white);
    painter_->setPen(Qt::black);
    painter_->drawText(left, top + fm.ascent(), text);
    painter_->setPen(pen);
}

void GraphRenderer::drawLabel(const QString& text, double x, double y)
{
    if (!painter_ || !geometry_.rangesUsable())
        return;
    drawLabelAt(text, geometry_.toPixelX(x), geometry_.toPixelY(y) - geometry_.charHeight() / 2);
    drawn();
}

void GraphRenderer::drawClippedStep(CurveStyle style, double x0, double y0, double x1, double y1)
{
    if (tavlix::isMarkStyle(style)) {
        drawStep(style, x0, y0, x1, y1);
        return;
    }
    if (geometry_.clipStep(x0, y0, x1, y1))
        drawStep(style, x0, y0, x1, y1);
}

QPen GraphRenderer::makePen(const QColor& colour, Qt::PenStyle style) const
{
    // Flat ends, so the gaps of wide dashed pens on paper stay open.
    return QPen(colour, penWidth_, style, Qt::FlatCap, Qt::MiterJoin);
}

void GraphRenderer::setLinePen(CurveStyle style)
{
    const int line = tavlix::styleIndex(style);
    if (!tavlix::isLineStyle(style) || line == linePen_)
        return;
    painter_->setPen(curvePen(style, curveWidth_));
    painter_->setRenderHint(QPainter::Antialiasing, smoothCurves_);
    linePen_ = line;
}

void GraphRenderer::drawStep(CurveStyle style, double x0, double y0, double x1, double y1)
{
    if (!painter_ || !geometry_.rangesUsable())
        return;
    const GraphGeometry& g = geometry_;
    if (tavlix::isLineStyle(style)) {
        setLinePen(style);
        const QPoint a(g.toPixelX(x0), g.toPixelY(y0)), b(g.toPixelX(x1), g.toPixelY(y1));
        if (style != CurveStyle::Line1)
            continueDashes(tavlix::styleIndex(style), a, b);
        painter_->drawLine(a, b);
    } else {
        drawMark(style, g.toPixelX(x1), g.toPixelY(y1));
    }
    drawn();
}

void GraphRenderer::continueDashes(int line, const QPoint& a, const QPoint& b)
{
    // Steps of a few pixels each would all start with a dash and look solid; a step that goes on from the
    // last one of its style goes on with its pattern.
    Dashes& d = dashes_[line];
    if (a != d.end)
        d.position = 0;
    QPen pen = painter_->pen();
    pen.setDashOffset(d.position / std::max(curveWidth_, 1));
    painter_->setPen(pen);
    // A one-pixel pen steps its pattern once per device pixel along the longer axis; a wide pen along the line.
    const int dx = std::abs(b.x() - a.x()), dy = std::abs(b.y() - a.y());
    d.position += curveWidth_ == 0 ? std::max(dx, dy) * painter_->device()->devicePixelRatioF()
                                   : std::hypot(double(dx), double(dy));
    d.end = b;
}

void GraphRenderer::setMarkPen(CurveStyle style)
{
    const int mark = tavlix::styleIndex(style);
    if (linePen_ == MarkPens + mark)
        return;
    // A mark has the colour of the line style with its number, whatever was drawn before it.
    // Marks stay crisp: a smoothed one-pixel outline would blur into grey.
    painter_->setPen(curvePen(style, penWidth_));
    painter_->setRenderHint(QPainter::Antialiasing, false);
    linePen_ = MarkPens + mark;
}

void GraphRenderer::drawMark(CurveStyle style, int px, int py)
{
    if (!tavlix::isMarkStyle(style) || !geometry_.markVisible(px, py))
        return;
    setMarkPen(style);
    drawMarkShape(*painter_, style, px, py, geometry_.charWidth() / 4);
}

QPen GraphRenderer::stylePen(CurveStyle style, int width)
{
    // Flat ends, so the gaps of wide dashed pens on paper stay open.
    const KindPen& kind = KindPens[tavlix::styleIndex(style)];
    return QPen(kind.colour, width, tavlix::isLineStyle(style) ? kind.style : Qt::SolidLine, Qt::FlatCap,
                Qt::MiterJoin);
}

void GraphRenderer::drawMarkShape(QPainter& painter, CurveStyle style, int px, int py, int o)
{
    // Boxes are given with their far edges outside, as rectangles and ellipses take them.
    const auto box = [&](int h) { return QRect(px - h, py - h, 2 * h, 2 * h); };
    switch (style) {
    case CurveStyle::Mark1: painter.drawRect(box(o / 2)); break;
    case CurveStyle::Mark2:
        painter.drawLine(px - o, py, px + o, py);
        painter.drawLine(px, py - o, px, py + o);
        break;
    case CurveStyle::Mark3: painter.drawEllipse(box(o)); break;
    case CurveStyle::Mark4: painter.drawRect(box(o)); break;
    case CurveStyle::Mark5:
        painter.drawLine(px - o, py - o, px + o, py + o);
        painter.drawLine(px - o, py + o, px + o, py - o);
        break;
    case CurveStyle::Mark6: {
        // The other closed marks are filled with the background, as the painter's brush is; this one is solid.
        const QBrush background = painter.brush();
        painter.setBrush(painter.pen().color());
        painter.drawEllipse(box(o));
        painter.setBrush(background);
        break;
    }
    default: break;
    }
}

void GraphRenderer::drawLegend(const tavlix::CurveList& curves)
{
    if (!painter_)
        return;
    const PixelRect& a = geometry_.plotArea();
    painter_->save();
    GraphLegend::draw(*painter_, QRect(a.left, a.top, a.width, a.height), curves,
                      {penWidth_, curveWidth_, geometry_.charWidth() / 4, smoothCurves_});
    painter_->restore();
    linePen_ = NoPen;
    drawn();
}

void GraphRenderer::replay(const tavlix::CurveList& curves)
{
    if (!painter_)
        return;
    if (field_ && field_->kind() != tavlix::FieldKind::None) {
        // A family's lighter members would pass for the field's grey.
        const bool family =
            std::any_of(curves.begin(), curves.end(), [](const tavlix::Curve& c) { return isFaint(c); });
        drawField(fieldElements(), field_->kind(), family);
    }
    // A family's other members go first, so the current value's curve is drawn over them.
    for (bool faintPass : {true, false}) {
        for (const tavlix::Curve& c : curves) {
            if (!c.points.empty() && isFaint(c) == faintPass) {
                setFaint(faintPass);
                replayCurve(c);
            }
        }
    }
    setFaint(false);
    if (geometry_.rangesUsable())
        labelFamilyMembers(curves);
    drawn();
}

void GraphRenderer::drawLabels(const LabelList& labels)
{
    for (const TextLabel& label : labels)
        drawLabel(QString::fromStdString(label.text), label.x, label.y);
}

void GraphRenderer::replayCurve(const tavlix::Curve& c)
{
    if (!geometry_.rangesUsable())
        return;
    if (tavlix::isLineStyle(c.style))
        replayLines(c);
    else
        replayMarks(c);
}

void GraphRenderer::replayLines(const tavlix::Curve& c)
{
    // Joined steps go out as one polyline: same pixels, far fewer calls, and dashes run on across points.
    const GraphGeometry& g = geometry_;
    setLinePen(c.style);
    QPolygon poly;
    const auto flush = [&] {
        if (poly.size() == 1)
            painter_->drawPoint(poly[0]);
        else if (poly.size() > 1)
            painter_->drawPolyline(poly);
        poly.clear();
    };
    bool penDown = false;
    double lastX = 0, lastY = 0;
    for (const tavlix::CurvePoint& p : c.points) {
        if (p.breaksStroke) {
            penDown = false;
            continue;
        }
        if (penDown) {
            double x0 = lastX, y0 = lastY, x1 = p.x, y1 = p.y;
            if (g.clipStep(x0, y0, x1, y1)) {
                const QPoint a(g.toPixelX(x0), g.toPixelY(y0)), b(g.toPixelX(x1), g.toPixelY(y1));
                if (poly.isEmpty() || poly.last() != a) {
                    flush();
                    poly << a;
                }
                if (b != poly.last())
                    poly << b;
            } else {
                flush();
            }
        }
        lastX = p.x;
        lastY = p.y;
        penDown = true;
    }
    flush();
}

void GraphRenderer::replayMarks(const tavlix::Curve& c)
{
    // Every point is a mark, the first of a curve too: marks have no strokes to start.
    QPoint last(INT_MIN, INT_MIN);
    for (const tavlix::CurvePoint& p : c.points) {
        if (p.breaksStroke)
            continue;
        const QPoint m(geometry_.toPixelX(p.x), geometry_.toPixelY(p.y));
        // A mark on the pixel of the one before draws the same pixels again.
        if (m != last)
            drawMark(c.style, m.x(), m.y());
        last = m;
    }
}
