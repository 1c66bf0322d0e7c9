// The edit, find and graph commands, and the dialogs they open.
#include "workspace/MainWindow.h"

#include "workspace/AboutDialog.h"
#include "workspace/CoordinatesDialog.h"
#include "workspace/FindDialog.h"
#include "workspace/GraphPage.h"
#include "workspace/PrintSizeDialog.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"
#include "workspace/SectionHeaderEdit.h"

#include <QApplication>
#include <QLineEdit>
#include <QTextCursor>

void MainWindow::onCut()
{
    if (ScriptPage* script = activeScriptPage())
        script->editor()->cut();
}

void MainWindow::onCopy()
{
    if (Page* page = activePage())
        page->copyToClipboard();
}

void MainWindow::onPaste()
{
    if (ScriptPage* script = activeScriptPage())
        script->editor()->paste();
}

void MainWindow::onDelete()
{
    if (ScriptPage* script = activeScriptPage())
        script->editor()->textCursor().removeSelectedText();
}

void MainWindow::onSelectAll()
{
    if (ScriptPage* script = activeScriptPage())
        script->editor()->selectAll();
}

void MainWindow::insertSectionHeader(Section section)
{
    ScriptPage* script = activeScriptPage();
    if (!script)
        return;
    SectionHeaderEdit(*script->editor()->document(), section).apply(*script->editor());
    script->editor()->setFocus();
}

void MainWindow::onFind()
{
    findDialog_->show();
    findDialog_->raise();
    findDialog_->activateWindow();
}

// The search works on the active script page only; with another page active it does nothing.
void MainWindow::findNext()
{
    ScriptPage* script = activeScriptPage();
    if (!script) {
        QApplication::beep();
        return;
    }
    ScriptEditor* editor = script->editor();
    const QString what = findDialog_->findText();
    const QString text = editor->toPlainText();
    QTextCursor c = editor->textCursor();
    const int s = c.selectionStart();
    const int l = c.selectionEnd() - s;
    const bool forward = findDialog_->searchesForward();
    const int begin = forward ? s + l : 0;
    const int length = forward ? static_cast<int>(text.size()) - (s + l) : s;
    int p = FindDialog::findInRange(text, begin, length, what, findDialog_->matchCase(), findDialog_->wholeWord());
    if (p < 0) {
        if (prompts_.showMessage)
            prompts_.showMessage(QString("Kan ikke finde \"%1\"").arg(what));
        return;
    }
    c.setPosition(p);
    c.setPosition(p + static_cast<int>(what.size()), QTextCursor::KeepAnchor);
    editor->setTextCursor(c);
    editor->setFocus();
}

void MainWindow::onCoordinates()
{
    // On a result page the settings are its document's.
    ScriptPage* script = documentOf(activePage());
    if (!script)
        return;
    Page* shown = activePage();
    if (coordinatesDialog_->edit(script->settings()))
        script->markModified();
    // OK or Cancel, the work goes on where it was: typing in the script, or on the result page.
    if (shown == script)
        script->editor()->setFocus();
    else
        shown->setFocus();
}

void MainWindow::onPrintSize()
{
    if (auto* graph = qobject_cast<GraphPage*>(activePage()))
        graph->askPrintSize();
}

void MainWindow::onAddLabel()
{
    auto* graph = qobject_cast<GraphPage*>(activePage());
    if (!graph)
        return;
    graph->armLabelTool();
    labelTextEdit_->show();
    labelTextEdit_->setFocus();
}

void MainWindow::onLabelTextEntered()
{
    if (auto* graph = qobject_cast<GraphPage*>(activePage()))
        graph->awaitLabelClick();
}

void MainWindow::onFitGraph()
{
    if (auto* graph = qobject_cast<GraphPage*>(activePage()))
        graph->fitToWindow();
}

void MainWindow::onZoomBack()
{
    if (auto* graph = qobject_cast<GraphPage*>(activePage()))
        graph->stepBack();
}

void MainWindow::onAbout()
{
    aboutDialog_->exec();
}
