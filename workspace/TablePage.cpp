// The table page: the grid's header row is the view's fixed header, so it never scrolls away.
#include "workspace/TablePage.h"

#include "workspace/PageHost.h"
#include "workspace/QtCp1252.h"
#include "workspace/TableModel.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

TablePage::TablePage(PageHost& host, long long maxCells, QWidget* parent)
    : Page(PageKind::Table, host, parent), maxCells_(maxCells)
{
    model_ = new TableModel(this);
    view_ = new QTableView(this);
    view_->setObjectName("view");
    view_->setAccessibleName("Tabel");
    view_->setModel(model_);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->setShowGrid(true);
    view_->setWordWrap(false);
    view_->setCornerButtonEnabled(false);
    view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view_->verticalHeader()->hide();
    QHeaderView* rows = view_->verticalHeader();
    rows->setMinimumSectionSize(RowHeight);
    rows->setDefaultSectionSize(RowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* head = view_->horizontalHeader();
    head->setMinimumSectionSize(ColumnWidth);
    head->setDefaultSectionSize(ColumnWidth);
    head->setSectionResizeMode(QHeaderView::Fixed);
    head->setSectionsClickable(false);
    head->setHighlightSections(false);
    head->setFixedHeight(RowHeight);
    head->setDefaultAlignment(Qt::AlignCenter);
    view_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setFocusPolicy(Qt::StrongFocus);
}

void TablePage::updateCommands()
{
    Page::updateCommands();
    host().setCommandEnabled(Command::ClosePage, true);
    showIntegration();
}

void TablePage::setColumnCount(int n)
{
    model_->setColumnCount(n);
}

void TablePage::setRowCount(int n)
{
    // The row is still added, so that the point being written keeps its own row; the run ends after it.
    if (static_cast<long long>(n) * std::max(columnCount(), 1) > maxCells_)
        host().stopRun(QString("Tabellen \"%1\" er blevet for stor (over %L2 rækker). Kørslen er stoppet; de "
                               "beregnede rækker er bevaret. Vælg færre punkter (TAntal) eller et større skridt "
                               "(TDelta).")
                           .arg(caption())
                           .arg(rowCount() - 1));
    model_->setRowCount(n);
}

int TablePage::rowCount() const
{
    return model_->cells().rowCount();
}

void TablePage::setCell(int col, int row, std::string_view text)
{
    model_->setCell(col, row, text);
}

void TablePage::showGrid()
{
    model_->sync();
    view_->show();
    setFocusProxy(view_);
}

int TablePage::columnCount() const
{
    return model_->cells().columnCount();
}

QString TablePage::cellText(int col, int row) const
{
    return qt_cp1252::toQString(model_->cells().cell(col, row));
}
