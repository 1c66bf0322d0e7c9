// Rows reach the view in batches: a generation adds them one by one, far faster than a view can follow.
#include "workspace/TTabelModel.h"

#include "workspace/Cp1252.h"

#include <QTimer>

TTabelModel::TTabelModel(QObject* parent) : QAbstractTableModel(parent) {}

int TTabelModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ShownRows;
}

int TTabelModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ShownCols;
}

QVariant TTabelModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return Cp1252::ToQString(Cells.Cell(index.column(), index.row() + 1)).trimmed();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TTabelModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return Cp1252::ToQString(Cells.Cell(section, 0));
    return {};
}

Qt::ItemFlags TTabelModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void TTabelModel::SetColCount(int n)
{
    Cells.SetColCount(n);
    ScheduleSync();
}

void TTabelModel::SetRowCount(int n)
{
    Cells.SetRowCount(n);
    ScheduleSync();
}

void TTabelModel::SetCell(int col, int row, std::string_view text)
{
    Cells.SetCell(col, row, text);
    if (row == 0)
        HeaderDirty = true;
    else if (row - 1 < ShownRows && (DirtyFrom < 0 || row - 1 < DirtyFrom))
        DirtyFrom = row - 1;
    ScheduleSync();
}

void TTabelModel::ScheduleSync()
{
    if (SyncPending)
        return;
    SyncPending = true;
    QTimer::singleShot(0, this, &TTabelModel::Sync);
}

void TTabelModel::Sync()
{
    SyncPending = false;
    int cols = Cells.ColCount();
    int rows = std::max(Cells.RowCount() - 1, 0);
    if (cols != ShownCols) {
        beginResetModel();
        ShownCols = cols;
        ShownRows = rows;
        endResetModel();
        DirtyFrom = -1;
        HeaderDirty = false;
        return;
    }
    if (rows > ShownRows) {
        beginInsertRows(QModelIndex(), ShownRows, rows - 1);
        ShownRows = rows;
        endInsertRows();
    } else if (rows < ShownRows) {
        beginRemoveRows(QModelIndex(), rows, ShownRows - 1);
        ShownRows = rows;
        endRemoveRows();
    }
    if (DirtyFrom >= 0 && DirtyFrom < ShownRows && ShownCols > 0)
        emit dataChanged(index(DirtyFrom, 0), index(ShownRows - 1, ShownCols - 1), {Qt::DisplayRole});
    DirtyFrom = -1;
    if (HeaderDirty && ShownCols > 0)
        emit headerDataChanged(Qt::Horizontal, 0, ShownCols - 1);
    HeaderDirty = false;
}
