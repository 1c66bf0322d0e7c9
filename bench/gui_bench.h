// What the window benchmarks share.
#pragma once

#include "workspace/Documents.h"
#include "workspace/MainWindow.h"
#include "workspace/RunController.h"
#include "workspace/ScriptPage.h"

#include <QAction>
#include <QApplication>

#include <benchmark/benchmark.h>

// Lets the window work until no run is under way or waiting, as a user waits for the pages.
inline void WaitIdle(MainWindow& window)
{
    QApplication::processEvents();
    while (!window.runs().idle())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
}

// Closes every page without asking to save, so that the window can go away between benchmarks.
inline void CloseAll(MainWindow& window)
{
    while (window.pageCount() > 0) {
        window.activatePage(window.page(window.pageCount() - 1));
        if (auto* script = window.activeScriptPage())
            script->setModified(false);
        window.documents().closePage();
    }
}

// A shown 1000 × 700 window that opens nothing by itself and refreshes a document's pages on each run.
struct BenchWindow {
    MainWindow window;
    BenchWindow()
    {
        window.openStartFilesOnShow = false;
        window.action(Command::KeepResults)->setChecked(false);
        window.resize(1000, 700);
        window.show();
    }
    ~BenchWindow() { CloseAll(window); }
};

// The main of every window benchmark: offscreen unless a display is given.
inline int RunWindowBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
