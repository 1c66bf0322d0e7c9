// What a run asks of the window it shows in: its limits, pages and panels, its reports, and the steps that follow a
// run's end. The run controller and the engine's host reach the window through this alone.
#pragma once

#include "workspace/Command.h"

#include <QString>

namespace tavlix {
class GraphSink;
class TableSink;
struct RunLimits;
struct RunResult;
}  // namespace tavlix
class AccuracyDialog;
class NoticePanel;
class Page;
class ParameterBar;
class QTabWidget;
class ScriptPage;

class RunWindow {
public:
    virtual ~RunWindow() = default;

    virtual tavlix::RunLimits& runLimits() = 0;
    virtual NoticePanel* noticePanel() const = 0;
    virtual ParameterBar* parameterBar() const = 0;
    virtual AccuracyDialog& accuracyDialog() const = 0;
    virtual QTabWidget* tabs() const = 0;
    virtual int pageCount() const = 0;
    virtual Page* page(int index) const = 0;
    virtual Page* activePage() const = 0;
    virtual void activatePage(Page* page) = 0;
    virtual void setStatus(StatusField field, const QString& text) = 0;
    virtual void reportError(const QString& text) = 0;
    // A limit the engine's host meets: the run stops, and the reason is reported once it has.
    virtual void stopRun(const QString& reason) = 0;

    // Result pages asked for by the engine; null when no page can be made (the run is stopping).
    virtual tavlix::TableSink* createTablePage(const QString& caption) = 0;
    virtual tavlix::GraphSink* createGraphPage(const QString& caption) = 0;
    // "Behold tidligere resultater": every run makes new pages instead of refreshing the last run's.
    virtual bool keepsResults() const = 0;
    virtual bool hasResultPages(const ScriptPage* script) const = 0;
    // A refresh is checked first, so that a script error leaves the previous pages as they were; false after the
    // error is shown.
    virtual bool refreshCheckPasses(ScriptPage* script) = 0;
    // The run has ended: its pages replace the last run's, or stay beside them greyed, and one comes to the front.
    virtual void settleRunPages(const tavlix::RunResult& result) = 0;
    // The statistics of the page the run ended on, and its accuracy when the dialog is open.
    virtual void followRunWithAccuracy() = 0;
    // Closes waiting for the run's end: the active page's, and the window's, each asking about unsaved changes.
    virtual void closeActivePage() = 0;
    virtual void closeWindow() = 0;
    // False once the window has closed: nothing waiting runs then.
    virtual bool windowShown() const = 0;
};
