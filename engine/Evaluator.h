// Runs a record's reverse-polish code on the model's stack; the value cache and domains of records.
#pragma once

#include "engine/Model.h"

void Evaluate(datarec& model, int r);
double ValueAt(datarec& model, int r);
void Push(datarec& model, double v);
bool ApproxEqual(double a, double b);
double ArcSin(double x);
double Power(double a, double b);
double IntPower(double a, long n);
// Abandons the run on a fault no check catches (text non-empty: Windows-1252) or on the user's wish (empty):
// sets Abandoned, FaultText and EvalFailed. Whoever ends the run (ScriptCompiler::Run) shows a non-empty
// FaultText through the host's general error report. A second call in the same run keeps the first text.
void AbandonRun(const char* text);
// Rounds an extended-precision result to double; a result beyond the double range abandons the run and gives 0.
double RoundChecked(long double v);
