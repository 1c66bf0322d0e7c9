// The table page: the grid's header row is the view's fixed header, so it never scrolls away.
#include "workspace/TablePage.h"

#include "workspace/PageHost.h"
#include "workspace/QtCp1252.h"
#include "workspace/ResultFile.h"
#include "workspace/TableModel.h"
#include "workspace/TablePrinter.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTableView>
#include <QVBoxLayout>

#include <climits>

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
    // A click on a column's header selects the column.
    head->setSectionsClickable(true);
    head->setHighlightSections(true);
    head->setFixedHeight(RowHeight);
    head->setDefaultAlignment(Qt::AlignCenter);
    view_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setFocusPolicy(Qt::StrongFocus);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QMenu* menu = this->host().resultContextMenu(PageKind::Table))
            menu->popup(view_->viewport()->mapToGlobal(at));
    });
}

void TablePage::updateCommands()
{
    Page::updateCommands();
    for (Command command : {Command::ClosePage, Command::Copy, Command::SaveAs, Command::Print, Command::PrintNow})
        host().setCommandEnabled(command, true);
    showIntegration();
}

CellRange TablePage::selectedRange() const
{
    // The view allows one contiguous block only; its bounds are the selection.
    const QItemSelection selection = view_->selectionModel()->selection();
    if (selection.isEmpty())
        return TableExport::wholeTable(model_->cells());
    CellRange r{INT_MAX, -1, INT_MAX, -1};
    for (const QItemSelectionRange& part : selection) {
        r.firstRow = std::min(r.firstRow, part.top());
        r.lastRow = std::max(r.lastRow, part.bottom());
        r.firstColumn = std::min(r.firstColumn, part.left());
        r.lastColumn = std::max(r.lastColumn, part.right());
    }
    // The view shows the empty row the generation keeps below the last one; a spreadsheet has no use for it.
    const int lastWritten = TableExport::wholeTable(model_->cells()).lastRow;
    if (r.firstRow <= lastWritten)
        r.lastRow = std::min(r.lastRow, lastWritten);
    return r;
}

void TablePage::copyToClipboard()
{
    const CellRange range = selectedRange();
    if (range.cellCount() > MaxCopyCells) {
        host().reportError(QString("Markeringen er for stor til at kopiere (%L1 celler, højst %L2). Marker færre "
                                   "rækker, eller gem tabellen som fil med \"Gem Som ...\".")
                               .arg(range.cellCount())
                               .arg(MaxCopyCells));
        return;
    }
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/plain"), TableExport::text(model_->cells(), range));
    data->setData(QStringLiteral("text/html"), TableExport::html(model_->cells(), range));
    QApplication::clipboard()->setMimeData(data);
}

QStringList TablePage::saveFilters() const
{
    return {QStringLiteral("CSV-filer (*.csv)"), QStringLiteral("Tabulatorseparerede filer (*.tsv)"),
            QStringLiteral("Tekstfiler (*.txt)")};
}

QString TablePage::saveToFile(const QString& fileName, int filter)
{
    // The cells carry the locale's decimal separator, as the window's engine host gave it.
    const char separator = QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.';
    const CellStore& cells = model_->cells();
    return ResultFile::write(fileName, filter == 0 ? TableExport::csv(cells, separator)
                                                   : TableExport::text(cells, TableExport::wholeTable(cells)));
}

void TablePage::print(QPrinter& printer)
{
    if (!TablePrinter::print(printer, model_->cells(), caption()))
        QMessageBox::critical(window(), QStringLiteral("Tavlix"), QStringLiteral("Printeren kan ikke bruges."));
}

void TablePage::clear()
{
    model_->clear();
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
