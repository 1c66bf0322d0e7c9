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

double GraphPage::printScale(double widthCm, double heightCm, double roomWidthCm, double roomHeightCm)
{
    // As large as the paper holds, keeping the proportions.
    if (roomWidthCm <= 0 || roomHeightCm <= 0 || widthCm <= 0 || heightCm <= 0)
        return 1;
    return std::min(roomWidthCm / widthCm, roomHeightCm / heightCm);
}

GraphLook GraphPage::look() const
{
    return {legendShown(), view_->axesThroughOrigin(), &labels_};
}

void GraphPage::preparePrinter(QPrinter& printer)
{
    defaultPrintSize();
    printer.setPageOrientation(printWidthCm_ > printHeightCm_ ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void GraphPage::print(QPrinter& printer)
{
    defaultPrintSize();
    QPainter p;
    if (!p.begin(&printer)) {
        QMessageBox::critical(window(), QStringLiteral("Tavlix"), QStringLiteral("Printeren kan ikke bruges."));
        return;
    }
    const double dpi = printer.logicalDpiX();
    const QRect room(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    // The numbers and margins take the same room at any size, so the drawing area grows by what is left.
    const PictureFrame first =
        measurePicture(view_->view(), recorder_.curves(), printWidthCm_, printHeightCm_, dpi, look());
    const double extraW = (first.size.width() / dpi * 2.54) - printWidthCm_;
    const double extraH = (first.size.height() / dpi * 2.54) - printHeightCm_;
    const double scale = printScale(printWidthCm_, printHeightCm_, room.width() / dpi * 2.54 - extraW,
                                    room.height() / dpi * 2.54 - extraH);
    const PictureFrame frame =
        measurePicture(view_->view(), recorder_.curves(), printWidthCm_ * scale, printHeightCm_ * scale, dpi, look());
    p.translate((room.width() - frame.size.width()) / 2 + frame.offset.x(),
                (room.height() - frame.size.height()) / 2 + frame.offset.y());
    GraphRenderer renderer(view_->view());
    renderer.setAxesThroughOrigin(view_->axesThroughOrigin());
    renderer.beginOnPaper(p, frame.widthCm, frame.heightCm, 0, 0);
    renderer.setDirectionField(shownField());
    renderer.drawAxes();
    renderer.replay(recorder_.curves());
    renderer.drawLabels(labels_);
    renderer.drawAxisNames(p, recorder_.curves());
    if (legendShown())
        renderer.drawLegend(recorder_.curves());
    p.end();
}

QByteArray GraphPage::copySvg()
{
    defaultPrintSize();
    return graphSvg(view_->view(), recorder_.curves(), printWidthCm_, printHeightCm_, look(), shownField());
}

QImage GraphPage::copyImage()
{
    defaultPrintSize();
    return graphCopyImage(view_->view(), recorder_.curves(), printWidthCm_, printHeightCm_, look(), 0, shownField());
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

void GraphPage::setAxesThroughOrigin(bool on)
{
    view_->setAxesThroughOrigin(on);
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
            graphCopyImage(view_->view(), curves, printWidthCm_, printHeightCm_, look(), PngDpi, shownField());
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    } else if (filter == 1) {
        bytes = copySvg();
    } else {
        bytes = graphPdf(view_->view(), curves, printWidthCm_, printHeightCm_, look(), shownField());
    }
    return ResultFile::write(fileName, bytes);
}
