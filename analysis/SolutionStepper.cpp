// One accepted Runge-Kutta-Fehlberg step at a time, halving on rejection and doubling after easy steps.
#include "analysis/SolutionStepper.h"

#include "engine/Evaluator.h"
#include "engine/Solver.h"

#include <algorithm>
#include <cmath>

namespace tavlix {

namespace {

// The smallest step is this share of the largest, as in the document's runs.
constexpr double SmallestStepShare = 1.0 / 10000;

}  // namespace

SolutionStepper::SolutionStepper(CompiledDocument& document) : document_(document) {}

bool SolutionStepper::restart()
{
    Model& m = document_.model();
    const CoordinateSettings& s = m.script.settings;
    tStart_ = s[Setting::Tmin];
    hMax_ = s[Setting::TStep];
    if (hMax_ == 0 && s[Setting::TCount] != 0)
        hMax_ = (s[Setting::Tmax] - tStart_) / s[Setting::TCount];
    hMax_ = std::fabs(hMax_);
    if (!(hMax_ > 0) || !std::isfinite(hMax_))
        return false;
    hMin_ = hMax_ * SmallestStepShare;
    hNext_ = hMax_;
    t_ = tStart_;
    m.rkf.stepRecordCount = m.script.recordCount;
    m.rkf.absTol = s[Setting::AbsTolerance];
    m.rkf.relTol = s[Setting::RelTolerance];
    for (int i = 0; i <= m.script.recordCount; ++i) {
        m.rkf.y[i] = m.script.records[i].domainLo;
        m.rkf.k[5][i] = 0;
    }
    document_.clearCaches();
    return true;
}

bool SolutionStepper::advanceTo(double target)
{
    while (t_ != target) {
        const double size = std::min(hNext_, std::fabs(target - t_));
        if (!step(target > t_ ? size : -size))
            return false;
    }
    return true;
}

bool SolutionStepper::step(double h)
{
    Model& m = document_.model();
    RunState& run = document_.run();
    RkfState& s = m.rkf;
    for (;;) {
        s.stepStart = t_;
        s.h = h;
        s.stepEnd = t_ + h;
        if (s.stepEnd == s.stepStart)
            return false;
        s.y0 = s.y;
        document_.clearCaches();
        run.failed = run.abandoned = run.stopped = false;
        m.error = ScriptError::None;
        m.stackTop = 0;
        rkfStep(m, run);
        if (run.failed || run.abandoned)
            return false;
        if (s.accepted)
            break;
        if (std::fabs(h) <= hMin_)
            return false;
        h = std::copysign(std::max(std::fabs(h) / 2, hMin_), h);
        hNext_ = std::fabs(h);
        s.y = s.y0;
    }
    t_ = s.stepEnd;
    // A step cut short by its target does not change the steps to come.
    const double size = std::fabs(h);
    if (s.mayDouble && size < hMax_ && size == hNext_)
        hNext_ = std::min(2 * hNext_, hMax_);
    document_.clearCaches();
    return true;
}

bool SolutionStepper::value(int record, double& v)
{
    Model& m = document_.model();
    RunState& run = document_.run();
    run.t = t_;
    run.failed = run.abandoned = run.stopped = false;
    m.error = ScriptError::None;
    m.stackTop = 0;
    v = valueAt(m, run, record);
    return !run.failed && !run.abandoned && std::isfinite(v);
}

SolutionState SolutionStepper::state() const
{
    const Model& m = document_.model();
    return {t_, hNext_, std::vector<double>(m.rkf.y.begin(), m.rkf.y.begin() + m.script.recordCount + 1)};
}

void SolutionStepper::restore(const SolutionState& state)
{
    Model& m = document_.model();
    t_ = state.t;
    hNext_ = state.hNext;
    std::copy(state.y.begin(), state.y.end(), m.rkf.y.begin());
    document_.clearCaches();
}

}  // namespace tavlix
