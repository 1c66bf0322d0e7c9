// Runge-Kutta-Fehlberg 4(5) with local extrapolation, per-variable error test, halving, doubling and exact output times.
#include "engine/Solver.h"

#include "engine/Evaluator.h"
#include "engine/Generation.h"

#include <cmath>
#include <cstring>

namespace {

// Runge-Kutta-Fehlberg 4(5): each coefficient is the double nearest to its fraction.
// Stage s (2 to 6) starts at TBase + StageTime[s] * H with Y0 + sum of StageWeight[s][k] * K(k+1), k < s - 1.
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

constexpr std::size_t StateBytes = sizeof(double) * (MaxRecords + 1);

// The stage increments K1 to K6; K6 is the last stage's KStage.
struct Stages {
    const double* k[6];
    explicit Stages(const datarec& m) : k{m.K1, m.K2, m.K3, m.K4, m.K5, m.KStage} {}
};

double* StageArray(datarec& m, int stage)
{
    double* const arrays[5] = {m.K1, m.K2, m.K3, m.K4, m.K5};
    return arrays[stage - 1];
}

// Y0[i] + the stage's weighted increments, summed left to right in extended precision, Y0 added last.
double StageState(const datarec& m, const Stages& ks, int stage, int i)
{
    long double sum = 0;
    for (int k = 0; k < stage - 1; ++k)
        sum += static_cast<long double>(StageWeight[stage][k]) * ks.k[k][i];
    return RoundChecked(sum + m.Y0[i]);
}

long double ErrorEstimate(const Stages& ks, int i)
{
    long double e = 0;
    for (int k = 0; k < 5; ++k)
        e += static_cast<long double>(ErrorWeight[k]) * ks.k[ErrorTerms[k]][i];
    return e;
}

long double FourthOrder(const Stages& ks, int i)
{
    long double sum = 0;
    for (int k = 0; k < 4; ++k)
        sum += static_cast<long double>(FourthWeight[k]) * ks.k[FourthTerms[k]][i];
    return sum;
}

// The integration cannot go on: the failure stays in EvalFailed and EngineError for the caller.
bool Stopped() { return Eng.EvalFailed || Eng.Abandoned; }

}  // namespace

void Derivatives(datarec& model)
{
    for (int i = 1; i <= model.OdeLimit; ++i) {
        if (!model.Records[i].IsOde)
            continue;
        Evaluate(model, i);
        model.KStage[i] = RoundChecked(static_cast<long double>(model.Records[i].Value) * model.H);
    }
}

void Step(datarec& model)
{
    const Stages ks(model);
    Eng.T = model.TBase;
    Derivatives(model);
    if (Stopped())
        return;
    for (int stage = 2; stage <= 6; ++stage) {
        std::memcpy(StageArray(model, stage - 1), model.KStage, StateBytes);
        for (int i = 1; i <= model.StepRecordCount; ++i)
            if (model.Records[i].IsOde)
                model.Y[i] = StageState(model, ks, stage, i);
        Eng.T = RoundChecked(static_cast<long double>(StageTime[stage]) * model.H + model.TBase);
        Derivatives(model);
        if (Stopped())
            return;
    }
    model.MayGrow = 1;
    for (int i = 1; i <= model.StepRecordCount; ++i) {
        if (!model.Records[i].IsOde)
            continue;
        const double e = RoundChecked(ErrorEstimate(ks, i));
        model.Y[i] = RoundChecked(FourthOrder(ks, i) + e + model.Y0[i]);
        const double tol = RoundChecked(std::fabs(static_cast<long double>(model.Y[i])) * model.RelTol + model.AbsTol);
        model.Accepted = std::fabs(e) <= tol;
        if (!model.Accepted)
            return;
        model.MayGrow = model.MayGrow && static_cast<long double>(GrowthFactor) * tol > std::fabs(e);
    }
    Eng.T = model.TTarget;
}

namespace {

// The step is abandoned below HMin, or when it no longer moves t at all: the tolerance cannot be met.
bool CannotGoOn(datarec& model)
{
    Eng.EvalFailed = 1;
    model.EngineError = 22;
    Eng.T = model.TBase;  // the message quotes where the integration got stuck
    return true;
}

// One accepted step from T, halving on every rejection; false when the integration ends.
bool Advance(datarec& model)
{
    model.TBase = Eng.T;
    model.H = model.HNext;
    model.TTarget = model.TBase + model.H;
    if (model.TTarget > model.TEnd) {
        model.TTarget = model.TEnd;
        model.H = model.TTarget - model.TBase;
    } else if (model.TTarget > model.TNextOut) {
        model.TTarget = model.TNextOut;
        model.H = model.TTarget - model.TBase;
    }
    if (model.TTarget <= model.TBase)
        return !CannotGoOn(model);
    std::memcpy(model.Y0, model.Y, StateBytes);
    Step(model);
    while (!Stopped() && !model.Accepted) {
        if (model.H <= model.HMin)
            return !CannotGoOn(model);
        model.H = std::fmax(model.H / 2, model.HMin);
        model.HNext = model.H;
        std::memcpy(model.Y, model.Y0, StateBytes);
        model.TTarget = model.TBase + model.H;
        Step(model);
    }
    if (Stopped())
        return false;
    if (model.MayGrow && model.H < model.HMax && model.H == model.HNext)
        model.HNext = std::fmin(2 * model.HNext, model.HMax);
    return true;
}

}  // namespace

void Integrate(datarec& model)
{
    model.HMax = model.TStep;
    model.H = model.HMax;
    model.HMin = model.H / 10000;
    Eng.T = model.TStart;
    model.TNextOut = model.TStart;
    model.HNext = model.H;
    if (Eng.GraphMode) {
        OutputPoint(model);
        if (Stopped())
            return;
    }
    for (;;) {
        if (Eng.T >= model.TEnd) {
            OutputPoint(model);
            return;
        }
        if (Eng.T == model.TNextOut) {
            OutputPoint(model);
            if (Stopped())
                return;
            model.TNextOut = Eng.T + model.TStep;
        }
        if (!Advance(model))
            return;
    }
}
