// The value of one record of a compiled document at any t: computed at once for a plain function, or read from
// the solution of the differential equations, followed from the nearest stored state.
#pragma once

#include "analysis/CompiledDocument.h"
#include "analysis/SolutionStepper.h"

#include <vector>

namespace tavlix {

class CurveFunction {
public:
    // The document must stay compiled while the function is used.
    CurveFunction(CompiledDocument& document, int record);

    int record() const { return record_; }
    bool followsSolution() const { return followsSolution_; }
    // The value at t; false where the record has no value there (or the solution cannot reach t).
    bool valueAt(double t, double& value);
    // The values at growing ts in one pass of the solver; false at the first t without a value.
    bool valuesAt(const std::vector<double>& ts, std::vector<double>& values);
    // The derivative's value at t for a differential-equation variable (its right-hand side); false otherwise.
    bool equationSlope(double t, double& slope);

private:
    // Places the solution at t, going on from the last stored state at or before it on the output grid.
    bool solutionAt(double t);
    bool reachCheckpoint(std::size_t index);

    CompiledDocument& document_;
    SolutionStepper stepper_;
    int record_;
    bool followsSolution_;
    bool started_ = false;
    std::vector<SolutionState> checkpoints_;  // the solution at TMin + k * the output interval
};

}  // namespace tavlix
