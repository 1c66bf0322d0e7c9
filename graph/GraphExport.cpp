// Pictures of a graph drawn afresh from its settings and curves: the copy's SVG and PNG, and the batch files.
#include "graph/GraphExport.h"

#include "graph/GraphRenderer.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScreen>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace {

// The copy's resolution: a tenth of a millimetre per unit, so the frame is exact in whole units.
constexpr int SvgDpi = 254;
// The copy's frame around the drawing area.
constexpr double FrameFactor = 1.2;
// Largest side of the copy's picture rendering in pixels.
constexpr int MaxCopyPixels = 6000;

void drawOn(QPainter& p, const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, double widthCm,
            double heightCm, bool legend, tavlix::DirectionField* field)
{
    GraphRenderer renderer(settings);
    renderer.setDirectionField(field);
    renderer.beginOnPaper(p, widthCm, heightCm, 0, 0);
    // The frame has room to spare; a margin keeps the top number from being cut off.
    const int margin = renderer.geometry().charWidth();
    p.translate(margin, margin);
    renderer.drawAxes();
    renderer.replay(curves);
    if (legend)
        renderer.drawLegend(curves);
}

double screenDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

}  // namespace

int copyFrameHundredthsMm(double cm)
{
    return static_cast<int>(std::nearbyint(cm * 1000 * FrameFactor));
}

QByteArray graphSvg(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, double widthCm,
                    double heightCm, bool legend, tavlix::DirectionField* field)
{
    const int frameW = copyFrameHundredthsMm(widthCm), frameH = copyFrameHundredthsMm(heightCm);
    const QSize units(std::max(1, (frameW + 5) / 10), std::max(1, (frameH + 5) / 10));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(SvgDpi);
    generator.setSize(units);
    generator.setViewBox(QRect(QPoint(0, 0), units));
    generator.setTitle(QStringLiteral("Tavlix"));
    {
        QPainter p(&generator);
        p.fillRect(QRect(QPoint(0, 0), units), Qt::white);
        drawOn(p, settings, curves, widthCm, heightCm, legend, field);
    }
    // The frame to the hundredth of a millimetre, not rounded to whole units.
    QString svg = QString::fromUtf8(buffer.data());
    static const QRegularExpression SizeAttributes(QStringLiteral("width=\"[0-9.]+mm\" height=\"[0-9.]+mm\""));
    svg.replace(SizeAttributes,
                QStringLiteral("width=\"%1mm\" height=\"%2mm\"").arg(frameW / 100.0).arg(frameH / 100.0));
    return svg.toUtf8();
}

QImage graphCopyImage(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, double widthCm,
                      double heightCm, bool legend, double dpi, tavlix::DirectionField* field)
{
    if (dpi <= 0)
        dpi = screenDpi();
    const double largest = std::max(widthCm, heightCm) * FrameFactor / 2.54;
    if (largest * dpi > MaxCopyPixels)
        dpi = MaxCopyPixels / largest;
    const int w = std::max(1, static_cast<int>(std::lround(widthCm * FrameFactor / 2.54 * dpi)));
    const int h = std::max(1, static_cast<int>(std::lround(heightCm * FrameFactor / 2.54 * dpi)));
    QImage image(w, h, QImage::Format_RGB32);
    const int dpm = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    QPainter p(&image);
    drawOn(p, settings, curves, widthCm, heightCm, legend, field);
    return image;
}

QByteArray graphPdf(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, double widthCm,
                    double heightCm, bool legend, tavlix::DirectionField* field)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("Tavlix"));
        pdf.setResolution(SvgDpi);
        const QSizeF frameMm(copyFrameHundredthsMm(widthCm) / 100.0, copyFrameHundredthsMm(heightCm) / 100.0);
        pdf.setPageSize(QPageSize(frameMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter p(&pdf);
        drawOn(p, settings, curves, widthCm, heightCm, legend, field);
    }
    return buffer.data();
}

QImage graphScreenImage(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, int width,
                        int height, bool legend, tavlix::DirectionField* field)
{
    // The picture file has exactly the pixels asked for, whatever the screen's density; its resolution is the
    // screen's, as the view's picture has.
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    const int dpm = GraphGeometry::roundToPixel(screenDpi() / 0.0254L);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(GraphRenderer::screenFont());
    p.setBrush(Qt::white);
    p.setBackground(Qt::white);
    GraphRenderer renderer(settings);
    renderer.setDirectionField(field);
    renderer.beginOnScreen(p, image.width(), image.height());
    renderer.drawAxes();
    renderer.replay(curves);
    if (legend)
        renderer.drawLegend(curves);
    return image;
}

std::vector<tavlix::FieldElement> screenFieldElements(const tavlix::CoordinateSettings& settings,
                                                      tavlix::DirectionField& field, int width, int height)
{
    // The drawing area depends on the numbers' font, so it is measured on a picture like the one drawn.
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    QPainter p(&image);
    p.setFont(GraphRenderer::screenFont());
    GraphRenderer renderer(settings);
    renderer.setDirectionField(&field);
    renderer.beginOnScreen(p, image.width(), image.height());
    return renderer.fieldElements();
}

bool exportGraph(const std::string& pathStem, const tavlix::CoordinateSettings& settings,
                 const tavlix::CurveList& curves, std::string& error, bool legend, tavlix::DirectionField* field)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        error = "ingen grafik uden vinduessystem";
        return false;
    }
    const QString stem = QString::fromUtf8(pathStem.data(), static_cast<qsizetype>(pathStem.size()));
    // The copy's size for a page of the default size on the screen.
    const double dpi = screenDpi();
    const double widthCm = ExportWidth / dpi * 2.54, heightCm = ExportHeight / dpi * 2.54;
    // Each picture goes in under a temporary name and is renamed into place once complete.
    QSaveFile svg(stem + QStringLiteral(".svg"));
    const QByteArray bytes = graphSvg(settings, curves, widthCm, heightCm, legend, field);
    if (!svg.open(QIODevice::WriteOnly) || svg.write(bytes) != bytes.size() || !svg.commit()) {
        error = "kan ikke skrive " + pathStem + ".svg";
        return false;
    }
    QSaveFile png(stem + QStringLiteral(".png"));
    const QImage image = graphScreenImage(settings, curves, ExportWidth, ExportHeight, legend, field);
    if (!png.open(QIODevice::WriteOnly) || !image.save(&png, "PNG") || !png.commit()) {
        error = "kan ikke skrive " + pathStem + ".png";
        return false;
    }
    return true;
}
