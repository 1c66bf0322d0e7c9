// Watches an integration as it runs and keeps what a later section with the same output times needs to replay it.
#pragma once

#include "engine/EngineHost.h"
#include "engine/IntegrationStore.h"
#include "engine/RunState.h"

namespace tavlix {

// Stands between the steps and the run's host while they step, to hear their notices; the outputs talk to the
// host directly, as their replay will. What it kept goes to the run's store when the integration ends, unless
// the run was abandoned (then its points stop short of the end) or it grew beyond the store's room.
class IntegrationRecorder : public EngineHost {
public:
    // The steps may give a notice at every step; beyond this many the integration is not kept.
    static constexpr std::size_t MaxNotices = 10000;

    IntegrationRecorder(Model& model, RunState& run);
    ~IntegrationRecorder() override;
    IntegrationRecorder(const IntegrationRecorder&) = delete;
    IntegrationRecorder& operator=(const IntegrationRecorder&) = delete;

    // The integration stands at an output point, before its outputs; a second call at the same t adds nothing.
    void point();
    // Runs steps (a callable returning whether the integration goes on) with the host's notices heard.
    template <typename Steps>
    bool step(Steps steps)
    {
        if (!recording_ || !run_.host)
            return steps();
        const bool stopped = run_.stopped;
        run_.host = this;
        const bool more = steps();
        run_.host = host_;
        kept_.stoppedInSteps = kept_.stoppedInSteps || (!stopped && run_.stopped);
        return more;
    }

    TableSink* createTablePage(const std::string& caption) override { return host_->createTablePage(caption); }
    GraphSink* createGraphPage(const std::string& caption) override { return host_->createGraphPage(caption); }
    void showNotice(Notice notice, double t) override;
    void showNoticeText(const std::string& text) override { host_->showNoticeText(text); }
    void reportFault(const std::string& text) override { host_->reportFault(text); }
    void showScriptError(const std::string& message) override { host_->showScriptError(message); }
    bool keepGoing() override { return host_->keepGoing(); }
    bool keepStepping() override { return host_->keepStepping(); }
    char decimalSeparator() const override { return host_->decimalSeparator(); }
    void integrationFinished(const SolverStatistics& statistics) override { host_->integrationFinished(statistics); }

private:
    void stopRecording();

    Model& model_;
    RunState& run_;
    EngineHost* host_;
    KeptIntegration kept_;
    bool recording_;
};

}  // namespace tavlix
