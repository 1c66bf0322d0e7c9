// Table and curve generation: samples t (or follows the solver), fills table grids and feeds graph pages.
#include "engine/OutputGenerator.h"

#include "engine/CurvePlotter.h"
#include "engine/DirectionField.h"
#include "engine/EngineHost.h"
#include "engine/Evaluator.h"
#include "engine/OutputProbe.h"
#include "engine/Solver.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace tavlix {

namespace {

// An output time this close to TEnd, in steps, is TEnd: the last sample lands on it, not a rounding away.
constexpr double EndSnap = 1.0 / 10000;
constexpr int CellWidth = 12;
const char* const NoStepText = "TAntal og TDelta kan ikke begge v\xE6re 0: t kan ikke inddeles";

bool ended(const RunState& run)
{
    return run.failed || run.stopped || run.abandoned;
}

// A generation never inherits the failure of an earlier one.
void clearFailures(Model& model, RunState& run)
{
    model.error = ScriptError::None;
    run.failed = false;
    run.stopped = false;
}

std::string pageCaption(const std::string& caption, int& resultCount)
{
    ++resultCount;
    return caption + "-" + std::to_string(resultCount);
}

char separator(const RunState& run)
{
    return run.host ? run.host->decimalSeparator() : '.';
}

// Lets the window breathe between output points; a refusal ends the run without a message.
void afterPoint(RunState& run)
{
    if (run.host && !run.abandoned && !run.host->keepGoing())
        abandonRun(run, "");
    if (run.abandoned)
        run.failed = true;
}

// One table row: every output variable's cell; an undefined value spoils only its own cell.
void tableRow(Model& model, RunState& run)
{
    TableSink& grid = *model.pages.table;
    const int rows = grid.rowCount() + 1;
    grid.setRowCount(rows);
    const int row = rows - 2;
    const char sep = separator(run);
    for (int e = 1; e <= model.script.outputCount && !run.abandoned; ++e) {
        const double v = valueAt(model, run, model.script.outputs[e].xRecord);
        if (run.abandoned)  // an overflow is no undefined value: the row ends where the run does
            break;
        grid.setCell(e - 1, row, run.failed ? std::string("Fejl") : formatCell(v, sep));
        if (run.probe)
            run.probe->outputValue(e, run.t, run.t, v, !run.failed);
        run.failed = false;
        model.error = ScriptError::None;
    }
}

// The step no longer moves t: say so rather than skip silently to the end. (The text fits the fault text.)
void stepTooSmall(RunState& run)
{
    char text[100];
    std::snprintf(text, sizeof text,
                  "Skridtet i t er for lille: t kommer ikke videre fra %g. V\xE6lg et st\xF8rre TDelta.", run.t);
    abandonRun(run, text);
}

// Samples t at the output times from tStart while more(t) holds; a failure or stop ends it at the point's t.
template <typename More>
void sample(Model& model, RunState& run, More more)
{
    for (long long k = 1;; ++k) {
        outputPoint(model, run);
        if (ended(run))
            return;
        const double next = outputTime(model, k);
        if (next == run.t) {  // a step lost in t's precision would never end
            stepTooSmall(run);
            return;
        }
        if (!more(next))
            break;
        run.t = next;
    }
    // The extra point at tEnd when the step does not divide the range.
    if (run.t < model.tEnd) {
        run.t = model.tEnd;
        outputPoint(model, run);
    }
}

// The code the compiler takes over when the generation ended early; 0 after an abandoned run.
ScriptError endError(const Model& model, const RunState& run, bool hasOde)
{
    if (run.abandoned)
        return ScriptError::None;
    if (hasOde)
        return run.failed ? model.error : ScriptError::None;
    return run.stopped ? ScriptError::StopConditionMet : ScriptError::None;
}

// A single point at tStart for a range without a usable step (tStep <= 0).
bool singlePoint(Model& model, RunState& run)
{
    if (model.tStep > 0)
        return false;
    if (run.outputIsGraph)
        outputPoint(model, run);  // starts the curves
    if (!run.abandoned)
        outputPoint(model, run);
    return true;
}

// Runs the sampling or the integration of a started generation; returns its end code.
ScriptError generate(Model& model, RunState& run, bool hasOde, bool graph)
{
    if (run.abandoned)
        return ScriptError::None;
    if (singlePoint(model, run))
        return endError(model, run, hasOde);
    if (hasOde) {
        if (const KeptIntegration* kept = run.integrations.find(model))
            replayIntegration(model, run, *kept);
        else
            integrate(model, run);
        return endError(model, run, true);
    }
    if (graph)
        sampleCurves(model, run);
    else
        sample(model, run, [&](double t) { return t <= model.tEnd; });
    return endError(model, run, false);
}

std::string curveName(const OutputVariable& out)
{
    // Record 0 is t: a curve over t is known by its y alone.
    if (out.xRecord == 0)
        return out.yName.str();
    return "(" + out.xName.str() + ", " + out.yName.str() + ")";
}

// Starts the probe, if any, on a generation that has its output variables and interval.
void beginProbe(const Model& model, const RunState& run)
{
    if (run.probe && !run.abandoned)
        run.probe->beginPage(model);
}

// A page from differential equations tells its host how the integration went, even when it ended early; the
// probe hears how the generation ended.
void reportStatistics(const Model& model, const RunState& run, bool hasOde, ScriptError error)
{
    if (run.probe && !run.abandoned)
        run.probe->endPage(error);
    if (hasOde && run.host)
        run.host->integrationFinished(model.statistics);
}

}  // namespace

double outputTime(const Model& model, long long k)
{
    const double t = model.tStart + static_cast<double>(k) * model.tStep;
    return std::fabs(t - model.tEnd) <= model.tStep * EndSnap ? model.tEnd : t;
}

void sampleCurves(Model& model, RunState& run)
{
    run.t = model.tStart;
    startCurves(model);
    outputPoint(model, run);
    // TMin is output twice even when its first point ran into a stop: the second one draws it.
    if (!run.abandoned)
        sample(model, run, [&](double t) { return t <= model.tEnd + model.tStep / 2; });
}

std::string formatCell(double v, char decimalSeparator)
{
    if (v == 0)
        v = 0;  // no "-0"
    char buf[40];
    *std::to_chars(buf, buf + sizeof buf - 1, v, std::chars_format::general, 6).ptr = '\0';  // locale-free
    std::string s;
    s.reserve(CellWidth);
    for (const char* p = buf; *p; ++p) {
        if (*p == '.') {
            s += decimalSeparator;
        } else if (*p == 'e') {
            s += 'E';
            ++p;
            if (*p == '-')
                s += '-';
            while (p[1] == '0' && p[2] != '\0')
                ++p;  // the exponent without sign or leading zeros
        } else {
            s += *p;
        }
    }
    if (s.size() < CellWidth)
        s.insert(0, CellWidth - s.size(), ' ');
    return s;
}

bool prepareGeneration(Model& model, RunState& run)
{
    CompiledScript& script = model.script;
    bool hasOde = false;
    for (int i = 1; i <= script.recordCount; ++i) {
        model.rkf.k[5][i] = 0;
        script.records[i].cachedT = BigValue;
        model.rkf.y[i] = script.records[i].domainLo;
        hasOde = hasOde || script.records[i].isOdeVariable;
    }
    model.tStart = script.settings[Setting::Tmin];
    model.tEnd = script.settings[Setting::Tmax];
    model.rkf.stepRecordCount = script.recordCount;
    model.rkf.absTol = script.settings[Setting::AbsTolerance];
    model.rkf.relTol = script.settings[Setting::RelTolerance];
    model.statistics = SolverStatistics{};
    model.tStep = script.settings[Setting::TStep];
    if (model.tStep == 0) {
        if (script.settings[Setting::TCount] == 0) {
            abandonRun(run, NoStepText);  // the division would fault
        } else {
            model.tStep = (model.tEnd - model.tStart) / script.settings[Setting::TCount];
        }
    }
    run.t = model.tStart;
    return hasOde;
}

ScriptError generateTable(Model& model, RunState& run, const std::string& caption, int& resultCount)
{
    const std::string title = pageCaption(caption, resultCount);
    clearFailures(model, run);
    model.pages.table = run.host ? run.host->createTablePage(title) : nullptr;
    if (!model.pages.table)
        return ScriptError::None;
    run.outputIsGraph = false;
    const bool hasOde = prepareGeneration(model, run);
    if (run.abandoned)
        return ScriptError::None;  // the page stays, empty
    TableSink& grid = *model.pages.table;
    grid.setColumnCount(model.script.outputCount);
    grid.setRowCount(2);
    for (int e = 1; e <= model.script.outputCount; ++e)
        grid.setCell(e - 1, 0, model.script.records[model.script.outputs[e].xRecord].name.view());
    grid.showGrid();
    beginProbe(model, run);
    const ScriptError error = generate(model, run, hasOde, false);
    reportStatistics(model, run, hasOde, error);
    return error;
}

ScriptError generateGraph(Model& model, RunState& run, const std::string& caption, int& resultCount)
{
    const std::string title = pageCaption(caption, resultCount);
    clearFailures(model, run);
    model.pages.graph = run.host ? run.host->createGraphPage(title) : nullptr;
    if (!model.pages.graph)
        return ScriptError::None;
    GraphSink& page = *model.pages.graph;
    page.setSettings(model.script.settings);
    page.begin();
    run.outputIsGraph = true;
    page.fitToWindow();
    for (int e = 1; e <= model.script.outputCount; ++e) {
        const OutputVariable& out = model.script.outputs[e];
        page.addCurve(out.style);
        page.nameCurve(e, curveName(out));
    }
    const bool hasOde = prepareGeneration(model, run);
    if (hasOde)
        page.setDirectionField(DirectionField::fromModel(model));
    page.keepRunModel(model);
    startCurves(model);
    if (!run.abandoned)
        plotTables(model);
    beginProbe(model, run);
    const ScriptError error = generate(model, run, hasOde, true);
    run.outputIsGraph = false;
    reportStatistics(model, run, hasOde, error);
    return error;
}

void outputPoint(Model& model, RunState& run)
{
    if (run.outputIsGraph) {
        plotOutputs(model, run);
    } else {
        if (run.failed || !model.pages.table)
            return;
        tableRow(model, run);
    }
    afterPoint(run);
}

}  // namespace tavlix
