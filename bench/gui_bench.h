// What the window benchmarks share.
#pragma once

#include "workspace/MainWindow.h"
#include "workspace/ScriptPage.h"

#include <QAction>

// Closes every page without asking to save, so that the window can go away between benchmarks.
inline void CloseAll(MainWindow& window)
{
    while (window.pageCount() > 0) {
        window.activatePage(window.page(window.pageCount() - 1));
        if (auto* script = window.activeScriptPage())
            script->setModified(false);
        window.onClosePage();
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
