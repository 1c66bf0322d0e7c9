// The only way the engine reaches the world outside the core: result pages, notices, errors, the status line.
#pragma once

#include "engine/CurveStyle.h"
#include "engine/Notice.h"
#include "engine/SolverStatistics.h"
#include "support/CoordinateSettings.h"

#include <memory>
#include <string>
#include <string_view>

namespace tavlix {

class DirectionField;
struct Model;

// A table page's grid as the generation fills it. Texts are Windows-1252 bytes.
class TableSink {
public:
    virtual ~TableSink() = default;
    virtual void setColumnCount(int n) = 0;
    virtual void setRowCount(int n) = 0;
    virtual int rowCount() const = 0;
    virtual void setCell(int col, int row, std::string_view text) = 0;
    // The header row is in place: the grid may be shown (named apart from QWidget::show, which a page also has).
    virtual void showGrid() = 0;
};

// A graph page as the generation feeds it.
class GraphSink {
public:
    virtual ~GraphSink() = default;
    virtual void setSettings(const CoordinateSettings& settings) = 0;
    virtual void begin() = 0;
    virtual void fitToWindow() = 0;
    // Adds a curve; curves count from 1 in the order they are added.
    virtual void addCurve(CurveStyle style) = 0;
    // The curve's name for the graph's legend (Windows-1252): its y variable, or "(x, y)" when x is not t.
    virtual void nameCurve(int /*curve*/, std::string_view /*name*/) {}
    // The curve belongs to a family: drawn for the member-th value of a list constant, named by label
    // (Windows-1252) in the legend; current when that value is the one the run uses.
    virtual void setCurveFamily(int /*curve*/, int /*member*/, bool /*current*/, std::string_view /*label*/) {}
    virtual void addPoint(int curve, double x, double y) = 0;
    // The curve has no value for a stretch: its next point starts a new stroke instead of joining the last one.
    virtual void endStroke(int curve) = 0;
    // The page comes from differential equations: their field, kept for slope fields and solutions through a
    // point. Called once, before the first point.
    virtual void setDirectionField(std::shared_ptr<DirectionField> /*field*/) {}
    // The run's model as the generation starts, its output interval known, for a page that computes its curves
    // again for a zoomed view (it takes a copy: the model goes on). Called once, before the first point.
    virtual void keepRunModel(const Model& /*model*/) {}
};

// Implemented by the main window (Qt widgets) and by the batch mode (files).
class EngineHost {
public:
    virtual ~EngineHost() = default;
    // A new result page; the caption is Windows-1252. May return nullptr when no page can be made.
    virtual TableSink* createTablePage(const std::string& caption) = 0;
    virtual GraphSink* createGraphPage(const std::string& caption) = 0;
    // The evaluator's notices, met at t; shown as their text unless a host wants otherwise.
    virtual void showNotice(Notice notice, double /*t*/) { showNoticeText(noticeText(notice)); }
    // A notice with this text (Windows-1252): the evaluator's notices and the run's own.
    virtual void showNoticeText(const std::string& text) = 0;
    // A platform fault that abandons the command (text in Windows-1252).
    virtual void reportFault(const std::string& text) = 0;
    // A script error: beep and show the composed message in the status line (Windows-1252).
    virtual void showScriptError(const std::string& message) = 0;
    // Called between output points, on the thread the run runs on.
    // Returns false when the user or the window wants the run abandoned.
    virtual bool keepGoing() { return true; }
    // Called every few thousand solver steps, so that a run with many steps between two output points can be
    // interrupted too. Returns false when the run is to be abandoned.
    virtual bool keepStepping() { return true; }
    // The decimal separator of table cells: the window uses the locale's; files use '.'.
    virtual char decimalSeparator() const { return '.'; }
    // The page made last came from differential equations; its integration ended with these statistics.
    virtual void integrationFinished(const SolverStatistics&) {}
};

// Draws nothing: for runs whose values are read through a probe.
class NullGraphSink : public GraphSink {
public:
    void setSettings(const CoordinateSettings&) override {}
    void begin() override {}
    void fitToWindow() override {}
    void addCurve(CurveStyle) override {}
    void addPoint(int, double, double) override {}
    void endStroke(int) override {}
};

// Does nothing: for tests and for runs nobody watches.
class NullHost : public EngineHost {
public:
    TableSink* createTablePage(const std::string&) override { return nullptr; }
    GraphSink* createGraphPage(const std::string&) override { return nullptr; }
    void showNoticeText(const std::string&) override {}
    void reportFault(const std::string&) override {}
    void showScriptError(const std::string&) override {}
};

}  // namespace tavlix
