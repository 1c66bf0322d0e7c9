// The drawing surface of a graph: value-to-pixel mapping, the coordinate system, curve steps, marks and labels.
#include "graph/TGraf.h"

#include "support/FormatNumber.h"
#include "workspace/TForm1.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace {

// Pixels far outside any canvas; keeps huge values (marks are not clipped in values) away from int overflow.
constexpr long double PixelLimit = 1 << 24;

// The nearest integer, halves to even (the default rounding mode).
int Nint(long double v)
{
    if (std::isnan(v))
        return 0;
    v = std::clamp(v, -PixelLimit, PixelLimit);
    return static_cast<int>(std::lrint(v));
}

QString Latin(const std::string& s)
{
    // formatNumber writes digits, signs, 'E' and the comma only.
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

struct KindPen {
    Qt::PenStyle style;
    QColor colour;
};

// Pen of the line kinds 0 to 5.
const KindPen KindPens[6] = {
    {Qt::SolidLine, QColor(0, 0, 0)},         {Qt::DashLine, QColor(255, 0, 0)},
    {Qt::DotLine, QColor(0, 0, 255)},         {Qt::DashDotLine, QColor(0, 255, 0)},
    {Qt::DashDotDotLine, QColor(0, 128, 0)},  {Qt::DashLine, QColor(0, 255, 255)},
};

const QColor GridSilver(192, 192, 192);

// Outside code of a point against the clip ranges: 1 left, 2 right, 4 below, 8 above.
int OutCode(double x, double y, double xmin, double xmax, double ymin, double ymax)
{
    int code = 0;
    if (x < xmin)
        code = 1;
    else if (x > xmax)
        code = 2;
    if (y < ymin)
        code += 4;
    else if (y > ymax)
        code += 8;
    return code;
}

bool TextToolArmed()
{
    return Form1 && Form1->Edit1 && !Form1->Edit1->isHidden();
}

}  // namespace

TGraf::TGraf(int width, int height, QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    QFont f = font();
    f.setPointSize(ScreenPointSize);
    setFont(f);
    NewPicture(width, height);
}

TGraf::~TGraf() { ClosePainter(); }

void TGraf::NewPicture(int width, int height, qreal ratio)
{
    ClosePainter();
    // On a high-density screen the picture holds every device pixel, so lines and text stay sharp.
    const QSize size(std::max(width, 1), std::max(height, 1));
    if (ratio <= 0)
        ratio = std::max<qreal>(devicePixelRatioF(), 1);
    picture = QImage(size * ratio, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    const int dpm = Nint(logicalDpiX() / 0.0254L);
    picture.setDotsPerMeterX(dpm);
    picture.setDotsPerMeterY(dpm);
    picture.fill(Qt::white);
    setFixedSize(size);
    screenPainter = new QPainter(&picture);
    screenPainter->setFont(font());
    screenPainter->setBrush(Qt::white);
    screenPainter->setBackground(Qt::white);
    canvas = nullptr;
    bandShown = false;
    update();
}

void TGraf::ClosePainter()
{
    if (canvas == screenPainter)
        canvas = nullptr;
    delete screenPainter;
    screenPainter = nullptr;
}

void TGraf::PrepareScreen(QPainter* c)
{
    canvas = c;
    penWidth = 0;
    penKind = NoPenKind;
    const QFontMetrics fm = c->fontMetrics();
    charW = fm.horizontalAdvance(QStringLiteral("M"));
    charH = fm.height();
    // Room above and to the right, so the numbers at the top and right ends show whole.
    areaLeft = 0;
    areaTop = charH / 2;
    areaW = width() - ScreenRightMargin * charW / 2;
    areaH = height() - areaTop;
}

void TGraf::PreparePrinter(QPainter* c, double widthCm, double heightCm, double leftCm, double topCm)
{
    canvas = c;
    penKind = NoPenKind;
    QFont f = font();
    f.setPointSize(PrintPointSize);
    c->setFont(f);
    const QFontMetrics fm = c->fontMetrics();
    charW = fm.horizontalAdvance(QStringLiteral("M"));
    charH = fm.height();
    const long double P = c->device()->logicalDpiX();
    // Paper lines a sixth of a millimetre wide; a screen-like device keeps its one-pixel lines.
    const int w = Nint(P / PenPerInch);
    penWidth = w > 1 ? w : 0;
    areaW = Nint(P * widthCm / 2.54L) - charW;
    areaH = Nint(P * heightCm / 2.54L - charW);
    areaLeft = Nint(P * leftCm / 2.54L);
    areaTop = Nint(P * topCm / 2.54L);
    c->setPen(QPen(Qt::black, penWidth));
    c->setBrush(Qt::white);
    c->setBackground(Qt::white);
    if (leftCm > 0) {
        const QPoint a(areaLeft, areaTop - charW);
        const QPoint b(areaLeft + areaW + charW, areaTop + areaH + charW / 2);
        // The far edges belong outside the frame.
        c->drawRect(QRect(a, b - QPoint(1, 1)).normalized());
    }
}

void TGraf::minmax()
{
    clipXmin = Settings[iXmin];
    clipXmax = Settings[iXmax];
    clipYmin = Settings[iYMin];
    clipYmax = Settings[iYMax];
}

bool TGraf::RangesUsable() const
{
    const double xmin = Settings[iXmin], xmax = Settings[iXmax];
    const double ymin = Settings[iYMin], ymax = Settings[iYMax];
    return xmin < xmax && ymin < ymax && std::isfinite(xmax - xmin) && std::isfinite(ymax - ymin);
}

int TGraf::xCalc(double x) const
{
    const int left = 6 * charW;
    const long double span = static_cast<long double>(Settings[iXmax]) - Settings[iXmin];
    if (!(span > 0) || !std::isfinite(span))
        return areaLeft + left;
    return Nint((x - static_cast<long double>(Settings[iXmin])) / span * (areaW - left) + left) + areaLeft;
}

int TGraf::yCalc(double y) const
{
    const int bottom = 2 * charH;
    const long double span = static_cast<long double>(Settings[iYMax]) - Settings[iYMin];
    if (!(span > 0) || !std::isfinite(span))
        return areaTop + areaH - bottom;
    return areaTop + areaH - Nint((y - static_cast<long double>(Settings[iYMin])) / span * (areaH - bottom) + bottom);
}

double TGraf::xTal(int column) const
{
    const int plot = std::max(areaW - 6 * charW, 1);
    const long double span = static_cast<long double>(Settings[iXmax]) - Settings[iXmin];
    return static_cast<double>(Settings[iXmin] + static_cast<long double>(column - areaLeft - 6 * charW) / plot * span);
}

double TGraf::yTal(int row) const
{
    const int plot = std::max(areaH - 2 * charH, 1);
    const long double span = static_cast<long double>(Settings[iYMax]) - Settings[iYMin];
    return static_cast<double>(Settings[iYMin] +
                               static_cast<long double>(areaTop + areaH - row - 2 * charH) / plot * span);
}

std::vector<double> TGraf::AxisWalk(double anchor, double step, double lo, double hi, bool inclusive)
{
    std::vector<double> values;
    if (!(step > 0) || !std::isfinite(step) || !std::isfinite(anchor) || !std::isfinite(lo) || !std::isfinite(hi) ||
        !(lo <= hi))
        return values;
    // Walk from the anchor past the top, then back below the bottom, one step at a time.
    const auto below = [&](double q) { return inclusive ? q >= lo : q > lo; };
    double q = anchor;
    int steps = 0;
    while (q <= hi && steps <= MaxWalkSteps) {
        q += step;
        ++steps;
    }
    while (below(q) && steps <= MaxWalkSteps) {
        q -= step;
        ++steps;
    }
    if (steps <= MaxWalkSteps) {
        q += step;
    } else {
        // A far anchor or a step lost against it: jump to the first lattice value in the range.
        const long double k = std::ceil((static_cast<long double>(lo) - anchor) / step);
        q = static_cast<double>(anchor + k * step);
        for (int i = 0; i < 4 && below(q - step); ++i)
            q -= step;
        for (int i = 0; i < 4 && !below(q); ++i)
            q += step;
    }
    while (inclusive ? q <= hi : q < hi) {
        const double next = q + step;
        // Too many to read, or a step lost in rounding: leave the axis bare.
        if (values.size() >= static_cast<size_t>(MaxAxisValues) || next == q)
            return {};
        values.push_back(q);
        q = next;
    }
    return values;
}

void TGraf::LavKoord()
{
    if (!canvas)
        return;
    minmax();
    setToolTip(QStringLiteral("Zoom ind: Klik og træk"));
    canvas->setCompositionMode(QPainter::CompositionMode_SourceOver);
    canvas->setPen(MakePen(Qt::black, Qt::SolidLine));
    penKind = NoPenKind;
    const int a = xCalc(Settings[iXmin]), b = xCalc(Settings[iXmax]);
    const int c = yCalc(Settings[iYMin]), d = yCalc(Settings[iYMax]);
    canvas->drawLine(b, c, a, c);
    canvas->drawLine(a, c, a, d);
    if (RangesUsable()) {
        DrawTicks();
        canvas->setPen(MakePen(GridSilver, Qt::DotLine));
        DrawGrid();
    } else {
        canvas->setPen(MakePen(GridSilver, Qt::DotLine));
    }
    MarkDirty();
}

void TGraf::DrawTicks()
{
    const int a = xCalc(Settings[iXmin]);
    const int c = yCalc(Settings[iYMin]);
    const QFontMetrics fm = canvas->fontMetrics();
    if (Settings[iXEnhed] > 0) {
        for (double q : AxisWalk(Settings[iYCross], Settings[iXEnhed], Settings[iXmin], Settings[iXmax], true)) {
            const QString s = Latin(tavlix::formatNumber(6, q));
            const int p = xCalc(q);
            Text(s, p - fm.horizontalAdvance(s) / 2, areaTop + areaH - charH);
            canvas->drawLine(p, c, p, c + charH / 2);
        }
    }
    if (Settings[iYEnhed] > 0) {
        for (double r : AxisWalk(Settings[iXCross], Settings[iYEnhed], Settings[iYMin], Settings[iYMax], true)) {
            const QString s = Latin(tavlix::formatNumber(6, r));
            const int p = yCalc(r);
            Text(s, a - fm.horizontalAdvance(s) - charH, p - charH / 2);
            canvas->drawLine(a, p, a - charH / 2, p);
        }
    }
}

void TGraf::DrawGrid()
{
    const int a = xCalc(Settings[iXmin]), b = xCalc(Settings[iXmax]);
    const int c = yCalc(Settings[iYMin]), d = yCalc(Settings[iYMax]);
    if (Settings[iXGitter] > 0) {
        for (double q : AxisWalk(Settings[iYCross], Settings[iXGitter], Settings[iXmin], Settings[iXmax], false)) {
            const int p = xCalc(q);
            canvas->drawLine(p, c, p, d);
        }
    }
    if (Settings[iYGitter] > 0) {
        for (double r : AxisWalk(Settings[iXCross], Settings[iYGitter], Settings[iYMin], Settings[iYMax], false)) {
            const int p = yCalc(r);
            canvas->drawLine(a, p, b, p);
        }
    }
}

void TGraf::Text(const QString& s, int left, int top)
{
    // Text is black and opaque on the white brush, whatever the pen is.
    const QPen pen = canvas->pen();
    const QFontMetrics fm = canvas->fontMetrics();
    canvas->fillRect(QRect(left, top, fm.horizontalAdvance(s), charH), Qt::white);
    canvas->setPen(Qt::black);
    canvas->drawText(left, top + fm.ascent(), s);
    canvas->setPen(pen);
}

void TGraf::TekstUd(const QString& text, double x, double y)
{
    if (!canvas || !RangesUsable())
        return;
    Text(text, xCalc(x), yCalc(y) - charH / 2);
    MarkDirty();
}

bool TGraf::ClipStep(double& x0, double& y0, double& x1, double& y1) const
{
    // An undefined end has no place on the plot.
    if (std::isnan(x0) || std::isnan(y0) || std::isnan(x1) || std::isnan(y1))
        return false;
    int c0 = OutCode(x0, y0, clipXmin, clipXmax, clipYmin, clipYmax);
    int c1 = OutCode(x1, y1, clipXmin, clipXmax, clipYmin, clipYmax);
    if (c0 == 0 && c1 == 0)
        return true;
    if (c0 != 0 && c1 != 0)
        return false;
    // Move the outside end onto the boundaries its code names; a corner needs at most a few moves.
    const bool first = c0 != 0;
    double& mx = first ? x0 : x1;
    double& my = first ? y0 : y1;
    int& code = first ? c0 : c1;
    for (int i = 0; i < 4 && code != 0; ++i) {
        if ((c0 & c1) != 0)
            return false;
        if (code & 1) {
            my = y0 + (y1 - y0) * (clipXmin - x0) / (x1 - x0);
            mx = clipXmin;
        } else if (code & 2) {
            my = y0 + (y1 - y0) * (clipXmax - x0) / (x1 - x0);
            mx = clipXmax;
        } else if (code & 4) {
            mx = x0 + (x1 - x0) * (clipYmin - y0) / (y1 - y0);
            my = clipYmin;
        } else {
            mx = x0 + (x1 - x0) * (clipYmax - y0) / (y1 - y0);
            my = clipYmax;
        }
        code = OutCode(mx, my, clipXmin, clipXmax, clipYmin, clipYmax);
    }
    return code == 0;
}

void TGraf::Draw(int kind, double x0, double y0, double x1, double y1)
{
    if (kind > 5) {
        Line(kind, x0, y0, x1, y1);
        return;
    }
    if (ClipStep(x0, y0, x1, y1))
        Line(kind, x0, y0, x1, y1);
}

QPen TGraf::MakePen(const QColor& colour, Qt::PenStyle style) const
{
    // Flat ends, so the gaps of wide dashed pens on paper stay open.
    return QPen(colour, penWidth, style, Qt::FlatCap, Qt::MiterJoin);
}

void TGraf::SetKindPen(int kind)
{
    if (kind < 0 || kind > 5 || kind == penKind)
        return;
    canvas->setPen(MakePen(KindPens[kind].colour, KindPens[kind].style));
    penKind = kind;
}

void TGraf::Line(int kind, double x0, double y0, double x1, double y1)
{
    if (!canvas || !RangesUsable())
        return;
    if (kind <= 5) {
        SetKindPen(kind);
        const QPoint a(xCalc(x0), yCalc(y0)), b(xCalc(x1), yCalc(y1));
        if (kind > 0)
            ContinueDashes(kind, a, b);
        canvas->drawLine(a, b);
    } else {
        Mark(kind, xCalc(x1), yCalc(y1));
    }
    MarkDirty();
}

void TGraf::ContinueDashes(int kind, const QPoint& a, const QPoint& b)
{
    // Steps of a few pixels each would all start with a dash and look solid; a step that goes on from the
    // last one of its kind goes on with its pattern.
    Dashes& d = dashes[kind];
    if (a != d.end)
        d.position = 0;
    QPen pen = canvas->pen();
    pen.setDashOffset(d.position / std::max(penWidth, 1));
    canvas->setPen(pen);
    // A one-pixel pen steps its pattern once per device pixel along the longer axis; a wide pen along the line.
    const int dx = std::abs(b.x() - a.x()), dy = std::abs(b.y() - a.y());
    d.position += penWidth == 0 ? std::max(dx, dy) * canvas->device()->devicePixelRatioF()
                                : std::hypot(double(dx), double(dy));
    d.end = b;
}

bool TGraf::MarkVisible(int px, int py) const
{
    const int o = charW / 4;
    return px > areaLeft + 6 * charW + o && py < areaTop + areaH - 2 * charH - o;
}

void TGraf::Mark(int kind, int px, int py)
{
    if (kind < 7 || kind > 11 || !MarkVisible(px, py))
        return;
    // Marks keep the colour last set on the canvas.
    if (canvas->pen().style() != Qt::SolidLine) {
        QPen pen = canvas->pen();
        pen.setStyle(Qt::SolidLine);
        canvas->setPen(pen);
        penKind = NoPenKind;
    }
    const int o = charW / 4;
    // Boxes are given with their far edges outside, as rectangles and ellipses take them.
    const auto box = [&](int h) { return QRect(px - h, py - h, 2 * h, 2 * h); };
    switch (kind) {
    case 7:
        canvas->drawRect(box(o / 2));
        break;
    case 8:
        canvas->drawLine(px - o, py, px + o, py);
        canvas->drawLine(px, py - o, px, py + o);
        break;
    case 9:
        canvas->drawEllipse(box(o));
        break;
    case 10:
        canvas->drawRect(box(o));
        break;
    case 11:
        canvas->drawLine(px - o, py - o, px + o, py + o);
        canvas->drawLine(px - o, py + o, px + o, py - o);
        break;
    }
}

void TGraf::Replay()
{
    if (!canvas || !curves)
        return;
    for (const TKurve& c : *curves) {
        if (!c.points.empty())
            ReplayCurve(c);
        else if (c.kind == TKurve::TextKind)
            TekstUd(c.text, c.lastX, c.lastY);
    }
    MarkDirty();
}

void TGraf::ReplayCurve(const TKurve& c)
{
    if (!RangesUsable())
        return;
    if (c.kind <= 5)
        ReplayLines(c);
    else
        ReplayMarks(c);
}

void TGraf::ReplayLines(const TKurve& c)
{
    // Joined steps go out as one polyline: same pixels, far fewer calls, and dashes run on across points.
    SetKindPen(c.kind);
    QPolygon poly;
    const auto flush = [&] {
        if (poly.size() == 1)
            canvas->drawPoint(poly[0]);
        else if (poly.size() > 1)
            canvas->drawPolyline(poly);
        poly.clear();
    };
    bool penDown = false;
    double lastX = 0, lastY = 0;
    for (const TPunkt& p : c.points) {
        if (!p.isPoint) {
            penDown = false;
            continue;
        }
        if (penDown) {
            double x0 = lastX, y0 = lastY, x1 = p.x, y1 = p.y;
            if (ClipStep(x0, y0, x1, y1)) {
                const QPoint a(xCalc(x0), yCalc(y0)), b(xCalc(x1), yCalc(y1));
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

void TGraf::ReplayMarks(const TKurve& c)
{
    bool penDown = false;
    QPoint last(INT_MIN, INT_MIN);
    for (const TPunkt& p : c.points) {
        if (!p.isPoint) {
            penDown = false;
            continue;
        }
        if (penDown) {
            const QPoint m(xCalc(p.x), yCalc(p.y));
            // A mark on the pixel of the one before draws the same pixels again.
            if (m != last)
                Mark(c.kind, m.x(), m.y());
            last = m;
        }
        penDown = true;
    }
}

void TGraf::MarkDirty()
{
    if (canvas != screenPainter || updatePending || !isVisible())
        return;
    updatePending = true;
    update();
}

QRect TGraf::BandRect() const
{
    return QRect(QPoint(xCalc(startX), yCalc(startY)), QPoint(xCalc(curX), yCalc(curY))).normalized();
}

void TGraf::paintEvent(QPaintEvent*)
{
    updatePending = false;
    QPainter p(this);
    p.drawImage(QPoint(0, 0), picture);
    if (bandShown) {
        // The band inverts what it covers, so it shows on any colour and leaves the picture alone.
        p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        p.setPen(QPen(Qt::black, 0, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(BandRect());
    }
}

void TGraf::MouseDownProc(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    if (TextToolArmed() || !RangesUsable())
        return;
    startX = curX = xTal(X);
    startY = curY = yTal(Y);
    if (clipXmin <= curX && curX <= clipXmax && clipYmin <= curY && curY <= clipYmax)
        dragging = true;
}

void TGraf::MouseMoveProc(Qt::KeyboardModifiers, int X, int Y)
{
    const double x = xTal(X), y = yTal(Y);
    const bool inside = RangesUsable() && Settings[iXmin] <= x && x <= Settings[iXmax] && Settings[iYMin] <= y &&
                        y <= Settings[iYMax];
    if (Form1) {
        Form1->SetStatusText(0, inside ? QStringLiteral("x: ") + Latin(tavlix::formatNumber(6, x)) : QString());
        Form1->SetStatusText(1, inside ? QStringLiteral("y: ") + Latin(tavlix::formatNumber(6, y)) : QString());
    }
    if (dragging) {
        bandShown = true;
        curX = x;
        curY = y;
        update();
    }
}

void TGraf::myMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    if (dragging) {
        bandShown = false;
        dragging = false;
        update();
        if (std::fabs(curX - startX) < (clipXmax - clipXmin) / 10 ||
            std::fabs(curY - startY) < (clipYmax - clipYmin) / 10)
            return;
        Zoom(std::min(startX, curX), std::max(startX, curX), std::min(startY, curY), std::max(startY, curY));
    }
    if (TextToolArmed())
        PlaceText(X, Y);
}

void TGraf::Zoom(double xmin, double xmax, double ymin, double ymax)
{
    if (!canvas)
        return;
    // The screen's margins hold numbers of the old view too.
    canvas->fillRect(canvas == screenPainter ? rect() : QRect(0, 0, areaW, areaH), Qt::white);
    Settings[iXmin] = xmin;
    Settings[iXmax] = xmax;
    Settings[iYMin] = ymin;
    Settings[iYMax] = ymax;
    minmax();
    LavKoord();
    Replay();
    emit Zoomed();
}

void TGraf::PlaceText(int X, int Y)
{
    QLineEdit* edit = Form1->Edit1;
    edit->hide();
    setCursor(Qt::ArrowCursor);
    const QString s = edit->text();
    edit->clear();
    if (s.isEmpty() || !curves)
        return;
    const double x = xTal(X), y = yTal(Y);
    if (!(RangesUsable() && Settings[iXmin] <= x && x <= Settings[iXmax] && Settings[iYMin] <= y &&
          y <= Settings[iYMax]))
        return;
    if (canvas) {
        Text(s, X, Y - charH / 2);
        MarkDirty();
    }
    TKurve label;
    label.kind = TKurve::TextKind;
    label.text = s;
    label.lastX = x;
    label.lastY = y;
    curves->push_back(label);
    emit TextPlaced();
}

void TGraf::mousePressEvent(QMouseEvent* event)
{
    if (mouseAttached)
        MouseDownProc(event->button(), event->modifiers(), event->position().toPoint().x(),
                      event->position().toPoint().y());
}

void TGraf::mouseMoveEvent(QMouseEvent* event)
{
    if (mouseAttached)
        MouseMoveProc(event->modifiers(), event->position().toPoint().x(), event->position().toPoint().y());
}

void TGraf::mouseReleaseEvent(QMouseEvent* event)
{
    if (mouseAttached)
        myMouseUp(event->button(), event->modifiers(), event->position().toPoint().x(),
                  event->position().toPoint().y());
}
