// The edit, find and graph commands, and the dialogs they open.
#include "workspace/MainWindow.h"

#include "workspace/AboutDialog.h"
#include "workspace/CoordinatesDialog.h"
#include "workspace/FindDialog.h"
#include "workspace/GraphPage.h"
#include "workspace/PrintSizeDialog.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"

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

void MainWindow::insertSectionHeader(const QString& header)
{
    ScriptPage* script = activeScriptPage();
    if (!script)
        return;
    script->editor()->insertPlainText(header + "\n");
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
    ScriptPage* script = activeScriptPage();
    if (!script)
        return;
    if (coordinatesDialog_->edit(script->settings()))
        script->markModified();
    // OK or Cancel, typing goes on in the script.
    script->editor()->setFocus();
}

bool MainWindow::askPrintSize(double& widthCm, double& heightCm)
{
    return printSizeDialog_->edit(widthCm, heightCm);
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

void MainWindow::onFitGraph()
{
    if (auto* graph = qobject_cast<GraphPage*>(activePage()))
        graph->fitToWindow();
}

void MainWindow::onAbout()
{
    aboutDialog_->exec();
}
