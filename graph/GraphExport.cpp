// Pictures of a graph drawn afresh from its settings and curves: the copy's SVG and PNG, and the batch files.
#include "graph/GraphExport.h"

#include "graph/GraphRenderer.h"
#include "support/AtomicFile.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QScreen>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace {

// The copy's resolution: a tenth of a millimetre per unit.
constexpr int SvgDpi = 254;
// Largest side of the copy's picture rendering in pixels.
constexpr int MaxCopyPixels = 6000;

// A renderer for one picture of the page's drawing.
GraphRenderer pictureRenderer(const tavlix::CoordinateSettings& settings, const GraphLook& look,
                              tavlix::DirectionField* field)
{
    GraphRenderer renderer(settings);
    renderer.setDirectionField(field);
    renderer.setAxesThroughOrigin(look.axesThroughOrigin);
    return renderer;
}

void drawOn(QPainter& p, const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves,
            const PictureFrame& frame, const GraphLook& look, tavlix::DirectionField* field)
{
    GraphRenderer renderer = pictureRenderer(settings, look, field);
    p.translate(frame.offset);
    renderer.beginOnPaper(p, frame.widthCm, frame.heightCm, 0, 0);
    renderer.drawAxes();
    renderer.replay(curves);
    if (look.areas)
        renderer.drawAreas(*look.areas);
    if (look.labels)
        renderer.drawLabels(*look.labels);
    renderer.drawAxisNames(p, curves);
    if (look.legend)
        renderer.drawLegend(curves);
}

double screenDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

}  // namespace

PictureFrame measurePicture(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, double widthCm,
                            double heightCm, double dpi, const GraphLook& look)
{
    // The numbers stand where the font and the resolution put them, so they are measured on a like device.
    QImage scratch(1, 1, QImage::Format_RGB32);
    const int dpm = static_cast<int>(std::lround(dpi / 0.0254));
    scratch.setDotsPerMeterX(dpm);
    scratch.setDotsPerMeterY(dpm);
    QPainter p(&scratch);
    GraphRenderer renderer = pictureRenderer(settings, look, nullptr);
    renderer.beginOnPaper(p, widthCm, heightCm, 0, 0);
    renderer.drawAxes();
    renderer.drawAxisNames(p, curves);
    const QRect drawn = renderer.drawnBounds();
    const int margin = static_cast<int>(std::lround(dpi * PictureMarginCm / 2.54));
    PictureFrame frame;
    frame.widthCm = widthCm;
    frame.heightCm = heightCm;
    frame.offset = QPoint(margin - drawn.left(), margin - drawn.top());
    frame.size = drawn.size() + QSize(2 * margin, 2 * margin);
    return frame;
}

QByteArray graphSvg(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, double widthCm,
                    double heightCm, const GraphLook& look, tavlix::DirectionField* field)
{
    const PictureFrame frame = measurePicture(settings, curves, widthCm, heightCm, SvgDpi, look);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(SvgDpi);
    generator.setSize(frame.size);
    generator.setViewBox(QRect(QPoint(0, 0), frame.size));
    generator.setTitle(QStringLiteral("Tavlix"));
    {
        QPainter p(&generator);
        p.fillRect(QRect(QPoint(0, 0), frame.size), Qt::white);
        drawOn(p, settings, curves, frame, look, field);
    }
    // The frame in millimetres as its units make it, not as the generator rounds them.
    QString svg = QString::fromUtf8(buffer.data());
    static const QRegularExpression SizeAttributes(QStringLiteral("width=\"[0-9.]+mm\" height=\"[0-9.]+mm\""));
    svg.replace(SizeAttributes, QStringLiteral("width=\"%1mm\" height=\"%2mm\"")
                                    .arg(frame.size.width() / 10.0)
                                    .arg(frame.size.height() / 10.0));
    return svg.toUtf8();
}

QImage graphCopyImage(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, double widthCm,
                      double heightCm, const GraphLook& look, double dpi, tavlix::DirectionField* field)
{
    if (dpi <= 0)
        dpi = screenDpi();
    const double largest = (std::max(widthCm, heightCm) + 2 * PictureMarginCm) / 2.54;
    if (largest * dpi > MaxCopyPixels)
        dpi = MaxCopyPixels / largest;
    const PictureFrame frame = measurePicture(settings, curves, widthCm, heightCm, dpi, look);
    QImage image(frame.size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const int dpm = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    QPainter p(&image);
    drawOn(p, settings, curves, frame, look, field);
    return image;
}

QByteArray graphPdf(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, double widthCm,
                    double heightCm, const GraphLook& look, tavlix::DirectionField* field)
{
    const PictureFrame frame = measurePicture(settings, curves, widthCm, heightCm, SvgDpi, look);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("Tavlix"));
        pdf.setResolution(SvgDpi);
        // The page is the picture: its drawing and margins, a tenth of a millimetre a unit.
        const QSizeF pageMm(frame.size.width() / 10.0, frame.size.height() / 10.0);
        pdf.setPageSize(QPageSize(pageMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter p(&pdf);
        drawOn(p, settings, curves, frame, look, field);
    }
    return buffer.data();
}

namespace {

// The screen's drawing laid out in the frame's area; the picture file has exactly the pixels asked for, whatever
// the screen's density, and its resolution is the screen's, as the view's picture has.
QImage screenPicture(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, int width, int height,
                     const ScreenPictureFrame& frame, const GraphLook& look, tavlix::DirectionField* field)
{
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    const int dpm = GraphGeometry::roundToPixel(screenDpi() / 0.0254L);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(GraphRenderer::screenFont());
    p.setBrush(Qt::white);
    p.setBackground(Qt::white);
    p.translate(frame.offset);
    GraphRenderer renderer = pictureRenderer(settings, look, field);
    renderer.beginOnScreen(p, frame.width, frame.height);
    renderer.drawAxes();
    renderer.replay(curves);
    if (look.areas)
        renderer.drawAreas(*look.areas);
    if (look.labels)
        renderer.drawLabels(*look.labels);
    renderer.drawAxisNames(p, curves);
    if (look.legend)
        renderer.drawLegend(curves);
    return image;
}

}  // namespace

QImage graphScreenImage(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, int width,
                        int height, const GraphLook& look, tavlix::DirectionField* field)
{
    const ScreenPictureFrame whole{std::max(width, 1), std::max(height, 1), QPoint()};
    return screenPicture(settings, curves, width, height, whole, look, field);
}

ScreenPictureFrame measureScreenPicture(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves,
                                        int width, int height, const GraphLook& look)
{
    // The numbers stand where the screen's font puts them, so the layout is measured on a like picture: once in
    // the whole picture, then in the room that leaves the same margin on all four sides.
    QImage scratch(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    QPainter p(&scratch);
    p.setFont(GraphRenderer::screenFont());
    const int margin = static_cast<int>(std::lround(screenDpi() * PictureMarginCm / 2.54));
    ScreenPictureFrame frame{scratch.width(), scratch.height(), QPoint()};
    for (int pass = 0; pass < 2; ++pass) {
        GraphRenderer renderer = pictureRenderer(settings, look, nullptr);
        renderer.beginOnScreen(p, frame.width, frame.height);
        renderer.drawAxes();
        renderer.drawAxisNames(p, curves);
        const QRect drawn = renderer.drawnBounds();
        if (drawn.isEmpty())
            return {scratch.width(), scratch.height(), QPoint()};
        frame.offset = QPoint(margin - drawn.left(), margin - drawn.top());
        if (pass == 0) {
            frame.width = std::max(1, frame.width + scratch.width() - 2 * margin - drawn.width());
            frame.height = std::max(1, frame.height + scratch.height() - 2 * margin - drawn.height());
        }
    }
    return frame;
}

QImage graphPictureImage(const tavlix::CoordinateSettings& settings, const tavlix::CurveList& curves, int width,
                         int height, const GraphLook& look, tavlix::DirectionField* field)
{
    return screenPicture(settings, curves, width, height, measureScreenPicture(settings, curves, width, height, look),
                         look, field);
}

std::vector<tavlix::FieldElement> pictureFieldElements(const tavlix::CoordinateSettings& settings,
                                                       const tavlix::CurveList& curves, tavlix::DirectionField& field,
                                                       int width, int height, const GraphLook& look)
{
    const ScreenPictureFrame frame = measureScreenPicture(settings, curves, width, height, look);
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    QPainter p(&image);
    p.setFont(GraphRenderer::screenFont());
    GraphRenderer renderer(settings);
    renderer.setDirectionField(&field);
    renderer.beginOnScreen(p, frame.width, frame.height);
    return renderer.fieldElements();
}

bool exportGraph(const std::string& pathStem, const tavlix::CoordinateSettings& settings,
                 const tavlix::CurveList& curves, std::string& error, const GraphLook& look,
                 tavlix::DirectionField* field)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        error = "ingen grafik uden vinduessystem";
        return false;
    }
    // The copy's size for a page of the default size on the screen.
    const double dpi = screenDpi();
    const double widthCm = ExportWidth / dpi * 2.54, heightCm = ExportHeight / dpi * 2.54;
    // Each picture goes in under a temporary name and is renamed into place once complete.
    const auto writeWhole = [](const std::string& path, const QByteArray& bytes) {
        return tavlix::AtomicFile().write(
            path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), false);
    };
    if (!writeWhole(pathStem + ".svg", graphSvg(settings, curves, widthCm, heightCm, look, field))) {
        error = "kan ikke skrive " + pathStem + ".svg";
        return false;
    }
    QByteArray png;
    QBuffer buffer(&png);
    const QImage image = graphPictureImage(settings, curves, ExportWidth, ExportHeight, look, field);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG") || !writeWhole(pathStem + ".png", png)) {
        error = "kan ikke skrive " + pathStem + ".png";
        return false;
    }
    return true;
}
