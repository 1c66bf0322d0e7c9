// The legend of a graph: a framed white box in the upper right corner naming each curve beside a sample of it.
#include "graph/GraphLegend.h"

#include "graph/GraphRenderer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>

#include <algorithm>

QList<GraphLegend::Entry> GraphLegend::entries(const tavlix::CurveList& curves)
{
    QList<Entry> list;
    int total = 0;
    for (const tavlix::Curve& c : curves) {
        if (c.isLabel)
            continue;
        if (++total <= MaxEntries)
            list.append({c.style, QString::fromStdString(c.name), false});
    }
    if (total > MaxEntries)
        list.append({tavlix::CurveStyle::Line1, QString("… og %1 mere").arg(total - MaxEntries), true});
    return list;
}

QString GraphLegend::fitted(const QString& name, const QFontMetrics& metrics, int width)
{
    return metrics.elidedText(name, Qt::ElideRight, std::max(width, 0));
}

void GraphLegend::draw(QPainter& painter, const QRect& area, const tavlix::CurveList& curves, const Pens& pens)
{
    const QList<Entry> lines = entries(curves);
    if (lines.isEmpty())
        return;
    const QFontMetrics fm = painter.fontMetrics();
    const int charW = fm.horizontalAdvance(QLatin1Char('M'));
    const int lineH = fm.height();
    const int pad = std::max(charW / 2, 2);
    const int sampleW = 2 * charW;
    // At most a third of the drawing's width, so the legend stays out of the way of the curves.
    const int nameRoom = std::max(area.width() / 3 - sampleW - 3 * pad, 4 * charW);
    QStringList names;
    int widest = 0;
    for (const Entry& e : lines) {
        names << fitted(e.name, fm, nameRoom);
        widest = std::max(widest, fm.horizontalAdvance(names.last()));
    }
    const int boxW = pad + sampleW + pad + widest + pad;
    const int boxH = pad + static_cast<int>(lines.size()) * lineH + pad;
    const QRect box(area.right() - boxW - pad, area.top() + pad, boxW, boxH);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, pens.frameWidth));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    for (int i = 0; i < lines.size(); ++i) {
        const Entry& e = lines[i];
        const int top = box.top() + pad + i * lineH;
        const int mid = top + lineH / 2;
        const int x0 = box.left() + pad;
        if (!e.more && tavlix::isLineStyle(e.style)) {
            painter.setRenderHint(QPainter::Antialiasing, pens.smooth);
            painter.setPen(GraphRenderer::stylePen(e.style, pens.curveWidth));
            painter.drawLine(x0, mid, x0 + sampleW, mid);
        } else if (!e.more) {
            painter.setPen(GraphRenderer::stylePen(e.style, pens.frameWidth));
            GraphRenderer::drawMarkShape(painter, e.style, x0 + sampleW / 2, mid, pens.markSize);
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::black);
        painter.drawText(x0 + sampleW + pad, top + fm.ascent(), names[i]);
    }
}
