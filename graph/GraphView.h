// The widget of a graph: a retained picture drawn by the renderer, the pointer position, zoom and pan, labels.
#pragma once

#include "engine/Curve.h"
#include "graph/GraphRenderer.h"
#include "graph/ZoomHistory.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QLineEdit;
class QPainter;

// The mouse: a left drag zooms into a rectangle, the wheel zooms about the pointer, Shift+wheel and a middle drag
// pan; a click selects a label, a drag moves it, a double-click edits it in place and Delete removes it. An armed
// tool (a label to place, a point to pick) also takes the arrow keys, which move a cross, and Enter, which clicks.
class GraphView : public QWidget {
    Q_OBJECT
public:
    // A view that draws on its own retained picture of the given size (blank white).
    explicit GraphView(int width = 0, int height = 0, QWidget* parent = nullptr);
    ~GraphView() override;

    // The label tool belongs to whoever shows the view: whether it is armed, and its text, taken once placed.
    struct LabelTool {
        std::function<bool()> isArmed;
        std::function<QString()> takeText;
    };
    void setLabelTool(LabelTool tool) { labelTool_ = std::move(tool); }
    // A point tool, when armed, takes the next left click inside the view as a value point instead of a zoom;
    // Escape cancels it.
    struct PointTool {
        std::function<bool()> isArmed;
        std::function<void(double x, double y)> pick;
        std::function<void()> cancel{};
    };
    void setPointTool(PointTool tool) { pointTool_ = std::move(tool); }

    // The curves the view replays, and the labels it draws over them and appends placed ones to; owned by the page.
    void setCurves(tavlix::CurveList* curves);
    void setLabels(LabelList* labels);
    // The shaded areas drawn with the curves; owned by the page.
    void setAreas(AreaList* areas) { areas_ = areas; }

    // Small marks over the picture at value points (the points of interest), each with the text that shows when
    // the pointer or the keyboard's cross is on it (GraphViewMarks.cpp). Marks make the arrow keys move the cross.
    struct ValueMark {
        double x = 0;
        double y = 0;
        QString text;
    };
    void setMarks(std::vector<ValueMark> marks);
    const std::vector<ValueMark>& marks() const { return marks_; }
    // The mark nearest the pixel within reach pixels; -1 when none is.
    int markAt(int x, int y, int reach) const;
    // The mark the pointer or the cross is on (-1: none), and its text.
    int hoveredMark() const { return hoveredMark_; }
    QString hoveredMarkText() const;
    // How near the pointer must come to a mark, in pixels.
    static constexpr int MarkReach = 6;

    GraphRenderer& renderer() { return renderer_; }
    const GraphGeometry& geometry() const { return renderer_.geometry(); }
    // The zoomed view's settings (a zoom changes only these, not the run's).
    const tavlix::CoordinateSettings& view() const { return renderer_.geometry().view(); }

    // The retained picture.
    const QImage& picture() const { return picture_; }
    // A new blank white picture of the given size. The picture holds ratio device pixels per pixel
    // (0: as many as the screen has).
    void resetPicture(int width, int height, qreal ratio = 0);
    // Starts drawing on the picture with the given settings: the axes at once, curves step by step.
    void beginOnScreen(const tavlix::CoordinateSettings& view);
    // The run's settings, whose steps a zoom fits to its ranges (until set: those of the first beginOnScreen).
    void setRunSettings(const tavlix::CoordinateSettings& run);
    // Draws the stored curves and labels again.
    void replay();
    // Clears the picture and draws the axes, curves and labels of the current view again.
    void redraw();
    // The legend lies over the picture rather than in it, so curves drawn while a run goes on never cover it.
    void setLegendShown(bool on);
    bool legendShown() const { return legendShown_; }
    // "Akser gennem (0; 0)", drawn again at once.
    void setAxesThroughOrigin(bool on);
    bool axesThroughOrigin() const { return renderer_.axesThroughOrigin(); }

    // Mouse handling: the pointer position, zoom and pan, labels.
    void handlePress(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void handleMove(Qt::KeyboardModifiers shift, int x, int y);
    void handleRelease(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void handleDoubleClick(int x, int y);
    // angleDelta in eighths of a degree, as the wheel reports it (120 a notch).
    void handleWheel(QPoint angleDelta, Qt::KeyboardModifiers modifiers, int x, int y);
    // Whether the mouse handlers react (the page turns them on when its run begins).
    void setInteractive(bool on) { interactive_ = on; }

    // Zooms to the given view ranges and draws everything again (the run's settings stay); "Zoom tilbage" returns.
    void zoom(double xmin, double xmax, double ymin, double ymax);
    // Shows the view before the latest zoom or pan; false when there is none.
    bool stepBack();
    bool canStepBack() const { return history_.canStepBack(); }
    void clearZoomHistory() { history_.clear(); }
    // Each notch of the wheel zooms in by this factor (a tenth off the range); a notch back undoes it.
    static constexpr double WheelZoomFactor = 0.9;
    static constexpr int NotchDelta = 120;

    // Whether a drag is under way, and dropping it.
    bool dragging() const { return rubberBand_.active; }
    void cancelDrag();
    // Whether the rubber band is showing, and its pixel rectangle.
    bool rubberBandVisible() const { return bandShown_; }
    QRect rubberBandRect() const;

    // Labels, by their index in the labels: the topmost one under a pixel (-1: none), where one stands.
    int labelAt(int x, int y) const;
    QRect labelRect(int index) const;
    int selectedLabel() const { return selectedLabel_; }
    void selectLabel(int index);
    void deleteSelectedLabel();
    // Opens the in-place editor on a label: Enter keeps the text (an empty text removes the label), Escape does not.
    void editLabel(int index);
    QLineEdit* labelEditor() const { return labelEditor_; }
    // Closes the editor, keeping or dropping what was typed.
    void finishLabelEdit(bool keep);

signals:
    // The view ranges changed: a zoom, a pan or a step back.
    void zoomed();
    // A label was appended to the curves.
    void labelPlaced();
    // The pointer moved to the value position (x, y); inside tells whether it lies within the view.
    void pointerMoved(double x, double y, bool inside);
    // The pointer or the keyboard's cross came onto a mark, or left every mark (-1).
    void markHovered(int index);

protected:
    // A mark's text replaces the view's own tool tip while the pointer is on the mark.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void closePainter();
    void markDirty();
    bool labelToolArmed() const;
    void restCursor();
    void placeLabel(int x, int y);
    bool labelExists(int index) const;
    QRect labelRectAt(const QString& text, int left, int top) const;
    // Shows other ranges, remembering the present ones for "Zoom tilbage"; unusable or equal ranges are refused.
    void changeView(const ValueRect& next, ZoomHistory::Change change);
    void showRanges(const ValueRect& ranges);
    void startRubberBand(int x, int y);
    void endRubberBand();
    void movePan(int x, int y);
    void pressOnLabel(int index, int x, int y);
    void dropLabel(int x, int y);
    void paintLabelSelection(QPainter& p);
    // The keyboard's aim for an armed tool (in GraphViewAim.cpp): where the cross stands, the arrow keys and Enter.
    bool toolArmed() const;
    QRect aimArea() const;
    QPoint aimPoint() const;
    bool handleAimKey(int key, Qt::KeyboardModifiers modifiers);
    void actAtAim();
    void paintAim(QPainter& p) const;
    bool aimsWithoutTool() const { return !marks_.empty(); }
    void paintMarks(QPainter& p) const;
    void hoverMark(int x, int y, int reach);

    GraphRenderer renderer_;
    tavlix::CoordinateSettings runSettings_;
    bool runSettingsSet_ = false;
    QImage picture_;
    QPainter* screenPainter_ = nullptr;
    tavlix::CurveList* curves_ = nullptr;
    LabelList* labels_ = nullptr;
    AreaList* areas_ = nullptr;
    std::vector<ValueMark> marks_;
    int hoveredMark_ = -1;
    LabelTool labelTool_;
    PointTool pointTool_;
    bool interactive_ = false;
    bool legendShown_ = true;
    bool bandShown_ = false;
    bool updatePending_ = false;
    struct RubberBand {
        bool active = false;
        QPointF start, current;
    };
    RubberBand rubberBand_;

    ZoomHistory history_;
    QElapsedTimer clock_;
    // Eighths of a degree turned but not yet a whole notch (fine-grained wheels and touchpads).
    int wheelRemainder_ = 0;
    struct Pan {
        bool active = false;
        QPoint start;
        ValueRect from;
        bool recorded = false;
    };
    Pan pan_;

    int selectedLabel_ = -1;
    struct LabelDrag {
        bool active = false;
        QPoint grab;  // the pointer's offset from the label's top left corner
        QPoint start, at;
    };
    LabelDrag labelDrag_;
    QLineEdit* labelEditor_ = nullptr;
    std::optional<QPoint> aim_;  // the cross the arrow keys moved, in pixels; none: the drawing area's centre
    int editedLabel_ = -1;
};
