// The batch mode's accuracy files: for every page from differential equations, CAPTION.accuracy.tsv beside it.
#pragma once

#include "compiler/ListParameters.h"
#include "engine/SolverStatistics.h"
#include "support/DocumentFile.h"

#include <functional>
#include <string>
#include <vector>

namespace tavlix {
struct AccuracyReport;
}

// A page of the run whose values came from an integration.
struct IntegratedPage {
    std::string caption;  // Windows-1252
    int pageNumber = 0;   // among the run's result pages, from 1
    tavlix::SolverStatistics statistics;
};

// KEY<TAB>VALUE lines: the statistics, then deviation:NAME for each output variable (names in UTF-8, numbers
// with 17 significant digits and a point); instead of the deviations "status failed" for a page whose own run
// failed, or "reference failed" and the reference's error for a failed reference run.
std::string accuracyFileText(const tavlix::SolverStatistics& statistics, const tavlix::AccuracyReport& report);

// Measures each page against its reference and writes its file at pathFor(caption); false when a measurement or a
// file failed, with one UTF-8 line per failure in errors, and one in notices per failed reference run.
bool writeAccuracyFiles(const std::vector<IntegratedPage>& pages, const tavlix::SettingsTexts& settings,
                        const std::vector<std::string>& lines,
                        const std::function<std::string(const std::string&)>& pathFor, std::vector<std::string>& errors,
                        std::vector<std::string>& notices, const tavlix::ListPicks& picks = {});
