// A graph page: keeps the curves and labels of one graph of a run and draws them on its surface.
#pragma once

#include "engine/EngineHost.h"
#include "graph/TKurve.h"
#include "workspace/TTabGen.h"

class QScrollArea;
class TGraf;

class TTabGraf : public TTabGen, public tavlix::GraphSink {
    Q_OBJECT
public:
    // width and height: the size of the drawing surface (the main window's GraphWidth, GraphHeight).
    TTabGraf(int width, int height, QWidget* parent = nullptr);
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

    // TTabGen
    void Print(QPrinter& printer) override;
    void Kopier() override;
    void SetEnable() override;

    // tavlix::GraphSink, passed on to the page's own names below.
    // merge: the page adopts the sink's names and types when it is restructured; these go then.
    void setSettings(const tavlix::CoordinateSettings& settings) override { SetSettings(settings.values.data()); }
    void begin() override { begynd(); }
    void fitToWindow() override { myrepaint(); }
    void addCurve(tavlix::CurveStyle style) override
    {
        Makekurve(tavlix::isLineStyle(style) ? tavlix::styleIndex(style) : static_cast<int>(style));
    }
    void addPoint(int curve, double x, double y) override { Draw2(curve, x, y); }

    void SetSettings(const double* settings);
    void begynd();
    // Rebuilds the surface at the page's size with the run's ranges and replays everything ("Tilpas graf til vindue").
    void myrepaint();
    // kind: 0-5 line styles, 7-12 mark styles.
    void Makekurve(int kind);
    void Draw2(int curve, double x, double y);

    // Ends the current stroke of curve n (counted from 1).
    void Penup(int n);
    // The drawing-size dialog ("Størrelse ...").
    void NySize();
    // Arms the text tool: I-beam cursor; the label's text comes from the main window's Edit1.
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
