// Runs a record's reverse-polish code on the model's stack; the value cache and domains of records.
#pragma once

#include "engine/Model.h"
#include "engine/RunState.h"

namespace tavlix {

void evaluateRecord(Model& model, RunState& run, int r);
double valueAt(Model& model, RunState& run, int r);
bool approxEqual(double a, double b);
double arcSin(double x);
double power(RunState& run, double a, double b);
double wholePower(RunState& run, double a, long n);
// Abandons the run on a fault no check catches (text non-empty: Windows-1252) or on the user's wish (empty):
// sets abandoned, faultText and failed. Whoever ends the run (ScriptCompiler::run) shows a non-empty
// faultText through the host's fault report. A second call in the same run keeps the first text.
void abandonRun(RunState& run, const char* text);
// Rounds an extended-precision result to double; a result beyond the double range abandons the run and gives 0.
double roundToDouble(RunState& run, long double v);

}  // namespace tavlix
