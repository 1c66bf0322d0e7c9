// The pages of a run: made anew or taken over from the document's last run, placed, and settled when it ends.
#include "workspace/MainWindow.h"

#include "graph/GraphView.h"
#include "workspace/GraphPage.h"
#include "workspace/QtCp1252.h"
#include "workspace/RunController.h"
#include "workspace/ScriptCheckHost.h"
#include "workspace/ScriptPage.h"
#include "workspace/TableModel.h"
#include "workspace/TablePage.h"
#include "workspace/WindowEngineHost.h"
#include "workspace/WindowMemory.h"

#include <QApplication>
#include <QTabWidget>

#include <algorithm>

// A refresh puts a new page where the previous run's page at its position stood, or after the document's
// other result pages; otherwise it goes last, as every page did before refreshing existed.
int MainWindow::newRunPageIndex() const
{
    if (Page* displaced = runs_->pagePlan().atNextPosition())
        return pages_->indexOf(displaced);
    int last = -1;
    for (Page* page : runs_->pagePlan().openPages())
        last = std::max(last, pages_->indexOf(page));
    return last >= 0 ? last + 1 : pageCount();
}

void MainWindow::addRunPage(Page* page, const QString& caption)
{
    page->setDocument(runs_->pagePlan().document());
    pages_->insertTab(newRunPageIndex(), page, QString());
    page->setCaption(caption);
    runs_->pagePlan().add(page);
    if (!runs_->keptView())
        activatePage(page);
}

void MainWindow::takeOverRunPage(Page* page)
{
    page->setOutOfDate(false);
    // The new run tells again whether the page comes from differential equations.
    page->clearIntegration();
    updateTabLook(page);
    runs_->pagePlan().add(page);
    if (!runs_->keptView())
        activatePage(page);
}

tavlix::TableSink* MainWindow::createTablePage(const QString& caption)
{
    if (!runs_->mayMakePage())
        return nullptr;
    if (auto* old = static_cast<TablePage*>(runs_->pagePlan().takeOver(PageKind::Table))) {
        old->clear();
        takeOverRunPage(old);
        return old;
    }
    auto* page = new TablePage(*this, runLimits_.maxTableCells);
    addRunPage(page, caption);
    return page;
}

tavlix::GraphSink* MainWindow::createGraphPage(const QString& caption)
{
    if (!runs_->mayMakePage())
        return nullptr;
    if (auto* old = static_cast<GraphPage*>(runs_->pagePlan().takeOver(PageKind::Graph))) {
        old->prepareForRefresh();
        takeOverRunPage(old);
        return old;
    }
    // Measured on the page that is active before the new one exists.
    QWidget* area = activePage() ? static_cast<QWidget*>(activePage()) : pages_;
    const int width = std::max(area->width() - 4, 100);
    const int height = std::max(area->height() - 4, 80);
    auto* page = new GraphPage(*this, width, height, runLimits_);
    // The drawing size chosen last, in this session or an earlier one.
    if (double w = 0, h = 0; memory_->printSize(w, h))
        page->setPrintSize(w, h);
    page->setAxesThroughOrigin(action(Command::AxesThroughOrigin)->isChecked());
    addRunPage(page, caption);
    return page;
}

void MainWindow::markOutOfDate(Page* page)
{
    page->setOutOfDate(true);
    updateTabLook(page);
}

// A refresh is checked first, so that a script error leaves the previous pages as they were.
bool MainWindow::refreshCheckPasses(ScriptPage* script)
{
    ScriptCheckHost check;
    const tavlix::RunResult result = script->check(check);
    if (!result.abandoned && result.error == tavlix::ScriptError::None)
        return true;
    for (const QPointer<Page>& page : script->resultPages())
        if (page)
            markOutOfDate(page);
    for (const std::string& notice : check.notices)
        runs_->engineHost().showNoticeText(notice);
    activatePage(script);
    if (result.caretLine >= 0)
        script->placeCaret(result.caretLine, result.caretColumn);
    if (!check.fault.empty())
        reportError(qt_cp1252::toQString(check.fault));
    else if (!result.message.empty())
        runs_->engineHost().showScriptError(result.message);
    return false;
}

// A run that reached the script's end replaces the previous run's pages it did not take over; any other run
// leaves them, greyed, since nothing has made them again.
void MainWindow::settleRunPages(const tavlix::RunResult& result)
{
    auto* script = static_cast<ScriptPage*>(runs_->pagePlan().document());
    if (!script) {
        runs_->pagePlan().clear();
        return;
    }
    const bool complete = !result.abandoned && (result.error == tavlix::ScriptError::None ||
                                                result.error == tavlix::ScriptError::StopConditionMet);
    const QList<Page*> leftovers = runs_->pagePlan().leftovers();
    QList<QPointer<Page>> pages = runs_->pagePlan().madePages();
    for (Page* old : leftovers) {
        if (complete) {
            discardPage(old);
        } else {
            markOutOfDate(old);
            pages << old;
        }
    }
    if (complete || !runs_->pagePlan().madePages().isEmpty())
        script->setResultPages(pages);
    // A family's members were drawn over the current value's curve as they came: drawn again, it goes on top,
    // and each member gets its value written at its end.
    for (const QPointer<Page>& page : runs_->pagePlan().madePages())
        if (auto* graph = qobject_cast<GraphPage*>(page.data()))
            if (std::any_of(graph->curves().begin(), graph->curves().end(),
                            [](const tavlix::Curve& c) { return c.origin == tavlix::CurveOrigin::FamilyMember; }))
                graph->view().redraw();
    showRunResult(script, result);
    runs_->pagePlan().clear();
}

// The first graph of the run, else its first table; the script when the run made none. A run that keeps the view
// stays on the page the user is on while it is still up to date.
void MainWindow::showRunResult(ScriptPage* script, const tavlix::RunResult& result)
{
    if (Page* kept = runs_->keptView(); kept && pages_->indexOf(kept) >= 0 && !kept->isOutOfDate()) {
        activatePage(kept);
        return;
    }
    Page* shown = nullptr;
    for (PageKind kind : {PageKind::Graph, PageKind::Table})
        for (const QPointer<Page>& page : runs_->pagePlan().madePages())
            if (!shown && page && page->kind() == kind)
                shown = page;
    if (!shown)
        shown = script;
    if (pages_->indexOf(shown) >= 0)
        activatePage(shown);
    if (runs_->pagePlan().madePages().isEmpty() && !result.abandoned && result.error == tavlix::ScriptError::None)
        setStatus(StatusField::Message, "Scriptet har ingen GrafVariable eller TabelVariable, så der er intet at vise");
}
