// A graph page: keeps the curves and labels of one graph of a run and draws them on its view.
#pragma once

#include "analysis/InterestPoints.h"
#include "engine/Curve.h"
#include "engine/CurveRecorder.h"
#include "engine/CurveSampler.h"
#include "engine/CurveStyle.h"
#include "engine/DirectionField.h"
#include "engine/EngineHost.h"
#include "engine/RunLimits.h"
#include "graph/ShadedArea.h"
#include "graph/TextLabel.h"
#include "support/CoordinateSettings.h"
#include "workspace/Page.h"

#include <QByteArray>
#include <QImage>

#include <memory>
#include <optional>
#include <vector>

class AreaDialog;
class GraphAnalysis;
class GraphView;
class PointsPanel;
struct GraphLook;
class PageHost;
class QScrollArea;
class QMenu;
class QTimer;

class GraphPage : public Page, public tavlix::GraphSink {
    Q_OBJECT
public:
    // width and height: the size of the view; limits.maxGraphPoints bounds the points the page stores.
    GraphPage(PageHost& host, int width, int height, const tavlix::RunLimits& limits = {}, QWidget* parent = nullptr);
    ~GraphPage() override;

    void setSettings(const tavlix::CoordinateSettings& settings) override { runSettings_ = settings; }
    // Draws the axes; points follow as the run computes them.
    void begin() override;
    // Rebuilds the view at the page's size with the run's ranges and replays everything ("Tilpas graf til vindue");
    // the zooms to step back through are forgotten. Right after a refresh's begin() the kept view stays instead.
    void fitToWindow() override;
    // Before a new run draws on this page: its curves go, its labels stay. The run then calls setSettings(),
    // begin(), addCurve()... as on a new page; when its settings equal the last run's, the user's zoom and the
    // zooms to step back through stay, otherwise the run's view shows.
    void prepareForRefresh();
    void addCurve(tavlix::CurveStyle style) override;
    void nameCurve(int curve, std::string_view name) override { recorder_.nameCurve(curve, name); }
    void setCurveFamily(int curve, int member, bool current, std::string_view label) override
    {
        recorder_.setCurveFamily(curve, member, current, label);
    }
    // Stores a point of curve n (counted from 1) and draws the step from the one before.
    void addPoint(int curve, double x, double y) override;
    // Ends the current stroke of curve n (counted from 1).
    void endStroke(int curve) override;

    // The run's differential equations, for the slope field and solutions through a point.
    void setDirectionField(std::shared_ptr<tavlix::DirectionField> field) override;
    tavlix::DirectionField* directionField() const { return field_.get(); }
    // A copy of the run's script, so a zoomed view computes its curves anew (GraphPageResample.cpp).
    void keepRunModel(const tavlix::Model& model) override;
    // The same, made from the model on the run's own thread.
    void keepSampler(std::unique_ptr<tavlix::CurveSampler> sampler);
    // Whether the curves shown are computed for the view rather than the run's points.
    bool showsResampledCurves() const { return !runPoints_.empty(); }
    // Whether a view change waits for its curves.
    bool resamplePending() const;
    // "Hældningsfelt": the field under the curves on screen and in every print, copy and saved picture.
    void setFieldShown(bool on);
    bool fieldShown() const { return fieldShown_; }
    // Why this page offers no field or solutions (empty when it does).
    QString fieldUnavailableReason() const;
    // "Løsning gennem punkt": the next click in the graph draws the solution through that point.
    void armSolutionTool();
    bool solutionToolArmed() const { return solutionArmed_; }
    // Draws the solution through the value point as a new curve; false when none could be drawn.
    bool addSolutionThrough(double x, double y);
    // Removes the curve at this index of curves() if it is a solution.
    void removeSolution(int index);

    // "Vis punkter": marks and the "Punkter" pane for the zeros, extremes and intersections of the curves against t
    // within the view and [TMin, TMax], found again after every zoom and pan (GraphPageAnalysis.cpp).
    void setPointsShown(bool on);
    bool pointsShown() const { return pointsShown_; }
    const std::vector<tavlix::InterestPoint>& points() const { return points_; }
    PointsPanel* pointsPanel() const { return pointsPanel_; }
    // Whether the page has curves against t to analyse (a finished run's, not a family's).
    bool analysable() const;
    // "Tangent i punkt": the next click, or Enter on the keyboard's cross, draws the tangent of the curve nearest
    // it at that t, with its slope and equation beside it. Escape disarms.
    void armTangentTool();
    bool tangentToolArmed() const { return pickTool_ == PickTool::Tangent; }
    bool addTangentNear(double x, double y);
    bool addTangent(int curve, double t);
    // "Areal under graf": the dialog (limits typed, or "Vælg i grafen": two clicks), then the shaded area with its
    // integral as a label; against the x axis (other -1) or between two curves.
    void askArea();
    void armAreaTool();
    bool areaToolArmed() const { return pickTool_ == PickTool::Area; }
    bool addArea(int curve, int other, double a, double b);
    const AreaList& areas() const { return areas_; }
    // Removes a tangent or an area by name, with its label.
    void removeAddition(std::string name);
    AreaDialog* areaDialog() const { return areaDialog_; }

    // Landscape when the drawing is wider than tall; the print dialog may still change it.
    void preparePrinter(QPrinter& printer) override;
    // The drawing as large as the printable area holds, centred.
    void print(QPrinter& printer) override;
    // The copy: an SVG picture (the drawing with a margin all round) and a picture rendering of it.
    void copyToClipboard() override;
    QByteArray copySvg();
    QImage copyImage();
    void updateCommands() override;
    // "Gem Som ...": PNG at 150 dpi, SVG as the copy, or a one-page PDF; the drawing as it is shown.
    QStringList saveFilters() const override;
    QString saveToFile(const QString& fileName, int filter) override;
    // "Vis forklaring": the legend on screen and in every print, copy and saved picture of this page.
    void setLegendShown(bool on);
    bool legendShown() const;
    // "Akser gennem (0; 0)" on this page, and in every print, copy and saved picture of it.
    void setAxesThroughOrigin(bool on);
    // The drawing-size dialog ("Størrelse ...").
    void askPrintSize();
    // Arms the label tool: I-beam cursor; the label's text comes from the host's label field.
    void armLabelTool();
    // The label's text is typed (Enter in the label field): the status bar says to click where it goes.
    void awaitLabelClick();
    // "Zoom tilbage": the view before the latest zoom or pan.
    void stepBack();
    // How long the page's size must stay the same before the graph is laid out for it anew.
    static constexpr int RelayoutDelayMs = 100;
    // The print and copy size follows the page until the user sets one.
    void defaultPrintSize();
    void setPrintSize(double widthCm, double heightCm);
    bool printSizeChosen() const { return printSizeChosen_; }
    double printWidthCm() const { return printWidthCm_; }
    double printHeightCm() const { return printHeightCm_; }
    // How much a drawing of the given size grows or shrinks to fill the room, keeping its proportions.
    static double printScale(double widthCm, double heightCm, double roomWidthCm, double roomHeightCm);

    GraphView& view() { return *view_; }
    const tavlix::CoordinateSettings& runSettings() const { return runSettings_; }
    const tavlix::CurveList& curves() const { return recorder_.curves(); }
    // The user's text labels, kept by a refresh.
    const LabelList& labels() const { return labels_; }
    long long storedPoints() const { return recorder_.storedPoints(); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The view is this much smaller than the page, so the scroll area shows no scroll bars.
    static constexpr int ViewInset = 4;
    void attachView();
    // What the page's pictures show besides the curves.
    GraphLook look() const;
    // Rebuilds the view at the page's size showing the given settings, and replays everything.
    void layOut(const tavlix::CoordinateSettings& view);
    void relayoutWhenSettled();
    QSize viewSizeForPage() const;
    void updateZoomBack();
    void showContextMenu(const QPoint& at);
    void showPointer(double x, double y, bool inside);
    bool labelToolArmed();
    // The label field's text; the field is hidden and emptied, as a placed label uses it up.
    QString takeLabelText();
    // The field the renderers draw: the page's when shown, else none.
    tavlix::DirectionField* shownField() const { return fieldShown_ ? field_.get() : nullptr; }
    void updateFieldCommands();
    // The graph's pop-up menu with one removal item per solution.
    void addSolutionMenu(QMenu& menu);
    // The analysis's part of the page (GraphPageAnalysis.cpp): the click tools, the points, the removal items.
    enum class PickTool { None, Tangent, Area };
    void pickPoint(double x, double y);
    void cancelPick();
    void refreshPoints();
    void addAnalysisMenu(QMenu& menu);
    void updateAnalysisCommands();
    // The pane's width while it shows, taken from the view's room.
    int pointsPanelRoom() const;
    QString curveLabel(int curve) const;
    void showArea(int curve, double a, double b);
    // Where a label of this width beside the value point covers the fewest curve pixels (its x and middle y).
    QPointF freeLabelSpot(double x, double y, int width) const;
    // After the view changed: the curves over t computed anew for it once events are handled, or the run's back.
    void scheduleResample();
    void resampleForView();
    void resampleCurves();
    // Puts the run's own points back; false when they were shown already.
    bool restoreRunPoints();

    QScrollArea* scrollArea_ = nullptr;
    GraphView* view_ = nullptr;
    QTimer* relayoutTimer_ = nullptr;
    bool begun_ = false;
    // What a refresh keeps: the last run's settings and the view the user had, until the next run's first fit.
    struct Refresh {
        bool pending = false;
        bool keepView = false;
        tavlix::CoordinateSettings lastRunSettings;
        tavlix::CoordinateSettings view;
    };
    Refresh refresh_;
    // The run's coordinate settings; a zoom changes only the view's copy.
    tavlix::CoordinateSettings runSettings_;
    // The curves and labels, with each curve's stroke while the run draws.
    tavlix::CurveRecorder recorder_;
    LabelList labels_;
    AreaList areas_;
    std::unique_ptr<GraphAnalysis> analysis_;
    std::vector<tavlix::InterestPoint> points_;
    PointsPanel* pointsPanel_ = nullptr;
    AreaDialog* areaDialog_ = nullptr;
    bool pointsShown_ = false;
    PickTool pickTool_ = PickTool::None;
    std::optional<double> areaStart_;  // the first click's x while the area tool waits for the second
    int areaCurve_ = -1;               // the curve nearest the first click
    std::shared_ptr<tavlix::DirectionField> field_;
    std::unique_ptr<tavlix::CurveSampler> sampler_;
    // The run's points of the curves computed anew, by curve number - 1 (none: not replaced); empty while the
    // run's own points show.
    std::vector<std::optional<std::vector<tavlix::CurvePoint>>> runPoints_;
    QTimer* resampleTimer_ = nullptr;
    bool fieldShown_ = false;
    bool solutionArmed_ = false;
    bool printSizeChosen_ = false;
    double printWidthCm_ = 0;
    double printHeightCm_ = 0;
};
