// Runge-Kutta-Fehlberg 4(5) integration of the differential equations, with output at every output time.
#pragma once

#include "engine/Model.h"

void Integrate(datarec& model);
void Step(datarec& model);
void Derivatives(datarec& model);
