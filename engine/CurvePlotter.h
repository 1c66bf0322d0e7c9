// Turns a graph generation's output points into the strokes of its curves: gaps, edges, poles and table points.
#pragma once

#include "engine/Model.h"
#include "engine/RunState.h"

namespace tavlix {

// Readies every entry for a new sampling: the next call only starts the curves.
void startCurves(Model& model);
// Draws the entries that show a table of points: its own points, once, since they are not sampled.
void plotTables(Model& model);
// Every curve's point at the current t.
void plotOutputs(Model& model, RunState& run);

}  // namespace tavlix
