// What one run knows besides its model: where t stands, whether the computation failed, and where pages go.
#pragma once

#include "engine/IntegrationStore.h"
#include "engine/ShortString.h"

namespace tavlix {

class EngineHost;
class OutputProbe;

// Created by whoever starts a run and passed by reference to the evaluator, the solver and the generator, so two
// runs never share it.
struct RunState {
    double t = 0;
    bool failed = false;
    bool stopped = false;        // a stop condition was met
    bool outputIsGraph = false;  // the output section being generated is a graph
    // The pole search is evaluating: a result beyond the double range fails the value instead of the run.
    bool probing = false;
    ShortString<25> failedName;  // the record that could not be computed, for the message
    // A fault no check catches (a floating-point overflow) or an interrupted run: the run is abandoned.
    // faultText is Windows-1252; empty for a plain interruption by the user.
    bool abandoned = false;
    ShortString<120> faultText;
    // Where notices and pages go; never null during a run.
    EngineHost* host = nullptr;
    // Receives every output value as a number; null unless the run measures accuracy.
    OutputProbe* probe = nullptr;
    // The run's integrations: a later section with the same output times replays one instead of stepping.
    IntegrationStore integrations;
};

}  // namespace tavlix
