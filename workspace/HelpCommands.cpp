// The editor's undo and redo, and the program's help.
#include "workspace/MainWindow.h"

#include "workspace/HelpWindow.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"

void MainWindow::onUndo()
{
    if (ScriptPage* script = activeScriptPage())
        script->editor()->undo();
}

void MainWindow::onRedo()
{
    if (ScriptPage* script = activeScriptPage())
        script->editor()->redo();
}

void MainWindow::onLanguageHelp()
{
    // One help window for the whole program, made when first asked for.
    auto* help = findChild<HelpWindow*>();
    if (!help)
        help = new HelpWindow(this);
    // A result page opens its own chapter; the script opens at the word under the caret.
    const PageKind kind = activePage() ? activePage()->kind() : PageKind::Script;
    if (kind == PageKind::Graph)
        help->showChapter(HelpChapter::GraphPage);
    else if (kind == PageKind::Table)
        help->showChapter(HelpChapter::TablePage);
    else if (const ScriptPage* script = activeScriptPage())
        help->showEntry(script->editor()->wordAtCaret());
    else
        help->showChapter(HelpChapter::Script);
}
