// Paints the data as marks and the model as a line, both scaled to the box the data and curve need together.
#include "workspace/FitPreview.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Margin = 8;
constexpr double MarkRadius = 3;

struct Bounds {
    double xLo = INFINITY, xHi = -INFINITY, yLo = INFINITY, yHi = -INFINITY;
    void add(double x, double y)
    {
        if (!std::isfinite(x) || !std::isfinite(y))
            return;
        xLo = std::min(xLo, x);
        xHi = std::max(xHi, x);
        yLo = std::min(yLo, y);
        yHi = std::max(yHi, y);
    }
    // A flat or single-point box still needs a size to scale by.
    void widen()
    {
        if (xHi <= xLo) {
            xLo -= 1;
            xHi += 1;
        }
        if (yHi <= yLo) {
            yLo -= 1;
            yHi += 1;
        }
    }
};

}  // namespace

FitPreview::FitPreview(QWidget* parent) : QWidget(parent)
{
    setAccessibleName("Forhåndsvisning af tilpasningen");
    setMinimumSize(240, 150);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void FitPreview::setData(const QVector<double>& x, const QVector<double>& y)
{
    dataX_ = x;
    dataY_ = y;
    curveT_.clear();
    curveY_.clear();
    update();
}

void FitPreview::setCurve(const QVector<double>& t, const QVector<double>& y)
{
    curveT_ = t;
    curveY_ = y;
    update();
}

void FitPreview::paintEvent(QPaintEvent*)
{
    Bounds b;
    for (qsizetype i = 0; i < dataX_.size(); ++i)
        b.add(dataX_[i], dataY_[i]);
    for (qsizetype i = 0; i < curveT_.size(); ++i)
        b.add(curveT_[i], curveY_[i]);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(Margin, Margin, -Margin, -Margin);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(frame);
    // The marks at the edges stay whole inside the frame.
    const QRectF box = frame.adjusted(2 * MarkRadius, 2 * MarkRadius, -2 * MarkRadius, -2 * MarkRadius);
    if (!std::isfinite(b.xLo))
        return;
    b.widen();
    auto at = [&](double x, double y) {
        return QPointF(box.left() + (x - b.xLo) / (b.xHi - b.xLo) * box.width(),
                       box.bottom() - (y - b.yLo) / (b.yHi - b.yLo) * box.height());
    };
    QPainterPath curve;
    bool drawing = false;
    for (qsizetype i = 0; i < curveT_.size(); ++i) {
        if (!std::isfinite(curveY_[i])) {
            drawing = false;
            continue;
        }
        drawing ? curve.lineTo(at(curveT_[i], curveY_[i])) : curve.moveTo(at(curveT_[i], curveY_[i]));
        drawing = true;
    }
    p.setPen(QPen(QColor(0, 0, 200), 1.5));
    p.drawPath(curve);
    p.setPen(QPen(QColor(200, 0, 0), 1.5));
    for (qsizetype i = 0; i < dataX_.size(); ++i)
        if (std::isfinite(dataY_[i]))
            p.drawEllipse(at(dataX_[i], dataY_[i]), MarkRadius, MarkRadius);
}
