// Table and curve generation: samples t (or follows the solver), fills table grids and feeds graph pages.
#include "engine/Generation.h"

#include "engine/EngineHost.h"
#include "engine/Evaluator.h"
#include "engine/Solver.h"

#include <cmath>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

constexpr int EdgeHalvings = 25;
constexpr int CellWidth = 12;
const char* const NoStepText = "TAntal og TDelta kan ikke begge v\xE6re 0: t kan ikke inddeles";

bool Stopped() { return Eng.EvalFailed || Eng.StopFlag || Eng.Abandoned; }

// A generation never inherits the failure of an earlier one.
void ClearFailures(datarec& model)
{
    model.EngineError = 0;
    Eng.EvalFailed = 0;
    Eng.StopFlag = 0;
}

std::string PageCaption(const std::string& caption, int& resultCount)
{
    ++resultCount;
    return caption + "-" + std::to_string(resultCount);
}

char Separator()
{
    return Eng.Host ? Eng.Host->DecimalSeparator() : '.';
}

// Lets the window breathe between output points; a refusal ends the run without a message.
void AfterPoint()
{
    if (Eng.Host && !Eng.Abandoned && !Eng.Host->KeepGoing())
        AbandonRun("");
    if (Eng.Abandoned)
        Eng.EvalFailed = 1;
}

// One table row: every output variable's cell; an undefined value spoils only its own cell.
void TableRow(datarec& model)
{
    TableTarget& grid = *model.TableGrid;
    const int rows = grid.RowCount() + 1;
    grid.SetRowCount(rows);
    const int row = rows - 2;
    const char sep = Separator();
    for (int e = 1; e <= model.OutputCount && !Eng.Abandoned; ++e) {
        const double v = ValueAt(model, model.Outputs[e].F1);
        if (Eng.Abandoned)  // an overflow is no undefined value: the row ends where the run does
            break;
        grid.SetCell(e - 1, row, Eng.EvalFailed ? std::string("Fejl") : CellText(v, sep));
        Eng.EvalFailed = 0;
        model.EngineError = 0;
    }
}

// The 25-halving search for where a plain curve becomes defined or undefined; draws the last probe.
void LocateEdge(datarec& model, int e, bool undefined)
{
    OutputRec& out = model.Outputs[e];
    const double tSave = Eng.T;
    const bool old = out.WasUndefined;
    out.WasUndefined = undefined;
    double d = model.TStep / 2;
    Eng.T -= d;
    Eng.EvalFailed = 0;
    double x = 0, y = 0;
    for (int i = 0; i < EdgeHalvings && !Eng.Abandoned; ++i) {
        x = ValueAt(model, out.F1);
        y = ValueAt(model, out.F2);
        d /= 2;
        Eng.T += (static_cast<bool>(Eng.EvalFailed) == old) ? d : -d;
        Eng.EvalFailed = 0;
    }
    model.EngineError = 0;
    if (!Eng.Abandoned)
        model.GraphPage->Draw2(e, x, y);
    Eng.T = tSave;
}

void PlotEntry(datarec& model, int e)
{
    OutputRec& out = model.Outputs[e];
    const double x = ValueAt(model, out.F1);
    const double y = ValueAt(model, out.F2);
    const bool undefined = Eng.EvalFailed;
    if (Eng.Abandoned)
        return;
    if (out.Style >= 7) {
        if (!undefined)
            model.GraphPage->Draw2(e, x, y);
    } else if (undefined == static_cast<bool>(out.WasUndefined)) {
        if (!undefined)
            model.GraphPage->Draw2(e, x, y);
    } else if (out.F1 <= model.PlainLimit && out.F2 <= model.PlainLimit && Eng.T != model.TStart) {
        LocateEdge(model, e, undefined);
    } else {
        out.WasUndefined = undefined;
    }
    if (undefined) {
        Eng.EvalFailed = 0;
        model.EngineError = 0;  // only undefined: the code must not outlive the value
    }
}

// The step no longer moves t: say so rather than skip silently to TEnd. (The text fits FaultText.)
void StepTooSmall()
{
    char text[100];
    std::snprintf(text, sizeof text, "Skridtet i t er for lille: t kommer ikke videre fra %g. V\xE6lg et st\xF8rre TDelta.",
                  Eng.T);
    AbandonRun(text);
}

// Samples t from TStart with TStep while more(T) holds; a failure or stop ends it at the point's t.
template <typename More>
void Sample(datarec& model, More more)
{
    for (;;) {
        OutputPoint(model);
        if (Stopped())
            return;
        const double next = Eng.T + model.TStep;
        if (next == Eng.T) {  // a step lost in t's precision would never end
            StepTooSmall();
            return;
        }
        if (!more(next))
            break;
        Eng.T = next;
    }
    Eng.T += model.TStep;
}

// The extra point at TEnd when the step does not divide the range.
void FinishAtEnd(datarec& model)
{
    if (!Stopped() && Eng.T < model.TEnd + model.TStep) {
        Eng.T = model.TEnd;
        OutputPoint(model);
    }
}

// The code the compiler takes over when the generation ended early; 0 after an abandoned run.
int EndCode(datarec& model, bool hasOde)
{
    if (Eng.Abandoned)
        return 0;
    if (hasOde)
        return Eng.EvalFailed ? model.EngineError : 0;
    return Eng.StopFlag ? 19 : 0;
}

// A single point at TStart for a range without a usable step (TStep <= 0).
bool SinglePoint(datarec& model)
{
    if (model.TStep > 0)
        return false;
    if (Eng.GraphMode)
        OutputPoint(model);  // starts the curves
    if (!Eng.Abandoned)
        OutputPoint(model);
    return true;
}

// Runs the sampling or the integration of a started generation; returns its end code.
int Generate(datarec& model, bool hasOde, bool graph)
{
    if (Eng.Abandoned)
        return 0;
    if (SinglePoint(model))
        return EndCode(model, hasOde);
    if (hasOde) {
        Integrate(model);
        return EndCode(model, true);
    }
    if (graph) {
        OutputPoint(model);
        // TMin is output twice even when its first point ran into a stop: the second one draws it.
        if (!Eng.Abandoned)
            Sample(model, [&](double t) { return t <= model.TEnd + model.TStep / 2; });
    } else {
        Sample(model, [&](double t) { return t <= model.TEnd; });
    }
    FinishAtEnd(model);
    return EndCode(model, false);
}

}  // namespace

std::string CellText(double v, char decimalSeparator)
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

bool GenStart(datarec& model)
{
    bool hasOde = false;
    for (int i = 1; i <= model.RecordCount; ++i) {
        model.KStage[i] = 0;
        model.Records[i].CacheT = BigValue;
        model.Y[i] = model.Records[i].Lo;
        hasOde = hasOde || model.Records[i].IsOde;
    }
    model.TStart = model.Settings[8];
    model.TEnd = model.Settings[9];
    model.StepRecordCount = model.RecordCount;
    model.AbsTol = model.Settings[12];
    model.RelTol = model.Settings[13];
    model.TStep = model.Settings[11];
    if (model.TStep == 0) {
        if (model.Settings[10] == 0) {
            AbandonRun(NoStepText);  // the division would fault
        } else {
            model.TStep = (model.TEnd - model.TStart) / model.Settings[10];
        }
    }
    Eng.T = model.TStart;
    return hasOde;
}

int MakeTable(datarec& model, const std::string& caption, int& resultCount)
{
    const std::string pageCaption = PageCaption(caption, resultCount);
    ClearFailures(model);
    model.TableGrid = Eng.Host ? Eng.Host->LavTabel(pageCaption) : nullptr;
    if (!model.TableGrid)
        return 0;
    Eng.GraphMode = 0;
    const bool hasOde = GenStart(model);
    if (Eng.Abandoned)
        return 0;  // the page stays, empty
    TableTarget& grid = *model.TableGrid;
    grid.SetColCount(model.OutputCount);
    grid.SetRowCount(2);
    grid.SetFixedRows(1);
    for (int e = 1; e <= model.OutputCount; ++e)
        grid.SetCell(e - 1, 0, model.Records[model.Outputs[e].F1].Name.view());
    grid.MakeVisible();
    return Generate(model, hasOde, false);
}

int MakeGraph(datarec& model, const std::string& caption, int& resultCount)
{
    const std::string pageCaption = PageCaption(caption, resultCount);
    ClearFailures(model);
    model.GraphPage = Eng.Host ? Eng.Host->LavGraf(pageCaption) : nullptr;
    if (!model.GraphPage)
        return 0;
    GraphTarget& page = *model.GraphPage;
    page.SetSettings(model.Settings);
    page.begynd();
    Eng.GraphMode = 1;
    page.myrepaint();
    for (int e = 1; e <= model.OutputCount; ++e) {
        const int style = model.Outputs[e].Style;
        page.Makekurve(style <= 6 ? style - 1 : style);
    }
    const bool hasOde = GenStart(model);
    const int code = Generate(model, hasOde, true);
    Eng.GraphMode = 0;
    return code;
}

void OutputPoint(datarec& model)
{
    if (Eng.GraphMode) {
        PlotPoints(model);
    } else {
        if (Eng.EvalFailed || !model.TableGrid)
            return;
        TableRow(model);
    }
    AfterPoint();
}

void PlotPoints(datarec& model)
{
    if (!model.GraphPage)
        return;
    for (int e = 1; e <= model.OutputCount && !Eng.Abandoned; ++e)
        PlotEntry(model, e);
}
