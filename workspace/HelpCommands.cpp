// The editor's undo and redo, and the script language's help.
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
    const ScriptPage* script = activeScriptPage();
    help->showEntry(script ? script->editor()->wordAtCaret() : QString());
}
