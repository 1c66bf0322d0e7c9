// What a page may ask of the window that shows it: commands, the status bar, run control and shared widgets.
#pragma once

#include "workspace/Command.h"
#include "workspace/Page.h"

#include <QString>

class QBoxLayout;
class QLineEdit;
class QMenu;
class QWidget;

class PageHost {
public:
    virtual ~PageHost() = default;

    // Turns every page command off and empties the status bar; a page then turns on its own.
    virtual void resetCommands() = 0;
    virtual void setCommandEnabled(Command command, bool on) = 0;
    virtual void setStatus(StatusField field, const QString& text) = 0;
    // Stops the run under way at its next pause and reports the reason once it has returned.
    virtual void stopRun(const QString& reason) = 0;
    // The general error report: a message box; the command is abandoned.
    virtual void reportError(const QString& text) = 0;
    // The tool bar's field for a graph label's text.
    virtual QLineEdit* labelTextEdit() = 0;
    // The pop-up menu of the script editor.
    virtual QMenu* contextMenu() = 0;
    // Whether a run is under way, drawing on the pages it makes (none by default).
    virtual bool running() const { return false; }
    // A page's caption changed: its tab follows.
    virtual void pageCaptionChanged(QWidget* page, const QString& caption) = 0;
    // The section panel moves into the script page that was entered last.
    virtual void dockSectionPanel(QWidget* page, QBoxLayout* layout) = 0;
    // The edit commands follow the editor's selection and the clipboard while a script page is active.
    virtual void startEditCommandPoll() = 0;
    // The drawing-size dialog; false when cancelled.
    virtual bool askPrintSize(double& widthCm, double& heightCm) = 0;
    // A check item's mark follows the page entered ("Vis forklaring").
    virtual void setCommandChecked(Command /*command*/, bool /*on*/) {}
    // A command's tool tip, such as why it is off on this page (empty: its usual tip).
    virtual void setCommandHint(Command /*command*/, const QString& /*hint*/) {}
    // The pop-up menu of a table or graph page; null when there is none.
    virtual QMenu* resultContextMenu(PageKind /*kind*/) { return nullptr; }
};
