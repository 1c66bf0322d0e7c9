// Fits plain-number constants of a document so that a model of the script meets a data table in the least-squares
// sense, with the standard errors and the fit's measures a teacher reads.
#pragma once

#include "analysis/CompiledDocument.h"

#include <string>
#include <vector>

namespace tavlix {

// What to fit: names as the script writes them, in any case (Windows-1252).
struct FitRequest {
    std::string table;                   // the data: x is read as t
    std::string model;                   // a function or differential-equation variable
    std::vector<std::string> constants;  // plain-number constants, started from their values in the script
};

struct FittedConstant {
    std::string name;  // as the script writes it
    double value = 0;
    double standardError = 0;
};

enum class FitOutcome { Converged, NotConverged, ModelUndefined, Refused };

struct FitResult {
    FitOutcome outcome = FitOutcome::Refused;
    std::string message;                    // why it failed (Windows-1252); empty when it converged
    std::vector<FittedConstant> constants;  // the fitted values, or the last ones tried when it failed
    double rms = 0;                         // the residuals' root mean square
    double r2 = 0;                          // the share of the data's variance the model explains
    int iterations = 0;
    bool converged() const { return outcome == FitOutcome::Converged; }
};

class ConstantFit {
public:
    // The document is recompiled with each trial set of values; it is left compiled with the script's own values.
    explicit ConstantFit(CompiledDocument& document) : document_(document) {}
    FitResult fit(const FitRequest& request);

    // The model's values at the table's x for these constant values; false where the model has none.
    bool modelValues(const std::vector<double>& values, std::vector<double>& out);

private:
    // Checks the request against the compiled script; an empty text when it can be fitted.
    std::string refusal(const FitRequest& request);
    void measure(FitResult& result, const std::vector<double>& values);

    CompiledDocument& document_;
    std::vector<std::string> keys_;  // the constants in lower case
    std::string model_;
    std::vector<double> starts_;  // the constants' values in the script
    std::vector<double> xs_;
    std::vector<double> ys_;
};

}  // namespace tavlix
