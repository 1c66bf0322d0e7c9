// The batch mode's analysis files: a fit of constants, and per graph page its points, tangents and areas.
#pragma once

#include "compiler/ListParameters.h"
#include "support/DocumentFile.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What the command line asked to analyse; names in Windows-1252 as typed.
struct AnalysisRequest {
    std::vector<std::string> fitConstants;          // --fit; empty for no fit
    std::string fitData;                            // --data
    std::string fitModel;                           // --model
    bool points = false;                            // --points
    std::optional<double> tangentAt;                // --tangent T0
    std::optional<std::pair<double, double>> area;  // --area A,B

    bool any() const { return !fitConstants.empty() || points || tangentAt || area; }
};

// Runs the requested analyses of one document and writes their files at pathFor(caption, extension); false when an
// analysis failed or a file could not be written, with one UTF-8 line per failure in errors.
bool writeAnalysisFiles(const AnalysisRequest& request, const tavlix::Document& doc, const std::string& caption,
                        const tavlix::ListPicks& picks,
                        const std::function<std::string(const std::string&, const char*)>& pathFor,
                        std::vector<std::string>& errors);
