// The table page: the grid's header row is the view's fixed header, so it never scrolls away.
#include "workspace/TTabTabel.h"

#include "workspace/Cp1252.h"
#include "workspace/TForm1.h"
#include "workspace/TTabelModel.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

TTabTabel::TTabTabel(QWidget* parent) : TTabGen(parent)
{
    Tag = 2;
    Model = new TTabelModel(this);
    Grid = new QTableView(this);
    Grid->setObjectName("Grid");
    Grid->setAccessibleName("Tabel");
    Grid->setModel(Model);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    Grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    Grid->setShowGrid(true);
    Grid->setWordWrap(false);
    Grid->setCornerButtonEnabled(false);
    Grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    Grid->verticalHeader()->hide();
    QHeaderView* rows = Grid->verticalHeader();
    rows->setMinimumSectionSize(RowHeight);
    rows->setDefaultSectionSize(RowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* head = Grid->horizontalHeader();
    head->setMinimumSectionSize(ColWidth);
    head->setDefaultSectionSize(ColWidth);
    head->setSectionResizeMode(QHeaderView::Fixed);
    head->setSectionsClickable(false);
    head->setHighlightSections(false);
    head->setFixedHeight(RowHeight);
    head->setDefaultAlignment(Qt::AlignCenter);
    Grid->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Grid);
    setFocusPolicy(Qt::StrongFocus);
}

void TTabTabel::SetEnable()
{
    TTabGen::SetEnable();
    Form1->Enable("SbLuk", true);
    Form1->Enable("Luk1", true);
}

void TTabTabel::setColumnCount(int n)
{
    Model->SetColCount(n);
}

void TTabTabel::setRowCount(int n)
{
    // The row is still added, so that the point being written keeps its own row; the run ends after it.
    if (static_cast<long long>(n) * std::max(ColCount(), 1) > MaxCells && Form1)
        Form1->StopRun(QString("Tabellen \"%1\" er blevet for stor (over %L2 rækker). Kørslen er stoppet; de "
                               "beregnede rækker er bevaret. Vælg færre punkter (TAntal) eller et større skridt "
                               "(TDelta).")
                           .arg(Caption())
                           .arg(rowCount() - 1));
    Model->SetRowCount(n);
}

int TTabTabel::rowCount() const
{
    return Model->Cells.RowCount();
}

void TTabTabel::setCell(int col, int row, std::string_view text)
{
    Model->SetCell(col, row, text);
}

void TTabTabel::show()
{
    Model->Sync();
    Grid->show();
    setFocusProxy(Grid);
}

int TTabTabel::ColCount() const
{
    return Model->Cells.ColCount();
}

QString TTabTabel::CellText(int col, int row) const
{
    return Cp1252::ToQString(Model->Cells.Cell(col, row));
}
