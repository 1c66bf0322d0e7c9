// The drawing surface of a graph: value-to-pixel mapping, the coordinate system, curve steps, marks and labels.
#pragma once

#include "graph/TKurve.h"

#include <QImage>
#include <QPen>
#include <QWidget>

#include <climits>

class QPainter;

class PageHost;

class TGraf : public QWidget {
    Q_OBJECT
public:
    // Index of each coordinate setting in Settings.
    enum SettingIndex {
        iXmin = 0, iXmax, iXEnhed, iYCross, iYMin, iYMax, iYEnhed, iXCross,
        iTMin, iTMax, iTAntal, iTDelta, iAbsolut, iRelativ, iXGitter, iYGitter
    };

    // A surface that draws on its own retained picture of the given size (blank white).
    explicit TGraf(int width = 0, int height = 0, QWidget* parent = nullptr);
    ~TGraf() override;

    double Settings[16] = {};
    int charW = 0;
    int charH = 0;
    QPainter* canvas = nullptr;
    int areaW = 0;
    int areaH = 0;
    int areaLeft = 0;
    int areaTop = 0;
    double clipXmin = 0, clipXmax = 0, clipYmin = 0, clipYmax = 0;
    bool dragging = false;
    double startX = 0, startY = 0, curX = 0, curY = 0;
    TKurveList* curves = nullptr;
    // The window the page is shown in: the status bar and the label text field.
    PageHost* host = nullptr;

    // The retained screen picture and a painter kept open on it.
    QImage& Picture() { return picture; }
    QPainter* ScreenCanvas() { return screenPainter; }
    // A new blank white picture of the given size; the open screen painter follows it. The picture holds
    // ratio device pixels per pixel (0: as many as the screen has).
    void NewPicture(int width, int height, qreal ratio = 0);

    void PrepareScreen(QPainter* c);
    void PreparePrinter(QPainter* c, double widthCm, double heightCm, double leftCm, double topCm);
    void minmax();
    void LavKoord();

    int xCalc(double x) const;
    int yCalc(double y) const;
    double xTal(int column) const;
    double yTal(int row) const;

    void Draw(int kind, double x0, double y0, double x1, double y1);
    void Line(int kind, double x0, double y0, double x1, double y1);
    void TekstUd(const QString& text, double x, double y);

    // Draws every curve and label of `curves` again, as the stored points say.
    void Replay();
    // True when both view ranges are non-empty and finite, so values can be mapped.
    bool RangesUsable() const;

    // Mouse handling: position in the status bar, zoom by dragging, text labels.
    void MouseDownProc(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);
    void MouseMoveProc(Qt::KeyboardModifiers shift, int X, int Y);
    void myMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);
    // Whether the mouse handlers react (the page attaches them in begynd).
    bool mouseAttached = false;

    // The tick or grid values of one axis, as the walk from the anchor accumulates them.
    // Inclusive walks (ticks) keep values on the range ends; strict walks (grid lines) drop them.
    static std::vector<double> AxisWalk(double anchor, double step, double lo, double hi, bool inclusive);
    // Most steps a walk may take before it jumps, and most values it may give.
    static constexpr int MaxWalkSteps = 4000;
    static constexpr int MaxAxisValues = 2000;

    // Zooms this surface to the given view ranges and draws everything again (the run's settings stay).
    void Zoom(double xmin, double xmax, double ymin, double ymax);
    // Moves the outside end of a step onto the clip ranges; false when nothing of the step is drawn.
    bool ClipStep(double& x0, double& y0, double& x1, double& y1) const;
    bool MarkVisible(int px, int py) const;

    // Font sizes in points: the screen's, and the printer's and the copy's.
    static constexpr int ScreenPointSize = 8;
    static constexpr int PrintPointSize = 10;
    // The screen's margin right of the plot, in half widths of "M".
    static constexpr int ScreenRightMargin = 3;

    // Whether the rubber band is showing, and its pixel rectangle.
    bool BandVisible() const { return bandShown; }
    QRect BandRect() const;

signals:
    // A zoom changed the view ranges.
    void Zoomed();
    // A text label was appended to the curves.
    void TextPlaced();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ClosePainter();
    void MarkDirty();
    void ReplayCurve(const TKurve& c);
    void ReplayLines(const TKurve& c);
    void ReplayMarks(const TKurve& c);
    QPen MakePen(const QColor& colour, Qt::PenStyle style) const;
    void SetKindPen(int kind);
    void ContinueDashes(int kind, const QPoint& a, const QPoint& b);
    void Mark(int kind, int px, int py);
    void DrawTicks();
    void DrawGrid();
    void Text(const QString& s, int left, int top);
    void PlaceText(int X, int Y);

    // Pen widths per inch on paper: about a sixth of a millimetre.
    static constexpr int PenPerInch = 160;
    static constexpr int NoPenKind = -1000;

    QImage picture;
    QPainter* screenPainter = nullptr;
    bool bandShown = false;
    bool updatePending = false;
    // Width of every pen on this canvas (0: the thinnest line the device draws).
    int penWidth = 0;
    // The line kind whose pen is set on the canvas, so a run of steps sets it once.
    int penKind = NoPenKind;
    // Where the last step of each line kind ended, and how far into its dash pattern.
    struct Dashes {
        QPoint end{INT_MIN, INT_MIN};
        double position = 0;
    };
    Dashes dashes[6];
};
