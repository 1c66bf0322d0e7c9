// The engine's way into the window: result pages, notice boxes, the general error report and the status line.
#pragma once

#include "engine/EngineHost.h"

class MainWindow;

class WindowEngineHost : public tavlix::EngineHost {
public:
    explicit WindowEngineHost(MainWindow& window) : window_(window) {}

    tavlix::TableSink* createTablePage(const std::string& caption) override;
    tavlix::GraphSink* createGraphPage(const std::string& caption) override;
    void showNoticeText(const std::string& text) override;
    void reportFault(const std::string& text) override;
    void showScriptError(const std::string& message) override;
    bool keepGoing() override;
    // The locale's, as the user reads numbers.
    char decimalSeparator() const override;

    // Whether the status line was written since the last reset; the run driver reports at most once.
    bool errorShown = false;

private:
    MainWindow& window_;
};
