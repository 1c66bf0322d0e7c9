// The graph pages a run of a document makes, seen as curves against t: what each curve draws and its samples.
#pragma once

#include "compiler/ListParameters.h"
#include "support/CoordinateSettings.h"
#include "support/DocumentFile.h"

#include <string>
#include <vector>

namespace tavlix {

// A curve of a graph page whose x is t, with the values the page drew.
struct SampledCurve {
    int entry = 0;     // the curve's number on its page, from 1
    int record = 0;    // the record drawn as y
    std::string name;  // as the legend names it (Windows-1252)
    std::vector<double> t;
    std::vector<double> y;
    std::vector<bool> defined;
};

struct GraphPageCurves {
    std::string caption;  // Windows-1252
    std::vector<SampledCurve> curves;
};

class GraphPages {
public:
    // Runs the document as "Kør" does, keeping only the graph pages' curves against t; false with the run's message
    // (Windows-1252) when it ends on an error or is abandoned.
    bool collect(const SettingsTexts& settings, const std::vector<std::string>& lines, const std::string& caption,
                 const ListPicks& picks = {});
    const std::vector<GraphPageCurves>& pages() const { return pages_; }
    const std::string& errorMessage() const { return error_; }

private:
    std::vector<GraphPageCurves> pages_;
    std::string error_;
};

}  // namespace tavlix
