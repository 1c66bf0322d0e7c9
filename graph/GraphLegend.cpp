// The legend of a graph: a framed white box in the upper right corner naming each curve beside a sample of it.
#include "graph/GraphLegend.h"

#include "graph/GraphRenderer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

QList<GraphLegend::Entry> GraphLegend::entries(const tavlix::CurveList& curves)
{
    // A family lists its members in the order of their values: "k = 0,5", or "f, k = 0,5" beside other curves;
    // solutions and tangents drawn after the run come after the run's curves.
    std::vector<const tavlix::Curve*> shown;
    std::map<int, int> perMember;
    for (const tavlix::Curve& c : curves) {
        shown.push_back(&c);
        ++perMember[c.familyMember];
    }
    std::stable_sort(shown.begin(), shown.end(), [](const tavlix::Curve* a, const tavlix::Curve* b) {
        return std::pair(a->addedByUser(), a->familyMember) < std::pair(b->addedByUser(), b->familyMember);
    });
    QList<Entry> list;
    int total = 0;
    for (const tavlix::Curve* c : shown) {
        QString name = QString::fromStdString(c->name);
        if (!c->familyLabel.empty()) {
            const QString label = QString::fromStdString(c->familyLabel);
            name = perMember[c->familyMember] > 1 ? name + ", " + label : label;
        }
        if (++total <= MaxEntries)
            list.append({c->style, name, false, GraphRenderer::isFaint(*c)});
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
            const QPen pen = GraphRenderer::stylePen(e.style, pens.curveWidth);
            painter.setPen(e.faint ? GraphRenderer::faintPen(pen, true) : pen);
            painter.drawLine(x0, mid, x0 + sampleW, mid);
        } else if (!e.more) {
            const QPen pen = GraphRenderer::stylePen(e.style, pens.frameWidth);
            painter.setPen(e.faint ? GraphRenderer::faintPen(pen, false) : pen);
            GraphRenderer::drawMarkShape(painter, e.style, x0 + sampleW / 2, mid, pens.markSize);
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::black);
        painter.drawText(x0 + sampleW + pad, top + fm.ascent(), names[i]);
    }
}
