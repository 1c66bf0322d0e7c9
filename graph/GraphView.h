// The widget of a graph: a retained picture drawn by the renderer, the pointer position, zoom by dragging, labels.
#pragma once

#include "engine/Curve.h"
#include "graph/GraphRenderer.h"

#include <QImage>
#include <QPointF>
#include <QWidget>

#include <functional>

class QPainter;

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

    // The curves the view replays and appends placed labels to; owned by the page.
    void setCurves(tavlix::CurveList* curves) { curves_ = curves; }

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
    // Draws the stored curves and labels again.
    void replay();
    // The legend lies over the picture rather than in it, so curves drawn while a run goes on never cover it.
    void setLegendShown(bool on);
    bool legendShown() const { return legendShown_; }

    // Mouse handling: the pointer position, zoom by dragging, labels.
    void handlePress(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void handleMove(Qt::KeyboardModifiers shift, int x, int y);
    void handleRelease(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    // Whether the mouse handlers react (the page turns them on when its run begins).
    void setInteractive(bool on) { interactive_ = on; }

    // Zooms to the given view ranges and draws everything again (the run's settings stay).
    void zoom(double xmin, double xmax, double ymin, double ymax);

    // Whether a drag is under way, and dropping it.
    bool dragging() const { return rubberBand_.active; }
    void cancelDrag() { rubberBand_.active = false; }
    // Whether the rubber band is showing, and its pixel rectangle.
    bool rubberBandVisible() const { return bandShown_; }
    QRect rubberBandRect() const;

signals:
    // A zoom changed the view ranges.
    void zoomed();
    // A label was appended to the curves.
    void labelPlaced();
    // The pointer moved to the value position (x, y); inside tells whether it lies within the view.
    void pointerMoved(double x, double y, bool inside);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void closePainter();
    void markDirty();
    bool labelToolArmed() const;
    void placeLabel(int x, int y);

    GraphRenderer renderer_;
    QImage picture_;
    QPainter* screenPainter_ = nullptr;
    tavlix::CurveList* curves_ = nullptr;
    LabelTool labelTool_;
    bool interactive_ = false;
    bool legendShown_ = true;
    bool bandShown_ = false;
    bool updatePending_ = false;
    struct RubberBand {
        bool active = false;
        QPointF start, current;
    };
    RubberBand rubberBand_;
};
