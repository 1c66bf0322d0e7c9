// Makes the table and graph pages of an output section by sampling t or following the solver.
#pragma once

#include "engine/Model.h"

#include <string>

// caption is the script page's caption (Windows-1252); resultCount its ResultCount, by reference.
// Both return the engine's error code (13, 19, 22, 25) when the generation ended early, else 0;
// the compiler takes it over into its ErrorCode. After an abandoned run (Eng.Abandoned) they return 0.
// Every generation starts with EngineError, EvalFailed and StopFlag cleared, and calls the host's KeepGoing
// after every output point.
int MakeTable(datarec& model, const std::string& caption, int& resultCount);
int MakeGraph(datarec& model, const std::string& caption, int& resultCount);
bool GenStart(datarec& model);
void OutputPoint(datarec& model);
void PlotPoints(datarec& model);
// The cell text of the "%12.6g" pattern with the given decimal separator.
std::string CellText(double v, char decimalSeparator);
