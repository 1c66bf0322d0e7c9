// Pictures of a graph drawn afresh from its settings and curves: the copy's SVG and PNG, and the batch files.
#include "graph/GraphExport.h"

#include "graph/TGraf.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QRegularExpression>
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

void DrawOn(QPainter& p, const double (&settings)[16], const TKurveList& curves, double widthCm, double heightCm)
{
    TGraf surface(1, 1);
    std::copy(settings, settings + 16, surface.Settings);
    surface.curves = const_cast<TKurveList*>(&curves);
    surface.PreparePrinter(&p, widthCm, heightCm, 0, 0);
    // The frame has room to spare; a margin keeps the top number from being cut off.
    p.translate(surface.charW, surface.charW);
    surface.LavKoord();
    surface.Replay();
}

// Qt's own notes (no runtime folder, fonts) would only clutter the batch mode's error output.
void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

// Surfaces are widgets: they need an application, which the batch mode starts offscreen on first use.
bool EnsureApplication(std::string& error)
{
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(Quiet);
        static int argc = 1;
        static char name[] = "tavlix";
        static char* argv[] = {name, nullptr};
        // Lives until the program ends; tearing it down after main would race Qt's own clean-up.
        new QApplication(argc, argv);
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        error = "ingen grafik uden vinduessystem";
        return false;
    }
    return true;
}

double ScreenDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

}  // namespace

int CopyFrame(double cm)
{
    return static_cast<int>(std::nearbyint(cm * 1000 * FrameFactor));
}

QByteArray GraphSvg(const double (&settings)[16], const TKurveList& curves, double widthCm, double heightCm)
{
    const int frameW = CopyFrame(widthCm), frameH = CopyFrame(heightCm);
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
        DrawOn(p, settings, curves, widthCm, heightCm);
    }
    // The frame to the hundredth of a millimetre, not rounded to whole units.
    QString svg = QString::fromUtf8(buffer.data());
    static const QRegularExpression size(QStringLiteral("width=\"[0-9.]+mm\" height=\"[0-9.]+mm\""));
    svg.replace(size, QStringLiteral("width=\"%1mm\" height=\"%2mm\"").arg(frameW / 100.0).arg(frameH / 100.0));
    return svg.toUtf8();
}

QImage GraphCopyImage(const double (&settings)[16], const TKurveList& curves, double widthCm, double heightCm)
{
    double dpi = ScreenDpi();
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
    DrawOn(p, settings, curves, widthCm, heightCm);
    return image;
}

QImage GraphScreenImage(const double (&settings)[16], const TKurveList& curves, int width, int height)
{
    TGraf surface(1, 1);
    // The picture file has exactly the pixels asked for, whatever the screen's density.
    surface.NewPicture(width, height, 1);
    std::copy(settings, settings + 16, surface.Settings);
    surface.curves = const_cast<TKurveList*>(&curves);
    surface.PrepareScreen(surface.ScreenCanvas());
    surface.LavKoord();
    surface.Replay();
    QImage image = surface.Picture().copy();
    return image;
}

bool ExportGraph(const std::string& pathStem, const double (&settings)[16], const TKurveList& curves,
                 std::string& error)
{
    if (!EnsureApplication(error))
        return false;
    const QString stem = QString::fromUtf8(pathStem.data(), static_cast<qsizetype>(pathStem.size()));
    // The copy's size for a page of the default size on the screen.
    const double dpi = ScreenDpi();
    const double widthCm = ExportWidth / dpi * 2.54, heightCm = ExportHeight / dpi * 2.54;
    QFile svg(stem + QStringLiteral(".svg"));
    const QByteArray bytes = GraphSvg(settings, curves, widthCm, heightCm);
    if (!svg.open(QIODevice::WriteOnly) || svg.write(bytes) != bytes.size() || !svg.flush()) {
        error = "kan ikke skrive " + pathStem + ".svg";
        return false;
    }
    const QImage png = GraphScreenImage(settings, curves, ExportWidth, ExportHeight);
    if (!png.save(stem + QStringLiteral(".png"), "PNG")) {
        error = "kan ikke skrive " + pathStem + ".png";
        return false;
    }
    return true;
}
