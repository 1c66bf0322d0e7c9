// Replays one result page as it was and with the reference settings, and compares their output values.
#include "compiler/AccuracyCheck.h"

#include "compiler/ScriptCompiler.h"
#include "engine/Model.h"
#include "engine/OutputProbe.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tavlix {

namespace {

struct ProbePoint {
    double t = 0;
    double x = 0;
    double y = 0;
    bool defined = false;
};

// An output variable of the page: its values on the page, and how far the reference has been compared.
struct ComparedOutput {
    bool isT = false;      // the value is t itself: there is nothing to measure
    bool xVaries = false;  // a curve whose x is not t: both coordinates count
    std::vector<ProbePoint> points;
    std::size_t cursor = 0;
    OutputDeviation result;
};

// The chosen page's grid or graph: the comparison needs only its numbers, which come through the probe.
class DiscardedTable : public TableSink {
public:
    void setColumnCount(int) override {}
    void setRowCount(int n) override { rows_ = n; }
    int rowCount() const override { return rows_; }
    void setCell(int, int, std::string_view) override {}
    void showGrid() override {}

private:
    int rows_ = 0;
};

// Makes only the chosen page, keeps its output values in the first run and compares the reference's with them
// in the second. Notices and errors were the page's own run's to show, so they are not shown again.
class PageReplay : public EngineHost, public OutputProbe {
public:
    PageReplay(EngineHost& outer, int pageNumber) : outer_(outer), pageNumber_(pageNumber) {}

    TableSink* createTablePage(const std::string&) override { return chosen(false) ? &table_ : nullptr; }
    GraphSink* createGraphPage(const std::string&) override { return chosen(true) ? &graph_ : nullptr; }
    void showNoticeText(const std::string&) override {}
    void reportFault(const std::string&) override {}
    void showScriptError(const std::string&) override {}
    bool keepGoing() override { return outer_.keepGoing(); }
    bool keepStepping() override { return outer_.keepStepping(); }
    void integrationFinished(const SolverStatistics& statistics) override
    {
        if (reference_)
            return;
        statistics_ = statistics;
        integrated_ = true;
    }

    void beginPage(const Model& model) override;
    void outputValue(int entry, double t, double x, double y, bool defined) override;
    void endPage(ScriptError error) override { (reference_ ? referenceEnd_ : pageEnd_) = error; }

    bool pageMade() const { return pageMade_; }
    void startReference();
    const SolverStatistics& statistics() const { return statistics_; }
    bool integrated() const { return integrated_; }
    std::vector<OutputDeviation> deviations() const;
    // Whether the page's own run, or the reference, ended on an error while making the page; a stop condition
    // ends a page as the script asks.
    bool pageFailed() const { return failure(pageEnd_); }
    bool referenceFailed() const { return failure(referenceEnd_) && referenceEnd_ != pageEnd_; }

private:
    bool chosen(bool graph);
    static bool failure(ScriptError e) { return e != ScriptError::None && e != ScriptError::StopConditionMet; }
    void compare(ComparedOutput& output, double t, double x, double y) const;

    EngineHost& outer_;
    int pageNumber_;
    int pagesSeen_ = 0;
    bool pageMade_ = false;
    bool graphPage_ = false;
    bool reference_ = false;
    bool integrated_ = false;
    ScriptError pageEnd_ = ScriptError::None;
    ScriptError referenceEnd_ = ScriptError::None;
    double matchWindow_ = 0;  // how far in t a reference point may lie from the page's point it stands for
    DiscardedTable table_;
    NullGraphSink graph_;  // the values come through the probe; the page draws nothing
    SolverStatistics statistics_;
    std::vector<ComparedOutput> outputs_;
};

bool PageReplay::chosen(bool graph)
{
    if (++pagesSeen_ != pageNumber_)
        return false;
    pageMade_ = true;
    graphPage_ = graph;
    return true;
}

void PageReplay::beginPage(const Model& model)
{
    if (reference_) {
        // The reference's output points lie half an output interval apart; the page's fall on every second one,
        // up to the rounding of the halved settings.
        matchWindow_ = std::fabs(model.tStep) / 2;
        return;
    }
    const CompiledScript& script = model.script;
    outputs_.assign(static_cast<std::size_t>(script.outputCount), {});
    for (int e = 1; e <= script.outputCount; ++e) {
        const OutputVariable& out = script.outputs[e];
        ComparedOutput& output = outputs_[static_cast<std::size_t>(e - 1)];
        const int y = graphPage_ ? out.yRecord : out.xRecord;
        output.xVaries = graphPage_ && out.xRecord != 0;
        output.isT = y == 0 && !output.xVaries;
        OutputDeviation& result = output.result;
        result.name = result.yName = std::string(script.records[y].name.view());
        result.inPlane = output.xVaries;
        if (output.xVaries) {
            result.xName = std::string(script.records[out.xRecord].name.view());
            result.name = result.xName + "," + result.yName;
        }
        if (graphPage_ && out.table)  // drawn as it is: no t, and nothing computed to deviate
            result.name = result.yName = std::string(script.tables[out.table].name.view());
    }
}

void PageReplay::outputValue(int entry, double t, double x, double y, bool defined)
{
    if (entry < 1 || entry > static_cast<int>(outputs_.size()))
        return;
    ComparedOutput& output = outputs_[static_cast<std::size_t>(entry - 1)];
    if (!reference_)
        output.points.push_back({t, x, y, defined});
    else if (defined && !output.isT)
        compare(output, t, x, y);
}

// Both runs move forward in t, so each output's page points are passed once.
void PageReplay::compare(ComparedOutput& output, double t, double x, double y) const
{
    const std::vector<ProbePoint>& points = output.points;
    std::size_t c = output.cursor;
    while (c < points.size() && points[c].t < t - matchWindow_)
        ++c;
    output.cursor = c;
    for (; c < points.size() && points[c].t <= t + matchWindow_; ++c) {
        if (!points[c].defined)
            continue;
        OutputDeviation& result = output.result;
        result.y.deviation = std::max(result.y.deviation, std::fabs(points[c].y - y));
        if (output.xVaries)
            result.x.deviation = std::max(result.x.deviation, std::fabs(points[c].x - x));
        result.measured = true;
    }
}

void PageReplay::startReference()
{
    reference_ = true;
    pagesSeen_ = 0;
    pageMade_ = false;
    for (ComparedOutput& output : outputs_)
        output.cursor = 0;
}

// The range of a coordinate's defined values; 0 to 0 when there is none.
void valueRange(const std::vector<ProbePoint>& points, double ProbePoint::*coordinate, CoordinateDeviation& range)
{
    range.low = HUGE_VAL;
    range.high = -HUGE_VAL;
    for (const ProbePoint& p : points) {
        if (!p.defined)
            continue;
        range.low = std::min(range.low, p.*coordinate);
        range.high = std::max(range.high, p.*coordinate);
    }
    if (range.low > range.high)
        range.low = range.high = 0;
}

std::vector<OutputDeviation> PageReplay::deviations() const
{
    std::vector<OutputDeviation> list;
    for (const ComparedOutput& output : outputs_) {
        OutputDeviation d = output.result;
        valueRange(output.points, &ProbePoint::y, d.y);
        if (output.xVaries)
            valueRange(output.points, &ProbePoint::x, d.x);
        list.push_back(d);
    }
    return list;
}

// One run of the program into the replay, which shows nothing of what it reports.
RunResult replayRun(const CompiledProgram& program, PageReplay& replay, int& pageCount)
{
    ProgramRun run(program, replay, &replay);
    run.execute(std::string(), pageCount);
    return run.finish(replay);
}

// A setting's text scaled by a factor, as the calculator reads it.
std::string scaled(const std::string& text, const char* factor)
{
    return "(" + text + ")" + factor;
}

}  // namespace

SettingsTexts referenceSettings(const SettingsTexts& settings)
{
    SettingsTexts reference = settings;
    auto at = [&reference](Setting s) -> std::string& { return reference[static_cast<std::size_t>(s)]; };
    at(Setting::AbsTolerance) = scaled(at(Setting::AbsTolerance), "/100");
    at(Setting::RelTolerance) = scaled(at(Setting::RelTolerance), "/100");
    // TAntal counts only while TDelta is 0, so scaling both halves whichever decides the interval.
    at(Setting::TStep) = scaled(at(Setting::TStep), "/2");
    at(Setting::TCount) = scaled(at(Setting::TCount), "*2");
    return reference;
}

std::string referenceFailureText(const AccuracyReport& report)
{
    return "Genberegningen n\xE5"
           "ede ikke til ende: " +
           report.referenceError;
}

AccuracyReport measureAccuracy(const SettingsTexts& settings, const std::vector<std::string>& lines, int pageNumber,
                               EngineHost& host, const ListPicks& picks)
{
    AccuracyReport report;
    PageReplay replay(host, pageNumber);
    // One compile: the reference is the same program under other settings.
    ScriptCompiler compiler;
    const CompiledProgram program = compiler.compile(settings, lines, picks, {}, &replay);
    int pageCount = 0;
    const RunResult page = replayRun(program, replay, pageCount);
    if (page.abandoned || !replay.pageMade())
        return report;
    replay.startReference();
    CompiledProgram referenceProgram = program;
    computeSettings(referenceSettings(settings), referenceProgram);
    const RunResult reference = replayRun(referenceProgram, replay, pageCount);
    if (reference.abandoned || !replay.pageMade())
        return report;
    report.complete = true;
    report.pageFailed = replay.pageFailed();
    if (report.pageFailed)
        report.pageError = page.message;
    report.referenceFailed = !report.pageFailed && replay.referenceFailed();
    if (report.referenceFailed)
        report.referenceError = reference.message;
    report.fromDifferentialEquations = replay.integrated();
    report.statistics = replay.statistics();
    report.outputs = replay.deviations();
    return report;
}

}  // namespace tavlix
