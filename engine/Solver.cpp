// Runge-Kutta-Fehlberg 4(5) with local extrapolation, per-variable error test, halving, doubling and exact output times.
#include "engine/Solver.h"

#include "engine/EngineHost.h"
#include "engine/Evaluator.h"
#include "engine/IntegrationRecorder.h"
#include "engine/OutputGenerator.h"

#include <cmath>

namespace tavlix {

namespace {

// Runge-Kutta-Fehlberg 4(5): each coefficient is the double nearest to its fraction.
// Stage s (2 to 6) starts at stepStart + StageTime[s] * h with y0 + sum of StageWeight[s][k] * k[k], k < s - 1.
constexpr double StageTime[7] = {0, 0, 1.0 / 4, 3.0 / 8, 12.0 / 13, 1, 1.0 / 2};
constexpr double StageWeight[7][5] = {
    {},
    {},
    {1.0 / 4},
    {3.0 / 32, 9.0 / 32},
    {1932.0 / 2197, -7200.0 / 2197, 7296.0 / 2197},
    {439.0 / 216, -8, 3680.0 / 513, -845.0 / 4104},
    {-8.0 / 27, 2, -3544.0 / 2565, 1859.0 / 4104, -11.0 / 40},
};
// The error estimate over K1, K3, K4, K5, K6 and the fourth-order result over K1, K3, K4, K5 (K2 has weight 0).
constexpr int ErrorTerms[5] = {0, 2, 3, 4, 5};
constexpr double ErrorWeight[5] = {1.0 / 360, -128.0 / 4275, -2197.0 / 75240, 1.0 / 50, 2.0 / 55};
constexpr int FourthTerms[4] = {0, 2, 3, 4};
constexpr double FourthWeight[4] = {25.0 / 216, 1408.0 / 2565, 2197.0 / 4104, -1.0 / 5};
// A step whose every error is below this share of its tolerance lets the next step double.
constexpr double GrowthFactor = 1.0 / 50;
// The smallest step is this share of the largest |t| of the run (or of the output interval): below it t itself
// stops resolving the steps, whatever the number of rows asked for.
constexpr double SmallestStepShare = 1e-12;
// Every this many steps the host may interrupt a run that takes many steps between two output points.
constexpr long long StepsBetweenInterruptChecks = 4096;

// y0[i] + the stage's weighted increments, summed left to right in extended precision, y0 added last.
double stageState(const RkfState& s, RunState& run, int stage, int i)
{
    long double sum = 0;
    for (int k = 0; k < stage - 1; ++k)
        sum += static_cast<long double>(StageWeight[stage][k]) * s.k[k][i];
    return roundToDouble(run, sum + s.y0[i]);
}

long double errorEstimate(const RkfState& s, int i)
{
    long double e = 0;
    for (int k = 0; k < 5; ++k)
        e += static_cast<long double>(ErrorWeight[k]) * s.k[ErrorTerms[k]][i];
    return e;
}

long double fourthOrder(const RkfState& s, int i)
{
    long double sum = 0;
    for (int k = 0; k < 4; ++k)
        sum += static_cast<long double>(FourthWeight[k]) * s.k[FourthTerms[k]][i];
    return sum;
}

// The integration cannot go on: the failure stays in the run's failed and the model's error for the caller.
bool ended(const RunState& run)
{
    return run.failed || run.abandoned;
}

}  // namespace

void evaluateDerivatives(Model& model, RunState& run)
{
    ++model.statistics.rhsEvaluations;
    for (int i = 1; i <= model.script.lastOdeRecord; ++i) {
        if (!model.script.records[i].isOdeVariable)
            continue;
        evaluateRecord(model, run, i);
        model.rkf.k[5][i] = roundToDouble(run, static_cast<long double>(model.script.records[i].value) * model.rkf.h);
    }
}

void rkfStep(Model& model, RunState& run)
{
    RkfState& s = model.rkf;
    ++model.statistics.attempts;
    run.t = s.stepStart;
    evaluateDerivatives(model, run);
    if (ended(run))
        return;
    for (int stage = 2; stage <= 6; ++stage) {
        s.k[stage - 2] = s.k[5];
        for (int i = 1; i <= s.stepRecordCount; ++i)
            if (model.script.records[i].isOdeVariable)
                s.y[i] = stageState(s, run, stage, i);
        run.t = roundToDouble(run, static_cast<long double>(StageTime[stage]) * s.h + s.stepStart);
        evaluateDerivatives(model, run);
        if (ended(run))
            return;
    }
    model.rkf.mayDouble = true;
    for (int i = 1; i <= model.rkf.stepRecordCount; ++i) {
        if (!model.script.records[i].isOdeVariable)
            continue;
        const double e = roundToDouble(run, errorEstimate(s, i));
        model.rkf.y[i] = roundToDouble(run, fourthOrder(s, i) + e + model.rkf.y0[i]);
        const double tol = roundToDouble(
            run, std::fabs(static_cast<long double>(model.rkf.y[i])) * model.rkf.relTol + model.rkf.absTol);
        model.rkf.accepted = std::fabs(e) <= tol;
        if (!model.rkf.accepted)
            return;
        // An error of exactly 0 is small even against a tolerance of 0 (Absolut 0, a solution that reached 0).
        model.rkf.mayDouble =
            model.rkf.mayDouble && (e == 0 || static_cast<long double>(GrowthFactor) * tol > std::fabs(e));
    }
    run.t = model.rkf.stepEnd;
}

namespace {

// Whether a step ending at a would pass b in the direction of the integration.
bool passes(const RkfState& s, double a, double b)
{
    return s.direction > 0 ? a > b : a < b;
}

void endStepAt(RkfState& s, double stop)
{
    s.stepEnd = stop;
    s.h = s.stepEnd - s.stepStart;
}

}  // namespace

bool aimStep(Model& model, const RunState& run, double stop)
{
    RkfState& s = model.rkf;
    s.stepStart = run.t;
    s.h = s.direction * s.hNext;
    s.stepEnd = s.stepStart + s.h;
    if (!passes(s, s.stepEnd, stop))
        return false;
    endStepAt(s, stop);
    return true;
}

StepOutcome takeStep(Model& model, RunState& run, bool setByOutput)
{
    RkfState& s = model.rkf;
    if ((s.stepEnd - s.stepStart) * s.direction <= 0)
        return StepOutcome::Stuck;
    s.y0 = s.y;
    rkfStep(model, run);
    while (!ended(run) && !s.accepted) {
        ++model.statistics.rejectedSteps;
        setByOutput = false;
        if (std::fabs(s.h) <= s.hMin)
            return StepOutcome::Stuck;
        s.hNext = std::fmax(std::fabs(s.h) / 2, s.hMin);
        s.h = s.direction * s.hNext;
        s.y = s.y0;
        s.stepEnd = s.stepStart + s.h;
        rkfStep(model, run);
    }
    if (ended(run))
        return StepOutcome::Ended;
    const double size = std::fabs(s.h);
    model.statistics.addAcceptedStep(size, setByOutput);
    if (s.mayDouble && size < s.hMax && size == s.hNext)
        s.hNext = std::fmin(2 * s.hNext, s.hMax);
    return StepOutcome::Accepted;
}

bool mayStepOn(Model& model, RunState& run, long long steps)
{
    if (steps % StepsBetweenInterruptChecks == 0 && run.host && !run.host->keepStepping()) {
        abandonRun(run, "");
        return false;
    }
    if (steps < model.rkf.maxSteps)
        return true;
    run.failed = true;
    model.error = ScriptError::ToleranceNotMet;
    return false;
}

namespace {

// A step that would end a rounding short of the output time ends on it: output times are multiples of the
// interval while steps add up, and the sliver of a step left over would be below the smallest step. A wider
// reach would stretch a careful step near a singularity onto the singularity itself.
bool endsJustShort(const Model& model)
{
    const double gap = model.nextOutputT - model.rkf.stepEnd;
    return gap > 0 && gap < model.rkf.hMin;
}

// The step is abandoned below HMin, or when it no longer moves t at all: the tolerance cannot be met.
bool cannotGoOn(Model& model, RunState& run)
{
    run.failed = true;
    model.error = ScriptError::ToleranceNotMet;
    run.t = model.rkf.stepStart;  // the message quotes where the integration got stuck
    return true;
}

// One accepted step from T towards the next output time; false when the integration ends.
bool advance(Model& model, RunState& run)
{
    RkfState& s = model.rkf;
    // The largest step is the output interval, so a step of that length is also the output's choice.
    bool setByOutput = s.hNext >= s.hMax;
    if (aimStep(model, run, model.tEnd)) {
        setByOutput = true;
    } else if (passes(s, s.stepEnd, model.nextOutputT) || endsJustShort(model)) {
        endStepAt(s, model.nextOutputT);
        setByOutput = true;
    }
    switch (takeStep(model, run, setByOutput)) {
    case StepOutcome::Accepted: return true;
    case StepOutcome::Stuck: return !cannotGoOn(model, run);
    case StepOutcome::Ended: break;
    }
    return false;
}

}  // namespace

void integrate(Model& model, RunState& run)
{
    model.rkf.direction = 1;
    model.rkf.hMax = model.tStep;
    model.rkf.h = model.rkf.hMax;
    model.rkf.hMin =
        SmallestStepShare * std::fmax(std::fmax(std::fabs(model.tStart), std::fabs(model.tEnd)), model.tStep);
    run.t = model.tStart;
    model.nextOutputT = model.tStart;
    model.rkf.hNext = model.rkf.h;
    long long outputs = 0;
    long long steps = 0;
    IntegrationRecorder recorder(model, run);
    if (run.outputIsGraph) {
        recorder.point();
        outputPoint(model, run);
        if (ended(run))
            return;
    }
    for (;;) {
        if (run.t >= model.tEnd) {
            recorder.point();
            outputPoint(model, run);
            return;
        }
        if (run.t == model.nextOutputT) {
            recorder.point();
            outputPoint(model, run);
            if (ended(run))
                return;
            model.nextOutputT = outputTime(model, ++outputs);
        }
        if (!recorder.step([&] { return advance(model, run) && mayStepOn(model, run, ++steps); }))
            return;
    }
}

}  // namespace tavlix
