// How the renderer draws the axes of a graph, their numbers and ticks, and the grid behind the curves.
#include "graph/GraphRenderer.h"

#include "support/FormatNumber.h"

#include <QPainter>

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
    painter_->drawLine(b, c, a, c);
    painter_->drawLine(a, c, a, d);
    if (g.rangesUsable()) {
        drawTicks();
        painter_->setPen(makePen(GridSilver, Qt::DotLine));
        drawGrid();
    } else {
        painter_->setPen(makePen(GridSilver, Qt::DotLine));
    }
    drawn();
}

void GraphRenderer::drawTicks()
{
    const GraphGeometry& g = geometry_;
    const tavlix::CoordinateSettings& v = g.view();
    const PixelRect& area = g.plotArea();
    const int charH = g.charHeight();
    const int a = g.toPixelX(v[Setting::Xmin]);
    const int c = g.toPixelY(v[Setting::Ymin]);
    const QFontMetrics fm = painter_->fontMetrics();
    if (v[Setting::XTickStep] > 0) {
        for (double q : GraphGeometry::axisValues(v[Setting::YAxisAtX], v[Setting::XTickStep], v[Setting::Xmin],
                                                  v[Setting::Xmax], true)) {
            const QString s = latin(tavlix::formatNumber(6, q));
            const int p = g.toPixelX(q);
            drawLabelAt(s, p - fm.horizontalAdvance(s) / 2, area.top + area.height - charH);
            painter_->drawLine(p, c, p, c + charH / 2);
        }
    }
    if (v[Setting::YTickStep] > 0) {
        for (double r : GraphGeometry::axisValues(v[Setting::XAxisAtY], v[Setting::YTickStep], v[Setting::Ymin],
                                                  v[Setting::Ymax], true)) {
            const QString s = latin(tavlix::formatNumber(6, r));
            const int p = g.toPixelY(r);
            drawLabelAt(s, a - fm.horizontalAdvance(s) - charH, p - charH / 2);
            painter_->drawLine(a, p, a - charH / 2, p);
        }
    }
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
