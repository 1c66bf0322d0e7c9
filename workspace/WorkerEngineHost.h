// The engine host on the run's worker thread: the engine's calls are recorded in batches that the window replays,
// and its pages are stand-ins that answer what the engine asks of them.
#pragma once

#include "engine/EngineHost.h"
#include "workspace/RunBatch.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class WorkerEngineHost : public tavlix::EngineHost {
public:
    using Post = std::function<void(std::unique_ptr<RunBatch>)>;
    struct Limits {
        int maxPages = 0;
        long long maxTableCells = 0;
        char decimalSeparator = '.';
        std::size_t memoryLimit = 0;  // bytes; beyond it the run is stopped
    };
    // stop: set by the window (Escape, a closing page or window, a slider move) and by the worker's own limits.
    WorkerEngineHost(std::atomic<bool>& stop, const Limits& limits, Post post);
    ~WorkerEngineHost() override;

    tavlix::TableSink* createTablePage(const std::string& caption) override;
    tavlix::GraphSink* createGraphPage(const std::string& caption) override;
    void showNotice(tavlix::Notice notice, double t) override;
    void showNoticeText(const std::string& text) override;
    void reportFault(const std::string& text) override;
    void showScriptError(const std::string& message) override;
    // Reads the stop flag only; the window is never waited for.
    bool keepGoing() override;
    bool keepStepping() override { return keepGoing(); }
    char decimalSeparator() const override { return limits_.decimalSeparator; }
    void integrationFinished(const tavlix::SolverStatistics& statistics) override;

    // Sends what is left as the last batch.
    void finish();

private:
    class TableProxy;
    class GraphProxy;
    friend class TableProxy;
    friend class GraphProxy;

    RunStep& record(RunCall call, int page = -1);
    RunStep& recordText(RunCall call, int page, std::string_view text);
    // A page, while the run may make one more; the window hears of the request either way.
    template <class Proxy, class Sink>
    Sink* createPage(std::vector<std::unique_ptr<Sink>>& pages, RunCall call, const std::string& caption);
    // An object beside the step, in the batch the step lands in (recording may have posted the one before).
    template <typename T, typename V>
    void recordObject(RunCall call, int page, std::vector<T> RunBatch::*list, V&& value)
    {
        RunStep& step = record(call, page);
        std::vector<T>& objects = (*batch_).*list;
        step.a = static_cast<int>(objects.size());
        objects.push_back(std::forward<V>(value));
    }
    void stopForMemory();
    void postIfDue();
    void post(bool last);

    std::atomic<bool>& stop_;
    Limits limits_;
    Post post_;
    std::unique_ptr<RunBatch> batch_;
    std::vector<std::unique_ptr<tavlix::TableSink>> tables_;
    std::vector<std::unique_ptr<tavlix::GraphSink>> graphs_;
    int pagesAsked_ = 0;
    int nextPage_ = 0;
    unsigned sinceClockRead_ = 0;
    std::chrono::steady_clock::time_point lastPost_;
    std::chrono::steady_clock::time_point lastMemoryCheck_;
};
