// Makes the table and graph pages of an output section by sampling t or following the solver.
#pragma once

#include "engine/Model.h"
#include "engine/RunState.h"

#include <string>

namespace tavlix {

// caption is the script page's caption (Windows-1252); resultCount its result page count, by reference.
// Both return the engine's error (StackOverflow, StopConditionMet, ToleranceNotMet, CannotCompute) when the
// generation ended early, else None; the compiler takes it over. After an abandoned run they return None.
// Every generation starts with the model's error and the run's failed and stopped cleared, and calls the host's
// keepGoing after every output point.
ScriptError generateTable(Model& model, RunState& run, const std::string& caption, int& resultCount);
ScriptError generateGraph(Model& model, RunState& run, const std::string& caption, int& resultCount);
bool prepareGeneration(Model& model, RunState& run);
void outputPoint(Model& model, RunState& run);
// The k-th output time, tStart + k * tStep by one multiplication so that no rounding piles up over the steps;
// a time within tStep / 10000 of tEnd is tEnd.
double outputTime(const Model& model, long long k);
// The graph loop of a script without differential equations: the curves from tStart to tEnd (half a step
// beyond at most, and tEnd itself) with the step tStep, all three from the model.
void sampleCurves(Model& model, RunState& run);
// The cell text of the "%12.6g" pattern with the given decimal separator.
std::string formatCell(double v, char decimalSeparator);

}  // namespace tavlix
