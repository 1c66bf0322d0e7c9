// What the window benchmarks share.
#pragma once

#include "workspace/MainWindow.h"
#include "workspace/ScriptPage.h"

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
