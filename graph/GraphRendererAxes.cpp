// How the renderer draws the axes of a graph, their numbers and ticks, and the grid behind the curves.
#include "graph/GraphRenderer.h"

#include "support/FormatNumber.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

using tavlix::Setting;

namespace {

QString latin(const std::string& s)
{
    // FormatNumber writes digits, signs, 'E' and the comma only.
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

const QColor GridSilver(192, 192, 192);

}  // namespace

void GraphRenderer::drawAxes()
{
    if (!painter_)
        return;
    const GraphGeometry& g = geometry_;
    const tavlix::CoordinateSettings& v = g.view();
    geometry_.resetClipToView();
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setPen(makePen(Qt::black, Qt::SolidLine));
    linePen_ = NoPen;
    const int a = g.toPixelX(v[Setting::Xmin]), b = g.toPixelX(v[Setting::Xmax]);
    const int c = g.toPixelY(v[Setting::Ymin]), d = g.toPixelY(v[Setting::Ymax]);
    const AxisPlaces at = axisPlaces();
    // Without usable ranges the axes shrink to a corner; the picture keeps the drawing area's size.
    const PixelRect& area = g.plotArea();
    bounds_ |= g.rangesUsable() ? QRect(QPoint(a, d), QPoint(b, c)).normalized()
                                : QRect(area.left, area.top, area.width, area.height);
    const QPen gridPen = makePen(GridSilver, Qt::DotLine);
    // The grid first, so an axis through the origin lies over its line at 0.
    if (g.rangesUsable()) {
        painter_->setPen(gridPen);
        drawGrid();
        painter_->setPen(makePen(Qt::black, Qt::SolidLine));
    }
    painter_->drawLine(b, at.row, a, at.row);
    painter_->drawLine(at.column, c, at.column, d);
    if (at.xThroughOrigin)
        drawArrowHead(b, at.row, 1, 0);
    if (at.yThroughOrigin)
        drawArrowHead(at.column, d, 0, -1);
    if (g.rangesUsable())
        drawTicks();
    painter_->setPen(gridPen);
    drawn();
}

GraphRenderer::AxisPlaces GraphRenderer::axisPlaces() const
{
    const GraphGeometry& g = geometry_;
    const tavlix::CoordinateSettings& v = g.view();
    const bool usable = axesThroughOrigin_ && g.rangesUsable();
    AxisPlaces at;
    at.xThroughOrigin = usable && v[Setting::Ymin] <= 0 && 0 <= v[Setting::Ymax];
    at.yThroughOrigin = usable && v[Setting::Xmin] <= 0 && 0 <= v[Setting::Xmax];
    at.row = g.toPixelY(at.xThroughOrigin ? 0 : v[Setting::Ymin]);
    at.column = g.toPixelX(at.yThroughOrigin ? 0 : v[Setting::Xmin]);
    return at;
}

void GraphRenderer::drawArrowHead(int x, int y, int dx, int dy)
{
    // Pointing along (dx, dy), its tip on the axis's end, two thirds as long as a number is high.
    const int length = geometry_.charHeight() * 4 / 5;
    const int half = std::max(length * 2 / 5, 2);
    const QPoint tip(x, y);
    const QPoint back(x - dx * length, y - dy * length);
    const QPoint side(dy * half, dx * half);
    const QBrush brush = painter_->brush();
    painter_->setBrush(Qt::black);
    painter_->setRenderHint(QPainter::Antialiasing, true);
    painter_->drawPolygon(QPolygon({tip, back + side, back - side}));
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setBrush(brush);
}

void GraphRenderer::drawTicks()
{
    const GraphGeometry& g = geometry_;
    const tavlix::CoordinateSettings& v = g.view();
    const PixelRect& area = g.plotArea();
    const int charH = g.charHeight();
    const AxisPlaces at = axisPlaces();
    const bool origin = at.xThroughOrigin && at.yThroughOrigin;
    const QFontMetrics fm = painter_->fontMetrics();
    // Beside an axis through the origin the numbers stand just below it; at the frame, in the margin.
    const int xNumbersTop = at.xThroughOrigin ? at.row + charH / 2 : area.top + area.height - charH;
    if (v[Setting::XTickStep] > 0) {
        for (double q : GraphGeometry::axisValues(v[Setting::YAxisAtX], v[Setting::XTickStep], v[Setting::Xmin],
                                                  v[Setting::Xmax], true)) {
            const int p = g.toPixelX(q);
            if (at.xThroughOrigin && p > g.toPixelX(v[Setting::Xmax]) - charH)
                continue;  // the arrowhead's place
            painter_->drawLine(p, at.row, p, at.row + charH / 2);
            if (q == 0 && at.yThroughOrigin)
                continue;  // the y axis stands there
            const QString s = latin(tavlix::formatNumber(6, q));
            drawLabelAt(s, p - fm.horizontalAdvance(s) / 2, xNumbersTop);
        }
    }
    if (v[Setting::YTickStep] > 0) {
        for (double r : GraphGeometry::axisValues(v[Setting::XAxisAtY], v[Setting::YTickStep], v[Setting::Ymin],
                                                  v[Setting::Ymax], true)) {
            const int p = g.toPixelY(r);
            if (at.yThroughOrigin && p < g.toPixelY(v[Setting::Ymax]) + charH)
                continue;
            painter_->drawLine(at.column, p, at.column - charH / 2, p);
            if (r == 0 && at.xThroughOrigin)
                continue;
            const QString s = latin(tavlix::formatNumber(6, r));
            drawLabelAt(s, at.column - fm.horizontalAdvance(s) - charH, p - charH / 2);
        }
    }
    if (origin)
        drawLabelAt(QStringLiteral("0"), at.column - fm.horizontalAdvance(QStringLiteral("0")) - charH / 2,
                    at.row + charH / 2);
}

void GraphRenderer::drawAxisNames(QPainter& painter, const tavlix::CurveList& curves)
{
    const AxisPlaces at = axisPlaces();
    if (!at.xThroughOrigin && !at.yThroughOrigin)
        return;
    const auto [xName, yName] = axisNames(curves);
    const GraphGeometry& g = geometry_;
    const tavlix::CoordinateSettings& v = g.view();
    const QFontMetrics fm = painter.fontMetrics();
    const int charH = g.charHeight();
    painter.save();
    painter.setPen(Qt::black);
    // Above the x axis's arrow, and right of the y axis's.
    if (at.xThroughOrigin) {
        const QPoint base(g.toPixelX(v[Setting::Xmax]) - fm.horizontalAdvance(xName) - charH / 2, at.row - charH / 2);
        painter.drawText(base, xName);
        bounds_ |= QRect(base.x(), base.y() - fm.ascent(), fm.horizontalAdvance(xName), fm.height());
    }
    if (at.yThroughOrigin) {
        const QPoint base(at.column + charH / 2, g.toPixelY(v[Setting::Ymax]) + fm.ascent() / 2);
        painter.drawText(base, yName);
        bounds_ |= QRect(base.x(), base.y() - fm.ascent(), fm.horizontalAdvance(yName), fm.height());
    }
    painter.restore();
}

std::pair<QString, QString> GraphRenderer::axisNames(const tavlix::CurveList& curves)
{
    // The run's curves name their variables: "y" over t, "(x, y)" otherwise. One name each way, else x and y.
    QString x, y;
    bool first = true;
    for (const tavlix::Curve& c : curves) {
        if (c.addedByUser())
            continue;
        QString cx = QStringLiteral("t"), cy = QString::fromStdString(c.name);
        if (cy.startsWith(QLatin1Char('(')) && cy.endsWith(QLatin1Char(')')) && cy.contains(QStringLiteral(", "))) {
            const QString inner = cy.mid(1, cy.size() - 2);
            cx = inner.section(QStringLiteral(", "), 0, 0);
            cy = inner.section(QStringLiteral(", "), 1);
        }
        x = first || cx == x ? cx : QStringLiteral("x");
        y = first || cy == y ? cy : QStringLiteral("y");
        first = false;
    }
    return {first ? QStringLiteral("x") : x, first ? QStringLiteral("y") : y};
}

void GraphRenderer::drawGrid()
{
    const GraphGeometry& g = geometry_;
    const tavlix::CoordinateSettings& v = g.view();
    const int a = g.toPixelX(v[Setting::Xmin]), b = g.toPixelX(v[Setting::Xmax]);
    const int c = g.toPixelY(v[Setting::Ymin]), d = g.toPixelY(v[Setting::Ymax]);
    if (v[Setting::XGridStep] > 0) {
        for (double q : GraphGeometry::axisValues(v[Setting::YAxisAtX], v[Setting::XGridStep], v[Setting::Xmin],
                                                  v[Setting::Xmax], false)) {
            const int p = g.toPixelX(q);
            painter_->drawLine(p, c, p, d);
        }
    }
    if (v[Setting::YGridStep] > 0) {
        for (double r : GraphGeometry::axisValues(v[Setting::XAxisAtY], v[Setting::YGridStep], v[Setting::Ymin],
                                                  v[Setting::Ymax], false)) {
            const int p = g.toPixelY(r);
            painter_->drawLine(a, p, b, p);
        }
    }
}
