// Plain records are evaluated directly; records of the solution keep states on the output grid so that a point
// deep in [TMin, TMax] costs at most one output interval of steps.
#include "analysis/CurveFunction.h"

#include "engine/Evaluator.h"

#include <cmath>

namespace tavlix {

CurveFunction::CurveFunction(CompiledDocument& document, int record)
    : document_(document), stepper_(document), record_(record), followsSolution_(document.followsSolution(record))
{}

bool CurveFunction::reachCheckpoint(std::size_t index)
{
    if (!started_) {
        if (!stepper_.restart())
            return false;
        started_ = true;
        checkpoints_.push_back(stepper_.state());
    }
    if (index < checkpoints_.size())
        return true;
    stepper_.restore(checkpoints_.back());
    const double h = stepper_.longestStep();
    while (checkpoints_.size() <= index) {
        if (!stepper_.advanceTo(stepper_.start() + static_cast<double>(checkpoints_.size()) * h))
            return false;
        checkpoints_.push_back(stepper_.state());
    }
    return true;
}

bool CurveFunction::solutionAt(double t)
{
    if (!reachCheckpoint(0))
        return false;
    const double offset = (t - stepper_.start()) / stepper_.longestStep();
    const std::size_t index = offset > 0 ? static_cast<std::size_t>(offset) : 0;
    if (!reachCheckpoint(index))
        return false;
    stepper_.restore(checkpoints_[index]);
    return stepper_.advanceTo(t);
}

bool CurveFunction::valueAt(double t, double& value)
{
    if (!followsSolution_)
        return document_.plainValue(record_, t, value) && std::isfinite(value);
    return solutionAt(t) && stepper_.value(record_, value);
}

bool CurveFunction::valuesAt(const std::vector<double>& ts, std::vector<double>& values)
{
    values.resize(ts.size());
    if (!followsSolution_) {
        for (std::size_t i = 0; i < ts.size(); ++i)
            if (!valueAt(ts[i], values[i]))
                return false;
        return true;
    }
    // Those before TMin backwards from it, the others forwards: each stretch in one pass.
    if (!stepper_.restart())
        return false;
    std::size_t firstAfter = 0;
    while (firstAfter < ts.size() && ts[firstAfter] < stepper_.start())
        ++firstAfter;
    for (std::size_t i = firstAfter; i-- > 0;)
        if (!stepper_.advanceTo(ts[i]) || !stepper_.value(record_, values[i]))
            return false;
    if (!stepper_.restart())
        return false;
    for (std::size_t i = firstAfter; i < ts.size(); ++i)
        if (!stepper_.advanceTo(ts[i]) || !stepper_.value(record_, values[i]))
            return false;
    return true;
}

bool CurveFunction::equationSlope(double t, double& slope)
{
    Model& m = document_.model();
    if (record_ < 1 || !m.script.records[record_].isOdeVariable || !solutionAt(t))
        return false;
    RunState& run = document_.run();
    run.t = t;
    run.failed = run.abandoned = run.stopped = false;
    m.stackTop = 0;
    document_.clearCaches();
    evaluateRecord(m, run, record_);
    slope = m.script.records[record_].value;
    return !run.failed && !run.abandoned && std::isfinite(slope);
}

}  // namespace tavlix
