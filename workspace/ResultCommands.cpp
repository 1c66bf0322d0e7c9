// The commands that take results out of the window: saving a table or graph page as a file, the legend, and
// the pop-up menus of the result pages.
#include "workspace/MainWindow.h"

#include "workspace/GraphPage.h"
#include "workspace/WindowMemory.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace {

// The ending a file filter names ("CSV-filer (*.csv)" gives "csv").
QString filterSuffix(const QString& filter)
{
    const qsizetype star = filter.lastIndexOf(QStringLiteral("*."));
    return star < 0 ? QString() : filter.mid(star + 2).chopped(1);
}

// The type the name's ending asks for, else the chosen filter's, else the first.
int chooseFilter(const QStringList& filters, const QString& fileName, const QString& chosen)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    for (int i = 0; i < filters.size(); ++i)
        if (!suffix.isEmpty() && filterSuffix(filters[i]) == suffix)
            return i;
    return std::max(0, static_cast<int>(filters.indexOf(chosen)));
}

}  // namespace

void MainWindow::createResultContextMenus()
{
    tableContextMenu_ = new QMenu(this);
    for (Command c : {Command::Copy, Command::SaveAs, Command::Print, Command::Accuracy})
        tableContextMenu_->addAction(action(c));
    graphContextMenu_ = new QMenu(this);
    graphContextMenu_->setToolTipsVisible(true);
    for (Command c : {Command::Copy, Command::SaveAs, Command::Print})
        graphContextMenu_->addAction(action(c));
    graphContextMenu_->addSeparator();
    for (Command c : {Command::ShowLegend, Command::AxesThroughOrigin, Command::SlopeField, Command::SolveThrough,
                      Command::AddLabel, Command::FitGraph, Command::ZoomBack, Command::PrintSize, Command::Accuracy})
        graphContextMenu_->addAction(action(c));
    graphContextMenu_->addAction(action(Command::FitConstants));
    for (Command c : {Command::ShowPoints, Command::TangentAt, Command::AreaUnder})
        graphContextMenu_->addAction(action(c));
}

QMenu* MainWindow::resultContextMenu(PageKind kind)
{
    switch (kind) {
    case PageKind::Table: return tableContextMenu_;
    case PageKind::Graph: return graphContextMenu_;
    default: return nullptr;
    }
}

void MainWindow::setCommandChecked(Command command, bool on)
{
    action(command)->setChecked(on);
}

void MainWindow::onShowLegend()
{
    if (auto* graph = qobject_cast<GraphPage*>(activePage()))
        graph->setLegendShown(action(Command::ShowLegend)->isChecked());
}

void MainWindow::setCommandHint(Command command, const QString& hint)
{
    QAction* a = action(command);
    // The usual tip (the tool button's, which is also its accessible name) comes back when the reason goes.
    if (!a->property("usualTip").isValid())
        a->setProperty("usualTip", a->toolTip());
    a->setToolTip(hint.isEmpty() ? a->property("usualTip").toString() : hint);
    a->setStatusTip(hint);
}

void MainWindow::onSlopeField()
{
    if (auto* graph = qobject_cast<GraphPage*>(activePage()))
        graph->setFieldShown(action(Command::SlopeField)->isChecked());
}

void MainWindow::onSolveThrough()
{
    if (auto* graph = qobject_cast<GraphPage*>(activePage()))
        graph->armSolutionTool();
}

void MainWindow::saveResultPage(Page* page)
{
    const QStringList filters = page->saveFilters();
    if (filters.isEmpty() || !prompts_.askResultFileName)
        return;
    // The caption ("demo.tvx-1") names the file; a dot in it would pass for an ending.
    QString chosen = filters.first();
    const QString preset =
        QDir(memory_->dialogFolder()).filePath(QString(page->caption()).replace('.', '_') + '.' + filterSuffix(chosen));
    QString fileName = prompts_.askResultFileName(preset, filters, chosen);
    if (fileName.isEmpty())
        return;
    memory_->rememberFolder(fileName);
    const int filter = chooseFilter(filters, fileName, chosen);
    const QString suffix = filterSuffix(filters[filter]);
    if (QFileInfo(fileName).suffix().toLower() != suffix)
        fileName += '.' + suffix;
    const QString error = page->saveToFile(fileName, filter);
    if (!error.isEmpty())
        reportError(error);
}
