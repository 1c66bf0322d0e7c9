// Receives the values of a generation's output points as numbers, for measuring how accurate a page is.
#pragma once

#include "engine/ScriptError.h"

namespace tavlix {

struct Model;

class OutputProbe {
public:
    virtual ~OutputProbe() = default;
    // A page's generation starts: the model holds its output variables and its output interval.
    virtual void beginPage(const Model& model) = 0;
    // An output variable's value at an output point: a table column's value in y (x is then t), or a curve's
    // point; defined is false where it has no value.
    virtual void outputValue(int entry, double t, double x, double y, bool defined) = 0;
    // The page's generation ended with this code (None when it reached its end).
    virtual void endPage(ScriptError) {}
};

}  // namespace tavlix
