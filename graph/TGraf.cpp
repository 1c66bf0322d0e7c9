// The drawing surface of a graph: value-to-pixel mapping, the coordinate system, curve steps, marks and labels.
#include "graph/TGraf.h"

#include <QPainter>

TGraf::TGraf(int width, int height, QWidget* parent) : QWidget(parent) { NewPicture(width, height); }
TGraf::~TGraf() { ClosePainter(); }
void TGraf::NewPicture(int width, int height)
{
    ClosePainter();
    picture = QImage(qMax(width, 1), qMax(height, 1), QImage::Format_RGB32);
    picture.fill(Qt::white);
    setFixedSize(picture.size());
}
void TGraf::ClosePainter()
{
    delete screenPainter;
    screenPainter = nullptr;
}
void TGraf::PrepareScreen(QPainter* c) { canvas = c; }
void TGraf::PreparePrinter(QPainter* c, double, double, double, double) { canvas = c; }
void TGraf::minmax() {}
void TGraf::LavKoord() {}
int TGraf::xCalc(double) const { return 0; }
int TGraf::yCalc(double) const { return 0; }
double TGraf::xTal(int) const { return 0; }
double TGraf::yTal(int) const { return 0; }
void TGraf::Draw(int, double, double, double, double) {}
void TGraf::Line(int, double, double, double, double) {}
void TGraf::TekstUd(const QString&, double, double) {}
void TGraf::Replay() {}
bool TGraf::RangesUsable() const { return false; }
void TGraf::MouseDownProc(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}
void TGraf::MouseMoveProc(Qt::KeyboardModifiers, int, int) {}
void TGraf::myMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}
std::vector<double> TGraf::AxisWalk(double, double, double, double, bool) { return {}; }
QRect TGraf::BandRect() const { return {}; }
void TGraf::paintEvent(QPaintEvent*) {}
void TGraf::mousePressEvent(QMouseEvent*) {}
void TGraf::mouseMoveEvent(QMouseEvent*) {}
void TGraf::mouseReleaseEvent(QMouseEvent*) {}
void TGraf::MarkDirty() {}
void TGraf::ReplayCurve(TKurve&) {}
void TGraf::ReplayLines(TKurve&) {}
void TGraf::SetKindPen(int) {}
void TGraf::Mark(int, int, int) {}
bool TGraf::MarkVisible(int, int) const { return false; }
void TGraf::DrawTicks() {}
void TGraf::DrawGrid() {}
