// The engine's way into the window: result pages, notice boxes, the general error report and the status line.
#pragma once

#include "engine/EngineHost.h"

class MainWindow;

class WindowEngineHost : public EngineHost {
public:
    explicit WindowEngineHost(MainWindow& window) : window_(window) {}

    TableTarget* LavTabel(const std::string& caption) override;
    GraphTarget* LavGraf(const std::string& caption) override;
    void Notice(const char* text) override;
    void GeneralError(const std::string& text) override;
    void ShowStatus(const std::string& message) override;
    bool KeepGoing() override;
    // The locale's, as the user reads numbers.
    char DecimalSeparator() const override;

    // Whether the status line was written since the last reset; the run driver reports at most once.
    bool errorShown = false;

private:
    MainWindow& window_;
};
