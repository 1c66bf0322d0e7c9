// A graph page: keeps the curves and labels of one graph of a run and draws them on its surface.
#include "graph/TTabGraf.h"

#include "graph/GraphExport.h"
#include "graph/TGraf.h"
#include "graph/TOKBottomDlg.h"
#include "workspace/TForm1.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The surface is this much smaller than the page, so the scroll box shows no scroll bars.
constexpr int SurfaceInset = 4;
// Where the graph stands on paper, from the printable area's left and top edges.
constexpr double PrintLeftCm = 3;
constexpr double PrintTopCm = 2;
// Room the frame takes beyond the drawing area.
constexpr double PrintFrameCm = 0.5;

// The graph commands of a graph page.
const char* const GraphCommands[] = {"SbPrint", "SbCopy",  "SbTilpas", "SbTekst", "sbSize", "Print1",
                                     "Kopier1", "Kopier2", "Tilpas1",  "Tekst1",  "Size1"};

}  // namespace

TTabGraf::TTabGraf(int width, int height, QWidget* parent) : TTabGen(parent)
{
    Tag = 3;
    scrollBox = new QScrollArea(this);
    scrollBox->setObjectName(QStringLiteral("scrollBox"));
    scrollBox->setWidgetResizable(false);
    scrollBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scrollBox->setBackgroundRole(QPalette::Window);
    graf = new TGraf(width, height);
    graf->setObjectName(QStringLiteral("graf"));
    graf->curves = &curves;
    scrollBox->setWidget(graf);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollBox);
}

TTabGraf::~TTabGraf() = default;

void TTabGraf::SetSettings(const double* settings)
{
    std::copy(settings, settings + 16, Settings);
}

void TTabGraf::AttachSurface()
{
    graf->curves = &curves;
    graf->mouseAttached = true;
}

void TTabGraf::begynd()
{
    std::copy(Settings, Settings + 16, graf->Settings);
    graf->PrepareScreen(graf->ScreenCanvas());
    graf->LavKoord();
    AttachSurface();
}

void TTabGraf::myrepaint()
{
    if (!graf)
        return;
    // A page not laid out yet takes the size of the place it is shown in.
    QSize client = size();
    if (!testAttribute(Qt::WA_Resized) && !isVisible() && parentWidget())
        client = parentWidget()->size();
    const int w = std::max(client.width() - SurfaceInset, 1);
    const int h = std::max(client.height() - SurfaceInset, 1);
    graf->NewPicture(w, h);
    graf->dragging = false;
    std::copy(Settings, Settings + 16, graf->Settings);
    graf->PrepareScreen(graf->ScreenCanvas());
    graf->LavKoord();
    AttachSurface();
    graf->Replay();
}

void TTabGraf::Makekurve(int kind)
{
    TKurve c;
    c.kind = kind;
    c.points.reserve(100);
    curves.push_back(std::move(c));
}

void TTabGraf::Draw2(int curve, double x, double y)
{
    if (curve < 1 || curve > static_cast<int>(curves.size()))
        return;
    if (++StoredPoints > MaxPoints) {
        // The point is dropped; the run ends at its next pause and the page keeps what it has.
        if (Form1)
            Form1->StopRun(QString("Grafen \"%1\" er blevet for stor (over %L2 punkter). Kørslen er stoppet; "
                                   "de beregnede punkter er bevaret. Vælg færre punkter (TAntal) eller "
                                   "et større skridt (TDelta).")
                               .arg(Caption())
                               .arg(MaxPoints));
        return;
    }
    TKurve& c = curves[curve - 1];
    if (c.penDown)
        graf->Draw(c.kind, c.lastX, c.lastY, x, y);
    else
        c.penDown = true;
    c.lastX = x;
    c.lastY = y;
    c.points.push_back(TPunkt{x, y, true});
}

void TTabGraf::Penup(int n)
{
    if (n < 1 || n > static_cast<int>(curves.size()))
        return;
    TKurve& c = curves[n - 1];
    c.penDown = false;
    c.points.push_back(TPunkt{0, 0, false});
}

void TTabGraf::SetEnable()
{
    TTabGen::SetEnable();
    if (Form1) {
        for (const char* name : GraphCommands)
            Form1->Enable(name, true);
    }
    if (!Form1 || !Form1->Edit1 || Form1->Edit1->isHidden())
        graf->setCursor(Qt::ArrowCursor);
    graf->dragging = false;
}

void TTabGraf::BeginText()
{
    graf->setCursor(Qt::IBeamCursor);
    if (Form1 && Form1->Edit1) {
        Form1->Edit1->show();
        Form1->Edit1->setFocus();
    }
}

void TTabGraf::ComputeSize()
{
    if (sizeSet)
        return;
    const double P = graf->logicalDpiX();
    // A page that was never shown has no size yet; its surface has.
    const QSize page = (width() > SurfaceInset && height() > SurfaceInset)
                           ? size()
                           : graf->size() + QSize(SurfaceInset, SurfaceInset);
    printWidth = page.width() / P * 2.54;
    printHeight = page.height() / P * 2.54;
}

void TTabGraf::NySize()
{
    ComputeSize();
    double w = printWidth, h = printHeight;
    bool ok = false;
    if (OKBottomDlg) {
        ok = OKBottomDlg->Execute(w, h);
    } else {
        TOKBottomDlg dialog(this);
        ok = dialog.Execute(w, h);
    }
    if (ok) {
        printWidth = w;
        printHeight = h;
        sizeSet = true;
    }
}

double TTabGraf::PrintScale(double widthCm, double heightCm, double paperWidthCm, double paperHeightCm)
{
    // A drawing larger than the paper would be cut off: it shrinks to fit, keeping its proportions.
    const double roomW = paperWidthCm - PrintLeftCm - PrintFrameCm;
    const double roomH = paperHeightCm - PrintTopCm - PrintFrameCm;
    if (roomW <= 0 || roomH <= 0 || widthCm <= 0 || heightCm <= 0)
        return 1;
    return std::min({1.0, roomW / widthCm, roomH / heightCm});
}

void TTabGraf::Print(QPrinter& printer)
{
    ComputeSize();
    QPainter p;
    if (!p.begin(&printer)) {
        QMessageBox::critical(window(), QStringLiteral("Tavlix"), QStringLiteral("Printeren kan ikke bruges."));
        return;
    }
    const QRectF paper = printer.pageRect(QPrinter::Millimeter);
    const double scale = PrintScale(printWidth, printHeight, paper.width() / 10, paper.height() / 10);
    TGraf surface(1, 1);
    std::copy(graf->Settings, graf->Settings + 16, surface.Settings);
    surface.curves = &curves;
    surface.PreparePrinter(&p, printWidth * scale, printHeight * scale, PrintLeftCm, PrintTopCm);
    surface.LavKoord();
    surface.Replay();
    p.end();
}

QByteArray TTabGraf::MetaSvg()
{
    ComputeSize();
    return GraphSvg(graf->Settings, curves, printWidth, printHeight);
}

QImage TTabGraf::MetaImage()
{
    ComputeSize();
    return GraphCopyImage(graf->Settings, curves, printWidth, printHeight);
}

void TTabGraf::DrawMeta()
{
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/svg+xml"), MetaSvg());
    data->setImageData(MetaImage());
    QApplication::clipboard()->setMimeData(data);
}

void TTabGraf::Kopier()
{
    DrawMeta();
}
