// Draws a graph on any painter: the axes with their numbers and grid, curve steps, marks, labels and replays.
#pragma once

#include "engine/Curve.h"
#include "engine/DirectionField.h"
#include "graph/GraphGeometry.h"
#include "graph/ShadedArea.h"
#include "graph/TextLabel.h"

#include <QFont>
#include <QPen>
#include <QPoint>
#include <QRect>

#include <climits>
#include <functional>
#include <utility>
#include <vector>

class QPainter;
class QString;

// What a picture shows besides the curves: the legend, the axes through (0; 0) instead of along the frame, and the
// user's text labels. A bare bool is the legend alone, as most pictures need no more.
struct GraphLook {
    GraphLook(bool legendShown = true, bool axesAtOrigin = false,  // NOLINT(google-explicit-constructor)
              const LabelList* textLabels = nullptr, const AreaList* shadedAreas = nullptr)
        : legend(legendShown), axesThroughOrigin(axesAtOrigin), labels(textLabels), areas(shadedAreas)
    {}
    bool legend;
    bool axesThroughOrigin;
    const LabelList* labels;  // none: no labels
    const AreaList* areas;    // none: no shaded areas
};

// The same drawing goes to the screen's picture, to paper, to the copy's SVG and to the batch files.
class GraphRenderer {
public:
    GraphRenderer() = default;
    explicit GraphRenderer(const tavlix::CoordinateSettings& view) { geometry_.setView(view); }

    GraphGeometry& geometry() { return geometry_; }
    const GraphGeometry& geometry() const { return geometry_; }
    // The painter drawn on, null before a begin.
    QPainter* painter() const { return painter_; }

    // Draws on a screen surface of the given size in the painter's font: thin pens, room for the numbers.
    void beginOnScreen(QPainter& painter, int width, int height);
    // Draws a drawing area widthCm by heightCm leftCm and topCm into the painter's device, with pens a sixth of
    // a millimetre wide and the printer's font; a left margin above 0 also draws the frame around it.
    void beginOnPaper(QPainter& painter, double widthCm, double heightCm, double leftCm, double topCm);
    void end() { painter_ = nullptr; }

    // The axes' box and every number and label drawn so far, in device pixels, for the pictures' margins.
    const QRect& drawnBounds() const { return bounds_; }

    // Called after each drawing that changes what is shown (the view schedules a repaint).
    void setDrawnCallback(std::function<void()> drawn) { drawn_ = std::move(drawn); }

    // The axes, their tick numbers and the grid; leaves the grid's pen on the painter. The clip follows the view.
    void drawAxes();
    // "Akser gennem (0; 0)": each axis whose other range holds 0 runs through the origin, with an arrowhead at
    // its positive end and its numbers beside it; otherwise it stays at the frame.
    void setAxesThroughOrigin(bool on) { axesThroughOrigin_ = on; }
    bool axesThroughOrigin() const { return axesThroughOrigin_; }
    // The variables' names at the arrows of axes through the origin, on any painter over this drawing (the
    // screen draws them over its picture, as the curves are named only as a run goes).
    void drawAxisNames(QPainter& painter, const tavlix::CurveList& curves);
    // The names the curves give their x and y variables: the one name all share, else "x" and "y".
    static std::pair<QString, QString> axisNames(const tavlix::CurveList& curves);
    // A step of a curve: lines are clipped to the view ranges, marks are drawn at the step's end.
    void drawClippedStep(tavlix::CurveStyle style, double x0, double y0, double x1, double y1);
    // Draws from now on as a family's other members are drawn: thinner and lighter than the current value's curve.
    void setFaint(bool on);
    static bool isFaint(const tavlix::Curve& c)
    {
        return c.origin == tavlix::CurveOrigin::FamilyMember && !c.familyCurrent;
    }
    // A step without clipping.
    void drawStep(tavlix::CurveStyle style, double x0, double y0, double x1, double y1);
    // The line styles' pen width on this painter.
    int curveWidth() const { return curveWidth_; }
    // A label whose text starts at the value position (x, y), or at a pixel position.
    void drawLabel(const QString& text, double x, double y);
    void drawLabelAt(const QString& text, int left, int top);
    // Draws the direction field, when one is set, then every curve again, as the stored points say.
    void replay(const tavlix::CurveList& curves);
    // The user's labels, over the curves.
    void drawLabels(const LabelList& labels);
    // Shaded areas, see-through over the curves (GraphRendererAreas.cpp).
    void drawAreas(const AreaList& areas);
    // The field drawn under the curves at each replay; null draws none. Owned by the page.
    void setDirectionField(tavlix::DirectionField* field) { field_ = field; }
    tavlix::DirectionField* directionField() const { return field_; }
    // The field's elements over the view, as many rows as keep them square in the drawing area.
    std::vector<tavlix::FieldElement> fieldElements() const;
    // Line elements (a slope field) or small arrows (a phase plane) in a calm grey, clipped to the view; beside a
    // family's members in a colour none of them has.
    void drawField(const std::vector<tavlix::FieldElement>& elements, tavlix::FieldKind kind,
                   bool besideFamily = false);
    static QColor fieldColour(bool besideFamily);
    // The legend box in the upper right corner of the drawing area, over whatever is drawn there.
    void drawLegend(const tavlix::CurveList& curves);

    // The pen of a curve style: a line style's colour and dashes, or a mark's colour, solid.
    static QPen stylePen(tavlix::CurveStyle style, int width);
    // A family member's pen beside the current value's: lighter, and for lines thinner.
    static QPen faintPen(QPen pen, bool line);
    // A mark's shape centred on (px, py), o pixels from centre to edge, with the painter's pen.
    static void drawMarkShape(QPainter& painter, tavlix::CurveStyle style, int px, int py, int o);

    // The screen's font: the application's at the screen's size.
    static QFont screenFont();

    // Font sizes in points: the screen's, and the printer's and the copy's.
    static constexpr int ScreenPointSize = 8;
    static constexpr int PrintPointSize = 10;
    // The screen's margin right of the plot, in half widths of "M".
    static constexpr int ScreenRightMargin = 3;

private:
    // Where the axes run, in pixels, and whether each passes through the origin.
    struct AxisPlaces {
        int row = 0;     // the x axis
        int column = 0;  // the y axis
        bool xThroughOrigin = false;
        bool yThroughOrigin = false;
    };
    AxisPlaces axisPlaces() const;
    void drawArrowHead(int x, int y, int dx, int dy);
    void drawn();
    void drawTicks();
    void drawGrid();
    void replayCurve(const tavlix::Curve& c);
    // Writes a family member's value at its curve's last point in view, so each curve says which it is.
    // Each member's value beside its curve, as near its end as the labels placed before it leave room.
    void labelFamilyMembers(const tavlix::CurveList& curves);
    // Per column of the plot area, the pixel row where each labelled curve passes (INT_MIN: not there).
    using CurveColumns = std::vector<std::vector<int>>;
    CurveColumns curveColumns(const std::vector<const tavlix::Curve*>& labelled) const;
    void labelFamilyMember(std::size_t index, const std::vector<const tavlix::Curve*>& labelled,
                           const CurveColumns& columns, std::vector<QRect>& taken);
    void replayLines(const tavlix::Curve& c);
    void replayMarks(const tavlix::Curve& c);
    QPen makePen(const QColor& colour, Qt::PenStyle style) const;
    void setLinePen(tavlix::CurveStyle style);
    QPen curvePen(tavlix::CurveStyle style, int width) const;
    void setMarkPen(tavlix::CurveStyle style);
    void continueDashes(int line, const QPoint& a, const QPoint& b);
    void drawMark(tavlix::CurveStyle style, int px, int py);

    // Pen widths per inch on paper: about a sixth of a millimetre.
    static constexpr int PenPerInch = 160;
    // The line styles' width on screen, in pixels (device-independent, so doubled on high-density screens).
    static constexpr int ScreenCurveWidth = 2;
    static constexpr int NoPen = -1;
    // The line styles' least width on paper, in pixels at 96 dpi.
    static constexpr double MinCurveWidthAt96Dpi = 1.5;

    GraphGeometry geometry_;
    QPainter* painter_ = nullptr;
    tavlix::DirectionField* field_ = nullptr;
    std::function<void()> drawn_;
    // Width of every pen on this painter (0: the thinnest line the device draws).
    int penWidth_ = 0;
    // Width of the line styles' pens: wider and smoothed on screen so that a graph reads on a projector.
    int curveWidth_ = 0;
    bool smoothCurves_ = false;
    bool faint_ = false;
    bool axesThroughOrigin_ = false;
    QRect bounds_;
    // The style pen set on the painter (lines 0 to 5, marks MarkPens + 0 to 5), so a run of steps sets it once.
    int linePen_ = NoPen;
    static constexpr int MarkPens = 6;
    // Where the last step of each line style ended, and how far into its dash pattern.
    struct Dashes {
        QPoint end{INT_MIN, INT_MIN};
        double position = 0;
    };
    Dashes dashes_[6];
};
