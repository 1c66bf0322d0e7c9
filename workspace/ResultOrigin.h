// Where a result page's values came from, kept so that its accuracy can be measured after the script has changed.
#pragma once

#include "compiler/ListParameters.h"
#include "engine/SolverStatistics.h"
#include "support/DocumentFile.h"

#include <memory>
#include <string>
#include <vector>

// The settings, script lines (Windows-1252) and list values of one run, shared by the pages it made.
struct RunSource {
    tavlix::SettingsTexts settings;
    std::vector<std::string> lines;
    tavlix::ListPicks picks;
};

// A result page from differential equations: its run, its place among that run's pages, its integration.
struct ResultOrigin {
    std::shared_ptr<const RunSource> source;
    int pageNumber = 0;  // from 1
    tavlix::SolverStatistics statistics;
};
