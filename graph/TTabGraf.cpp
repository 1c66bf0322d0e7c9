// A graph page: keeps the curves and labels of one graph of a run and draws them on its surface.
#include "graph/TTabGraf.h"

#include "graph/TGraf.h"

#include <QImage>
#include <QScrollArea>

TTabGraf::TTabGraf(int width, int height, QWidget* parent) : TTabGen(parent)
{
    Tag = 3;
    graf = new TGraf(width, height);
}
TTabGraf::~TTabGraf() = default;
void TTabGraf::Print(QPrinter&) {}
void TTabGraf::Kopier() {}
void TTabGraf::SetEnable() { TTabGen::SetEnable(); }
void TTabGraf::SetSettings(const double (&settings)[16])
{
    for (int i = 0; i < 16; ++i)
        Settings[i] = settings[i];
}
void TTabGraf::begynd() {}
void TTabGraf::myrepaint() {}
void TTabGraf::Makekurve(int kind)
{
    TKurve c;
    c.kind = kind;
    curves.push_back(c);
}
void TTabGraf::Draw2(int, double, double) {}
void TTabGraf::Penup(int) {}
void TTabGraf::NySize() {}
void TTabGraf::BeginText() {}
void TTabGraf::ComputeSize() {}
void TTabGraf::DrawMeta() {}
QByteArray TTabGraf::MetaSvg() { return {}; }
QImage TTabGraf::MetaImage() { return {}; }
void TTabGraf::AttachSurface() {}
