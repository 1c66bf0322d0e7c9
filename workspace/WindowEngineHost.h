// The engine's way into the window: result pages, the notice panel, the general error report and the status line.
// A run's calls arrive as batches from its worker thread and are replayed here, in order, on the window's thread.
#pragma once

#include "engine/EngineHost.h"
#include "workspace/ResultOrigin.h"

#include <QPointer>

#include <memory>
#include <vector>

class Page;
class QElapsedTimer;
class RunWindow;
struct RunBatch;
struct RunStep;

class WindowEngineHost : public tavlix::EngineHost {
public:
    explicit WindowEngineHost(RunWindow& window) : window_(window) {}

    tavlix::TableSink* createTablePage(const std::string& caption) override;
    tavlix::GraphSink* createGraphPage(const std::string& caption) override;
    // Notices go to the notice panel, never to a box: the run draws on to its end.
    void showNotice(tavlix::Notice notice, double t) override;
    void showNoticeText(const std::string& text) override;
    void reportFault(const std::string& text) override;
    void showScriptError(const std::string& message) override;
    // The locale's, as the user reads numbers.
    char decimalSeparator() const override;
    // The page made last keeps its run and its statistics, for the status bar and the accuracy command.
    void integrationFinished(const tavlix::SolverStatistics& statistics) override;

    // A run of this source starts: its pages count from 1.
    void beginRun(std::shared_ptr<const RunSource> source);
    // Replays the batch's calls from next on until the budget is spent; true when the batch is done.
    bool replay(RunBatch& batch, std::size_t& next, const QElapsedTimer& clock, qint64 budgetMs);

    // Whether the status line was written since the last reset; the run driver reports at most once.
    bool errorShown = false;

private:
    // A page the run made, under the number the worker gave it; null sinks when the window refused it.
    struct RunPage {
        QPointer<Page> page;
        tavlix::TableSink* table = nullptr;
        tavlix::GraphSink* graph = nullptr;
    };
    void replayStep(RunBatch& batch, const RunStep& step);
    void replayTableStep(const RunBatch& batch, const RunStep& step, tavlix::TableSink& table);
    void replayGraphStep(RunBatch& batch, const RunStep& step, tavlix::GraphSink& graph);
    void addRunPage(int number, tavlix::TableSink* table, tavlix::GraphSink* graph);
    tavlix::TableSink* madePage(tavlix::TableSink* sink);
    tavlix::GraphSink* madePage(tavlix::GraphSink* sink);

    RunWindow& window_;
    std::shared_ptr<const RunSource> source_;
    int pagesMade_ = 0;  // asked for, made or not: the numbering the run's own pages follow
    QPointer<Page> lastPage_;
    std::vector<RunPage> runPages_;
};
