// A graph page's results out of the window: its print size, printing, copies and saved pictures.
#include "workspace/GraphPage.h"

#include "graph/GraphExport.h"
#include "graph/GraphRenderer.h"
#include "graph/GraphView.h"
#include "workspace/PageHost.h"
#include "workspace/ResultFile.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace {

// Where the graph stands on paper, from the printable area's left and top edges.
constexpr double PrintLeftCm = 3;
constexpr double PrintTopCm = 2;
// Room the frame takes beyond the drawing area.
constexpr double PrintFrameCm = 0.5;
// The resolution of a graph saved as a PNG picture.
constexpr double PngDpi = 150;

}  // namespace

void GraphPage::defaultPrintSize()
{
    if (printSizeChosen_)
        return;
    const double dpi = view_->logicalDpiX();
    // A page that was never shown has no size yet; its view has.
    const QSize page =
        (width() > ViewInset && height() > ViewInset) ? size() : view_->size() + QSize(ViewInset, ViewInset);
    printWidthCm_ = page.width() / dpi * 2.54;
    printHeightCm_ = page.height() / dpi * 2.54;
}

void GraphPage::setPrintSize(double widthCm, double heightCm)
{
    printWidthCm_ = widthCm;
    printHeightCm_ = heightCm;
    printSizeChosen_ = true;
}

void GraphPage::askPrintSize()
{
    defaultPrintSize();
    double w = printWidthCm_, h = printHeightCm_;
    if (host().askPrintSize(w, h))
        setPrintSize(w, h);
}

double GraphPage::printScale(double widthCm, double heightCm, double paperWidthCm, double paperHeightCm)
{
    // A drawing larger than the paper would be cut off: it shrinks to fit, keeping its proportions.
    const double roomW = paperWidthCm - PrintLeftCm - PrintFrameCm;
    const double roomH = paperHeightCm - PrintTopCm - PrintFrameCm;
    if (roomW <= 0 || roomH <= 0 || widthCm <= 0 || heightCm <= 0)
        return 1;
    return std::min({1.0, roomW / widthCm, roomH / heightCm});
}

void GraphPage::print(QPrinter& printer)
{
    defaultPrintSize();
    QPainter p;
    if (!p.begin(&printer)) {
        QMessageBox::critical(window(), QStringLiteral("Tavlix"), QStringLiteral("Printeren kan ikke bruges."));
        return;
    }
    const QRectF paper = printer.pageRect(QPrinter::Millimeter);
    const double scale = printScale(printWidthCm_, printHeightCm_, paper.width() / 10, paper.height() / 10);
    GraphRenderer renderer(view_->view());
    renderer.beginOnPaper(p, printWidthCm_ * scale, printHeightCm_ * scale, PrintLeftCm, PrintTopCm);
    renderer.setDirectionField(shownField());
    renderer.drawAxes();
    renderer.replay(recorder_.curves());
    if (legendShown())
        renderer.drawLegend(recorder_.curves());
    p.end();
}

QByteArray GraphPage::copySvg()
{
    defaultPrintSize();
    return graphSvg(view_->view(), recorder_.curves(), printWidthCm_, printHeightCm_, legendShown(), shownField());
}

QImage GraphPage::copyImage()
{
    defaultPrintSize();
    return graphCopyImage(view_->view(), recorder_.curves(), printWidthCm_, printHeightCm_, legendShown(), 0,
                          shownField());
}

void GraphPage::copyToClipboard()
{
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/svg+xml"), copySvg());
    data->setImageData(copyImage());
    QApplication::clipboard()->setMimeData(data);
}

void GraphPage::setLegendShown(bool on)
{
    view_->setLegendShown(on);
}

bool GraphPage::legendShown() const
{
    return view_->legendShown();
}

QStringList GraphPage::saveFilters() const
{
    return {QStringLiteral("PNG-billeder (*.png)"), QStringLiteral("SVG-tegninger (*.svg)"),
            QStringLiteral("PDF-dokumenter (*.pdf)")};
}

QString GraphPage::saveToFile(const QString& fileName, int filter)
{
    defaultPrintSize();
    const tavlix::CurveList& curves = recorder_.curves();
    QByteArray bytes;
    if (filter == 0) {
        const QImage image =
            graphCopyImage(view_->view(), curves, printWidthCm_, printHeightCm_, legendShown(), PngDpi, shownField());
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    } else if (filter == 1) {
        bytes = copySvg();
    } else {
        bytes = graphPdf(view_->view(), curves, printWidthCm_, printHeightCm_, legendShown(), shownField());
    }
    return ResultFile::write(fileName, bytes);
}
