// Icons drawn on a 20-unit grid with a dark outline and one accent colour each, so they stay sharp at any scale.
#include "workspace/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSvgRenderer>

#include <functional>

namespace {

const QColor Ink(0x33, 0x3a, 0x45);
const QColor Paper(0xff, 0xff, 0xff);
const QColor Blue(0x2f, 0x6f, 0xd0);
const QColor Green(0x2e, 0x9e, 0x4f);
const QColor Red(0xd0, 0x3b, 0x32);
const QColor Amber(0xe8, 0xb3, 0x3c);

using Drawing = std::function<void(QPainter&)>;

QPixmap render(const Drawing& draw, int size, bool disabled)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 20.0, size / 20.0);
    p.setPen(QPen(Ink, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(p);
    p.end();
    if (disabled) {
        QImage img = pm.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                int g = 150 + qGray(line[x]) / 3;
                line[x] = qRgba(g, g, g, qAlpha(line[x]) * 2 / 3);
            }
        }
        pm = QPixmap::fromImage(img);
    }
    return pm;
}

QIcon make(const Drawing& draw)
{
    QIcon icon;
    for (int size : {16, 20, 24, 32, 40, 48}) {
        icon.addPixmap(render(draw, size, false), QIcon::Normal);
        icon.addPixmap(render(draw, size, true), QIcon::Disabled);
    }
    return icon;
}

void sheet(QPainter& p, qreal x, qreal y, qreal w, qreal h)
{
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(x + w - 4, y);
    path.lineTo(x + w, y + 4);
    path.lineTo(x + w, y + h);
    path.lineTo(x, y + h);
    path.closeSubpath();
    p.setBrush(Paper);
    p.drawPath(path);
    p.drawLine(QPointF(x + w - 4, y), QPointF(x + w - 4, y + 4));
    p.drawLine(QPointF(x + w - 4, y + 4), QPointF(x + w, y + 4));
}

void lines(QPainter& p, qreal x, qreal y, int n, qreal w)
{
    QPen old = p.pen();
    p.setPen(QPen(Blue, 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < n; ++i)
        p.drawLine(QPointF(x, y + 2.5 * i), QPointF(x + w, y + 2.5 * i));
    p.setPen(old);
}

void drawNew(QPainter& p)
{
    sheet(p, 4, 2, 12, 16);
    p.setPen(QPen(Green, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(13, 11), QPointF(13, 17));
    p.drawLine(QPointF(10, 14), QPointF(16, 14));
}

void drawOpen(QPainter& p)
{
    p.setBrush(Amber.darker(115));
    p.drawRect(QRectF(2, 5, 15, 12));
    p.drawRect(QRectF(2, 3.5, 6, 1.5));
    QPolygonF front{{4.5, 9}, {19, 9}, {16.5, 17}, {2, 17}};
    p.setBrush(Amber);
    p.drawPolygon(front);
}

void drawSave(QPainter& p)
{
    p.setBrush(Blue);
    p.drawRoundedRect(QRectF(2.5, 2.5, 15, 15), 1.5, 1.5);
    p.setBrush(Paper);
    p.drawRect(QRectF(5.5, 2.5, 9, 6));
    p.setBrush(Ink);
    p.drawRect(QRectF(11, 3.5, 2, 4));
    p.setBrush(Paper);
    p.drawRect(QRectF(5, 11, 10, 6.5));
}

void drawClose(QPainter& p)
{
    sheet(p, 3, 2, 12, 16);
    p.setPen(QPen(Red, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 11), QPointF(17, 17));
    p.drawLine(QPointF(17, 11), QPointF(11, 17));
}

void drawPrint(QPainter& p)
{
    p.setBrush(Paper);
    p.drawRect(QRectF(5.5, 2.5, 9, 6));
    p.setBrush(QColor(0xc9, 0xcf, 0xd8));
    p.drawRoundedRect(QRectF(2, 8, 16, 7), 1.5, 1.5);
    p.setBrush(Paper);
    p.drawRect(QRectF(5.5, 12.5, 9, 5.5));
    lines(p, 7.5, 14.5, 2, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(Green);
    p.drawEllipse(QPointF(15.5, 10.5), 0.9, 0.9);
}

void drawCut(QPainter& p)
{
    p.setPen(QPen(Ink, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 2.5), QPointF(12.5, 13));
    p.drawLine(QPointF(14, 2.5), QPointF(7.5, 13));
    p.setPen(QPen(Red, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(6, 15.5), 2.6, 2.6);
    p.drawEllipse(QPointF(14, 15.5), 2.6, 2.6);
}

void drawCopy(QPainter& p)
{
    sheet(p, 2.5, 2, 10, 12.5);
    sheet(p, 7.5, 5.5, 10, 12.5);
    lines(p, 9.5, 10.5, 3, 5.5);
}

void drawPaste(QPainter& p)
{
    p.setBrush(Amber);
    p.drawRoundedRect(QRectF(3, 3.5, 12, 15), 1.5, 1.5);
    p.setBrush(QColor(0xc9, 0xcf, 0xd8));
    p.drawRoundedRect(QRectF(6.5, 2, 5, 3), 1, 1);
    sheet(p, 9, 8, 8.5, 10.5);
    lines(p, 10.8, 12, 3, 4.5);
}

// The clipboard with a small grid of cells: a table goes in.
void drawPasteData(QPainter& p)
{
    p.setBrush(Amber);
    p.drawRoundedRect(QRectF(3, 3.5, 12, 15), 1.5, 1.5);
    p.setBrush(QColor(0xc9, 0xcf, 0xd8));
    p.drawRoundedRect(QRectF(6.5, 2, 5, 3), 1, 1);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 8, 9, 10));
    p.drawLine(QLineF(11, 8, 11, 18));
    p.drawLine(QLineF(8, 11.3, 17, 11.3));
    p.drawLine(QLineF(8, 14.6, 17, 14.6));
}

void drawRun(QPainter& p)
{
    QPolygonF tri{{5, 3}, {17, 10}, {5, 17}};
    p.setBrush(Green);
    p.setPen(QPen(Green.darker(140), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(tri);
}

void drawStop(QPainter& p)
{
    p.setBrush(Red);
    p.setPen(QPen(Red.darker(140), 1.2));
    p.drawRoundedRect(QRectF(4, 4, 12, 12), 2, 2);
}

void drawCoordinates(QPainter& p)
{
    p.setPen(QPen(Ink, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2, 12), QPointF(18, 12));
    p.drawLine(QPointF(7, 2), QPointF(7, 18));
    for (qreal x : {3.5, 10.5, 14.0})
        p.drawLine(QPointF(x, 11), QPointF(x, 13));
    for (qreal y : {5.0, 8.5, 15.5})
        p.drawLine(QPointF(6, y), QPointF(8, y));
    p.setPen(QPen(Blue, 1.6, Qt::SolidLine, Qt::RoundCap));
    QPainterPath curve;
    curve.moveTo(2.5, 16);
    curve.cubicTo(7, 4, 12, 4, 17.5, 4.5);
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
}

void drawFitGraph(QPainter& p)
{
    p.setBrush(Paper);
    p.drawRect(QRectF(2.5, 2.5, 15, 15));
    p.setPen(QPen(Blue, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    auto arrow = [&](QPointF from, QPointF to, QPointF a, QPointF b) {
        p.drawLine(from, to);
        p.drawLine(to, a);
        p.drawLine(to, b);
    };
    arrow({8, 8}, {5, 5}, {5, 7.5}, {7.5, 5});
    arrow({12, 8}, {15, 5}, {12.5, 5}, {15, 7.5});
    arrow({8, 12}, {5, 15}, {5, 12.5}, {7.5, 15});
    arrow({12, 12}, {15, 15}, {15, 12.5}, {12.5, 15});
}

void drawPrintSize(QPainter& p)
{
    p.setBrush(Amber);
    p.drawRect(QRectF(1.5, 11, 17, 6));
    for (int i = 0; i < 7; ++i) {
        qreal x = 3.5 + 2.3 * i;
        p.drawLine(QPointF(x, 11), QPointF(x, i % 2 ? 13 : 14.5));
    }
    p.setPen(QPen(Blue, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(3, 5.5), QPointF(17, 5.5));
    p.drawLine(QPointF(3, 5.5), QPointF(5.5, 3.5));
    p.drawLine(QPointF(3, 5.5), QPointF(5.5, 7.5));
    p.drawLine(QPointF(17, 5.5), QPointF(14.5, 3.5));
    p.drawLine(QPointF(17, 5.5), QPointF(14.5, 7.5));
}

void drawLabel(QPainter& p)
{
    QFont f("Serif");
    f.setPixelSize(16);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Ink);
    p.drawText(QRectF(1, 0, 13, 19), Qt::AlignCenter, "A");
    p.setPen(QPen(Blue, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 4), QPointF(16, 17));
    p.drawLine(QPointF(14.5, 4), QPointF(17.5, 4));
    p.drawLine(QPointF(14.5, 17), QPointF(17.5, 17));
}

// A curve through a marked point over short grey line elements.
void drawSolveThrough(QPainter& p)
{
    p.setPen(QPen(QColor(150, 150, 150), 1.1, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF& c : {QPointF(4, 5), QPointF(10, 4), QPointF(16, 5), QPointF(4, 16), QPointF(16, 15)})
        p.drawLine(c - QPointF(1.8, -0.6), c + QPointF(1.8, -0.6));
    p.setPen(QPen(Blue, 1.6, Qt::SolidLine, Qt::RoundCap));
    QPainterPath curve;
    curve.moveTo(2, 14);
    curve.cubicTo(7, 13, 12, 8, 18, 8);
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    p.setPen(QPen(Red, 1.2));
    p.setBrush(Red);
    p.drawEllipse(QPointF(9.5, 11), 1.8, 1.8);
}

// A result tab's kind: a grid with a shaded header row, or axes under a curve.
void drawTablePage(QPainter& p)
{
    p.setBrush(Paper);
    p.drawRect(QRectF(2.5, 3.5, 15, 13));
    p.setBrush(Amber);
    p.drawRect(QRectF(2.5, 3.5, 15, 3.5));
    for (qreal x : {7.5, 12.5})
        p.drawLine(QPointF(x, 3.5), QPointF(x, 16.5));
    for (qreal y : {10.0, 13.25})
        p.drawLine(QPointF(2.5, y), QPointF(17.5, y));
}

void drawGraphPage(QPainter& p)
{
    p.drawLine(QPointF(3, 17), QPointF(17.5, 17));
    p.drawLine(QPointF(3, 17), QPointF(3, 2.5));
    p.setPen(QPen(Green, 1.6, Qt::SolidLine, Qt::RoundCap));
    QPainterPath curve;
    curve.moveTo(3.5, 15);
    curve.cubicTo(7, 3, 10, 3, 12, 9);
    curve.cubicTo(13.5, 13, 15.5, 12, 17, 6);
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
}

}  // namespace

QIcon toolIcon(Icon icon)
{
    switch (icon) {
    case Icon::New: return make(drawNew);
    case Icon::Open: return make(drawOpen);
    case Icon::Save: return make(drawSave);
    case Icon::Close: return make(drawClose);
    case Icon::Print: return make(drawPrint);
    case Icon::Cut: return make(drawCut);
    case Icon::Copy: return make(drawCopy);
    case Icon::Paste: return make(drawPaste);
    case Icon::PasteData: return make(drawPasteData);
    case Icon::Run: return make(drawRun);
    case Icon::Stop: return make(drawStop);
    case Icon::Coordinates: return make(drawCoordinates);
    case Icon::FitGraph: return make(drawFitGraph);
    case Icon::PrintSize: return make(drawPrintSize);
    case Icon::Label: return make(drawLabel);
    case Icon::SolveThrough: return make(drawSolveThrough);
    case Icon::TablePage: return make(drawTablePage);
    case Icon::GraphPage: return make(drawGraphPage);
    }
    return QIcon();
}

QIcon programIcon()
{
    // The installed application icon, rendered at the sizes a window and its task bar ask for.
    QSvgRenderer svg(QStringLiteral(":/org.tavlix.Tavlix.svg"));
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        svg.render(&p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
