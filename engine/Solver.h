// Runge-Kutta-Fehlberg 4(5) integration of the differential equations, with output at every output time.
#pragma once

#include "engine/Model.h"
#include "engine/RunState.h"

namespace tavlix {

void integrate(Model& model, RunState& run);
void rkfStep(Model& model, RunState& run);
void evaluateDerivatives(Model& model, RunState& run);

}  // namespace tavlix
