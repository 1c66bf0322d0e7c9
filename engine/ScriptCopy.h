// A private copy of a run's compiled script, for work that goes on after the run (fields, curves computed anew).
#pragma once

#include "engine/Model.h"

namespace tavlix {

// Copies what the evaluator and the generator read into the model, with a solver state sized to match; the list
// constants are copied too, not shared.
void copyCompiledScript(const CompiledScript& from, Model& to);

}  // namespace tavlix
