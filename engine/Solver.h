// Runge-Kutta-Fehlberg 4(5) integration of the differential equations, with output at every output time.
#pragma once

#include "engine/Model.h"
#include "engine/RunState.h"

namespace tavlix {

// How one adaptive step ended: accepted, ended by a failed evaluation or interruption, or stuck below the
// smallest step (or no longer moving t).
enum class StepOutcome { Accepted, Ended, Stuck };

void integrate(Model& model, RunState& run);
void rkfStep(Model& model, RunState& run);
void evaluateDerivatives(Model& model, RunState& run);

// The adaptive step loop shared by the run and the solution through a point, in rkf.direction. aimStep sets up
// an attempt of rkf.hNext from run.t, ending exactly on stop where it would pass it (true then); takeStep makes
// the attempt, halving it on every rejection down to rkf.hMin, and lets rkf.hNext double up to rkf.hMax after a
// step well inside the tolerances.
bool aimStep(Model& model, const RunState& run, double stop);
StepOutcome takeStep(Model& model, RunState& run, bool setByOutput);
// False when the stepping ends after its steps-th step: the host interrupted it, or it reached rkf.maxSteps.
bool mayStepOn(Model& model, RunState& run, long long steps);

}  // namespace tavlix
