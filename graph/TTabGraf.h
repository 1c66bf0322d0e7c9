// A graph page: keeps the curves and labels of one graph of a run and draws them on its surface.
#pragma once

#include "engine/EngineHost.h"
#include "graph/TKurve.h"
#include "workspace/Page.h"

class QScrollArea;
class TGraf;

class TTabGraf : public Page, public GraphTarget {
    Q_OBJECT
public:
    // width and height: the size of the drawing surface.
    TTabGraf(PageHost& host, int width, int height, QWidget* parent = nullptr);
    ~TTabGraf() override;

    QScrollArea* scrollBox = nullptr;
    TGraf* graf = nullptr;
    // The run's coordinate settings; a zoom changes only the surface's copy.
    double Settings[16] = {};
    TKurveList curves;
    bool sizeSet = false;
    double printWidth = 0;
    double printHeight = 0;
    // Beyond this many stored points (about 240 MB) a run is stopped rather than let it exhaust memory.
    static inline long long MaxPoints = 10'000'000;
    long long StoredPoints = 0;

    // Page
    void print(QPrinter& printer) override;
    void copyToClipboard() override;
    void updateCommands() override;

    // GraphTarget
    void SetSettings(const double (&settings)[16]) override;
    void begynd() override;
    // Rebuilds the surface at the page's size with the run's ranges and replays everything ("Tilpas graf til vindue").
    void myrepaint() override;
    void Makekurve(int kind) override;
    void Draw2(int curve, double x, double y) override;

    // Ends the current stroke of curve n (counted from 1).
    void Penup(int n);
    // The drawing-size dialog ("Størrelse ...").
    void NySize();
    // Arms the text tool: I-beam cursor; the label's text comes from the window's label text field.
    void BeginText();
    // The print and copy size follows the page until the user sets one.
    void ComputeSize();
    // The copy: an SVG picture (frame 1.2 times the drawing size) and a PNG rendering of it.
    void DrawMeta();
    QByteArray MetaSvg();
    QImage MetaImage();
    // How much a drawing of the given size shrinks to fit on paper 3 cm in and 2 cm down (1: not at all).
    static double PrintScale(double widthCm, double heightCm, double paperWidthCm, double paperHeightCm);

private:
    void AttachSurface();
};
