// How accurate a result page from differential equations is: its page run again, measured against a finer run.
#pragma once

#include "compiler/ListParameters.h"
#include "engine/EngineHost.h"
#include "engine/SolverStatistics.h"
#include "support/DocumentFile.h"

#include <string>
#include <vector>

namespace tavlix {

// One output variable of the page against the reference.
struct OutputDeviation {
    std::string name;      // Windows-1252: the variable's name, or "x,y" for a curve whose x is not t
    double deviation = 0;  // the largest difference from the reference at the page's output points
    double low = 0;        // the range of its values on the page
    double high = 0;
    bool measured = false;  // some output point had a value on the page and in the reference

    // The deviation as a share of the range; 0 when the range is empty.
    double relative() const { return high > low ? deviation / (high - low) : 0; }
};

struct AccuracyReport {
    bool complete = false;                   // both runs made the page to its end without being interrupted
    bool fromDifferentialEquations = false;  // the page's values come from an integration
    bool referenceFailed = false;            // the reference ended on an error the page run did not meet
    SolverStatistics statistics;             // of the page's own integration
    std::vector<OutputDeviation> outputs;

    // Whether every accepted step had the length the output points gave it.
    bool allStepsSetByOutput() const
    {
        return statistics.acceptedSteps > 0 && statistics.stepsSetByOutput == statistics.acceptedSteps;
    }
};

// The reference run's settings: both tolerances divided by 100 and the output interval halved (TDelta halved, or
// TAntal doubled when TDelta is 0), so that the reference's steps are at most half as long.
SettingsTexts referenceSettings(const SettingsTexts& settings);

// Runs the pageNumber-th result page of one run of the script (counting from 1) again as it was made, and once
// more with the reference settings, and compares the two at the page's output points. No other page is
// generated. Only the host's keepGoing is used: it can interrupt either run. Both runs use the picked list values.
AccuracyReport measureAccuracy(const SettingsTexts& settings, const std::vector<std::string>& lines, int pageNumber,
                               EngineHost& host, const ListPicks& picks = {});

}  // namespace tavlix
