// Passes a run's messages on to its host, but not a notice at every point of a long run.
#pragma once

#include "engine/EngineHost.h"

#include <string>

namespace tavlix {

// A notice at every point of a long run would bury the user under message boxes that must each be answered
// before the run can be stopped: the first few are shown, the rest are counted.
class NoticeLimiter : public EngineHost {
public:
    static constexpr int MaxNoticesPerRun = 5;

    // Without limits every notice passes: for a run whose notices another run counts with its own.
    explicit NoticeLimiter(EngineHost& host, bool limits = true) : host_(host), limits_(limits) {}
    TableSink* createTablePage(const std::string& caption) override { return host_.createTablePage(caption); }
    GraphSink* createGraphPage(const std::string& caption) override { return host_.createGraphPage(caption); }
    void showNotice(Notice notice, double t) override;
    void showNoticeText(const std::string& text) override { host_.showNoticeText(text); }
    void reportFault(const std::string& text) override { host_.reportFault(text); }
    void showScriptError(const std::string& message) override { host_.showScriptError(message); }
    bool keepGoing() override { return host_.keepGoing(); }
    bool keepStepping() override { return host_.keepStepping(); }
    char decimalSeparator() const override { return host_.decimalSeparator(); }
    void integrationFinished(const SolverStatistics& statistics) override { host_.integrationFinished(statistics); }
    // One last notice that says how many were not shown.
    void sumUp();

private:
    EngineHost& host_;
    bool limits_;
    long long count_ = 0;
};

}  // namespace tavlix
