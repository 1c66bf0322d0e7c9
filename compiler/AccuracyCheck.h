// How accurate a result page from differential equations is: its page run again, measured against a finer run.
#pragma once

#include "compiler/ListParameters.h"
#include "engine/EngineHost.h"
#include "engine/SolverStatistics.h"
#include "support/DocumentFile.h"

#include <string>
#include <vector>

namespace tavlix {

// One coordinate of an output against the reference.
struct CoordinateDeviation {
    double deviation = 0;  // the largest difference from the reference at the page's output points
    double low = 0;        // the range of its values on the page
    double high = 0;

    // The deviation as a share of the range; 0 when the range is empty.
    double relative() const { return high > low ? deviation / (high - low) : 0; }
};

// One output variable of the page against the reference.
struct OutputDeviation {
    std::string name;          // Windows-1252: the variable's name, or "x,y" for a curve whose x is not t
    std::string xName, yName;  // a curve in the plane: its two variables
    bool inPlane = false;      // a curve whose x is not t: both coordinates count
    CoordinateDeviation y;     // the variable, or the curve's y
    CoordinateDeviation x;     // a curve in the plane only: its x
    bool measured = false;     // some output point had a value on the page and in the reference

    // The larger of the coordinates' deviations.
    double deviation() const { return inPlane && x.deviation > y.deviation ? x.deviation : y.deviation; }
};

struct AccuracyReport {
    bool complete = false;                   // both runs made the page to its end without being interrupted
    bool fromDifferentialEquations = false;  // the page's values come from an integration
    // The page's own run ended on an error while making the page: its numbers stop there, nothing is measured.
    bool pageFailed = false;
    std::string pageError;  // its status-line message (Windows-1252)
    // The reference ended on an error while making the page, and the page did not: the deviations cover only the
    // points until then.
    bool referenceFailed = false;
    std::string referenceError;   // its status-line message (Windows-1252)
    SolverStatistics statistics;  // of the page's own integration
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

// What the dialog and the batch mode say of a failed reference run (Windows-1252), the same words in both.
std::string referenceFailureText(const AccuracyReport& report);

// Runs the pageNumber-th result page of one run of the script (counting from 1) again as it was made, and once
// more with the reference settings, and compares the two at the page's output points. No other page is
// generated. Only the host's keepGoing and keepStepping are used: they can interrupt either run. Both runs use the
// picked list values.
AccuracyReport measureAccuracy(const SettingsTexts& settings, const std::vector<std::string>& lines, int pageNumber,
                               EngineHost& host, const ListPicks& picks = {});

}  // namespace tavlix
