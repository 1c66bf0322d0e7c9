// Draws each output point of a graph: breaks lines at gaps and poles, finds a gap's edges, shows tables as points.
#include "engine/CurvePlotter.h"

#include "engine/EngineHost.h"
#include "engine/Evaluator.h"
#include "engine/OutputProbe.h"

#include <algorithm>
#include <cmath>

namespace tavlix {

namespace {

constexpr int EdgeHalvings = 25;
constexpr int PoleHalvings = 30;
// A value that grows this many times beyond both neighbours' while the search closes in is a pole, not a root.
constexpr double PoleGrowth = 1000;

// Evaluations at other times than the run's own, leaving nothing behind: no notice (the host is away), no
// failure, stop, error or failing name, and an overflow fails the value instead of ending the run.
class QuietProbes {
public:
    QuietProbes(Model& model, RunState& run)
        : model_(model), run_(run), t_(run.t), host_(run.host), stopped_(run.stopped), error_(model.error),
          failedName_(run.failedName)
    {
        run.host = nullptr;
        run.probing = true;
    }
    ~QuietProbes()
    {
        run_.t = t_;
        run_.host = host_;
        run_.probing = false;
        run_.failed = false;
        run_.stopped = stopped_;
        run_.failedName = failedName_;
        model_.error = error_;
    }
    QuietProbes(const QuietProbes&) = delete;
    QuietProbes& operator=(const QuietProbes&) = delete;

private:
    Model& model_;
    RunState& run_;
    double t_;
    EngineHost* host_;
    bool stopped_;
    ScriptError error_;
    ShortString<25> failedName_;
};

// Whether a record's value runs off to infinity between two output points where it has the values c0 at t0 and
// c1 at t1 of opposite signs: 30 halvings keep the half whose ends differ in sign. A probe of 0 is a root; one
// without a value is a pole; else the last probe decides by its size.
bool poleBetween(Model& model, RunState& run, int r, double t0, double c0, double t1, double c1)
{
    if (r == 0 || r > model.script.lastPlainRecord || c0 == 0 || c1 == 0 || (c0 < 0) == (c1 < 0))
        return false;
    QuietProbes quiet(model, run);
    double a = t0, b = t1, ca = c0, probe = 0;
    for (int i = 0; i < PoleHalvings; ++i) {
        run.t = (a + b) / 2;
        probe = valueAt(model, run, r);
        if (run.failed)
            return true;
        if (probe == 0)
            return false;
        if ((probe < 0) == (ca < 0)) {
            a = run.t;
            ca = probe;
        } else {
            b = run.t;
        }
    }
    return std::fabs(probe) > PoleGrowth * std::max(std::fabs(c0), std::fabs(c1));
}

bool poleSincePrevious(Model& model, RunState& run, const OutputVariable& out, double x, double y)
{
    return poleBetween(model, run, out.xRecord, out.lastT, out.lastX, run.t, x) ||
           poleBetween(model, run, out.yRecord, out.lastT, out.lastY, run.t, y);
}

// The 25-halving search for where a plain line curve becomes defined or undefined. The edge point is the last
// probe that had a value, with that probe's own values: a failed probe has none to draw. A curve that becomes
// undefined ends its stroke there; one that becomes defined starts a new stroke at the edge point and goes on
// to the output point itself.
void locateEdge(Model& model, RunState& run, int e, bool undefined, double x, double y)
{
    OutputVariable& out = model.script.outputs[e];
    GraphSink& page = *model.pages.graph;
    const double tSave = run.t;
    const bool old = out.wasUndefined;
    out.wasUndefined = undefined;
    double d = model.tStep / 2;
    run.t -= d;
    run.failed = false;
    bool found = false;
    double edgeX = 0, edgeY = 0;
    for (int i = 0; i < EdgeHalvings && !run.abandoned; ++i) {
        const double px = valueAt(model, run, out.xRecord);
        const double py = valueAt(model, run, out.yRecord);
        if (!run.failed) {
            found = true;
            edgeX = px;
            edgeY = py;
        }
        d /= 2;
        run.t += (run.failed == old) ? d : -d;
        run.failed = false;
    }
    model.error = ScriptError::None;
    run.t = tSave;
    if (run.abandoned)
        return;
    if (found)
        page.addPoint(e, edgeX, edgeY);
    if (undefined)
        page.endStroke(e);
    else
        page.addPoint(e, x, y);
}

bool searchesEdges(const Model& model, const OutputVariable& out)
{
    return out.xRecord <= model.script.lastPlainRecord && out.yRecord <= model.script.lastPlainRecord;
}

// A line curve's point: drawn where defined, broken at a pole, and at a change of definedness either the edge
// search or, without one, a plain break.
void plotLine(Model& model, RunState& run, int e, bool undefined, double x, double y)
{
    OutputVariable& out = model.script.outputs[e];
    GraphSink& page = *model.pages.graph;
    if (undefined == out.wasUndefined) {
        if (undefined)
            return;
        if (poleSincePrevious(model, run, out, x, y))
            page.endStroke(e);
        page.addPoint(e, x, y);
    } else if (searchesEdges(model, out)) {
        locateEdge(model, run, e, undefined, x, y);
    } else {
        // A line never joins across a stretch without values.
        out.wasUndefined = undefined;
        if (undefined)
            page.endStroke(e);
        else
            page.addPoint(e, x, y);
    }
}

void plotEntry(Model& model, RunState& run, int e)
{
    OutputVariable& out = model.script.outputs[e];
    if (out.table)
        return;
    const double x = valueAt(model, run, out.xRecord);
    const double y = valueAt(model, run, out.yRecord);
    const bool undefined = run.failed;
    if (run.abandoned)
        return;
    if (run.probe)
        run.probe->outputValue(e, run.t, x, y, !undefined);
    if (undefined) {
        run.failed = false;
        model.error = ScriptError::None;  // only undefined: the code must not outlive the value
    }
    if (!out.started) {
        out.started = true;  // the first call only learns whether the curve starts defined
        out.wasUndefined = undefined;
    } else if (isMarkStyle(out.style)) {
        if (!undefined)
            model.pages.graph->addPoint(e, x, y);
    } else {
        plotLine(model, run, e, undefined, x, y);
    }
    out.lastT = run.t;
    out.lastX = x;
    out.lastY = y;
}

}  // namespace

void startCurves(Model& model)
{
    for (int e = 1; e <= model.script.outputCount; ++e) {
        model.script.outputs[e].started = false;
        model.script.outputs[e].wasUndefined = true;
    }
}

void plotTables(Model& model)
{
    for (int e = 1; e <= model.script.outputCount; ++e) {
        const OutputVariable& out = model.script.outputs[e];
        if (!out.table)
            continue;
        const PointTable& table = model.script.tables[out.table];
        for (int i = 1; i <= table.pointCount; ++i)
            model.pages.graph->addPoint(e, table.points[i].x, table.points[i].y);
    }
}

void plotOutputs(Model& model, RunState& run)
{
    if (!model.pages.graph)
        return;
    for (int e = 1; e <= model.script.outputCount && !run.abandoned; ++e)
        plotEntry(model, run, e);
}

}  // namespace tavlix
