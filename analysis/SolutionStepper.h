// Follows a compiled document's differential equations to any t with the document's own solver, tolerances and
// step control, so analyses read the solution the pages show.
#pragma once

#include "analysis/CompiledDocument.h"

#include <vector>

namespace tavlix {

// The solver's whole state at one t: enough to go on from there.
struct SolutionState {
    double t = 0;
    double hNext = 0;
    std::vector<double> y;  // every record's state entry, from 0
};

class SolutionStepper {
public:
    // The model must stay compiled while the stepper is used.
    explicit SolutionStepper(CompiledDocument& document);

    // Back to the initial values at TMin; false when the document gives t no usable step.
    bool restart();
    // Steps from where the solution stands to exactly target, forwards or backwards; false when it fails.
    bool advanceTo(double target);
    double t() const { return t_; }
    // The value of a record at the solution's t.
    bool value(int record, double& v);

    SolutionState state() const;
    void restore(const SolutionState& state);
    // The longest step: the document's output interval.
    double longestStep() const { return hMax_; }
    double start() const { return tStart_; }

private:
    bool step(double h);

    CompiledDocument& document_;
    double t_ = 0;
    double tStart_ = 0;
    double hMax_ = 0;
    double hMin_ = 0;
    double hNext_ = 0;
};

}  // namespace tavlix
