// The engine's way into the window: result pages, the notice panel, the general error report and the status line.
#pragma once

#include "engine/EngineHost.h"
#include "workspace/ResultOrigin.h"

#include <QPointer>

#include <memory>

class MainWindow;
class Page;

class WindowEngineHost : public tavlix::EngineHost {
public:
    explicit WindowEngineHost(MainWindow& window) : window_(window) {}

    tavlix::TableSink* createTablePage(const std::string& caption) override;
    tavlix::GraphSink* createGraphPage(const std::string& caption) override;
    // Notices go to the notice panel, never to a box: the run draws on to its end.
    void showNotice(tavlix::Notice notice, double t) override;
    void showNoticeText(const std::string& text) override;
    void reportFault(const std::string& text) override;
    void showScriptError(const std::string& message) override;
    bool keepGoing() override;
    bool keepStepping() override { return keepGoing(); }
    // The locale's, as the user reads numbers.
    char decimalSeparator() const override;
    // The page made last keeps its run and its statistics, for the status bar and the accuracy command.
    void integrationFinished(const tavlix::SolverStatistics& statistics) override;

    // A run of this source starts: its pages count from 1.
    void beginRun(std::shared_ptr<const RunSource> source);

    // Whether the status line was written since the last reset; the run driver reports at most once.
    bool errorShown = false;

private:
    tavlix::TableSink* madePage(tavlix::TableSink* sink);
    tavlix::GraphSink* madePage(tavlix::GraphSink* sink);

    MainWindow& window_;
    std::shared_ptr<const RunSource> source_;
    int pagesMade_ = 0;  // asked for, made or not: the numbering the run's own pages follow
    QPointer<Page> lastPage_;
};
