// Rows reach the view in batches: a generation adds them one by one, far faster than a view can follow.
#include "workspace/TableModel.h"

#include "workspace/QtCp1252.h"

#include <QTimer>

TableModel::TableModel(QObject* parent) : QAbstractTableModel(parent) {}

int TableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows_;
}

int TableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownColumns_;
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return qt_cp1252::toQString(cells_.cell(index.column(), index.row() + 1)).trimmed();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return qt_cp1252::toQString(cells_.cell(section, 0));
    return {};
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void TableModel::setColumnCount(int n)
{
    cells_.setColumnCount(n);
    scheduleSync();
}

void TableModel::setRowCount(int n)
{
    cells_.setRowCount(n);
    scheduleSync();
}

void TableModel::setCell(int col, int row, std::string_view text)
{
    cells_.setCell(col, row, text);
    if (row == 0)
        headerDirty_ = true;
    else if (row - 1 < shownRows_ && (dirtyFrom_ < 0 || row - 1 < dirtyFrom_))
        dirtyFrom_ = row - 1;
    scheduleSync();
}

void TableModel::scheduleSync()
{
    if (syncPending_)
        return;
    syncPending_ = true;
    QTimer::singleShot(0, this, &TableModel::sync);
}

void TableModel::sync()
{
    syncPending_ = false;
    int cols = cells_.columnCount();
    int rows = std::max(cells_.rowCount() - 1, 0);
    if (cols != shownColumns_) {
        beginResetModel();
        shownColumns_ = cols;
        shownRows_ = rows;
        endResetModel();
        dirtyFrom_ = -1;
        headerDirty_ = false;
        return;
    }
    if (rows > shownRows_) {
        beginInsertRows(QModelIndex(), shownRows_, rows - 1);
        shownRows_ = rows;
        endInsertRows();
    } else if (rows < shownRows_) {
        beginRemoveRows(QModelIndex(), rows, shownRows_ - 1);
        shownRows_ = rows;
        endRemoveRows();
    }
    if (dirtyFrom_ >= 0 && dirtyFrom_ < shownRows_ && shownColumns_ > 0)
        emit dataChanged(index(dirtyFrom_, 0), index(shownRows_ - 1, shownColumns_ - 1), {Qt::DisplayRole});
    dirtyFrom_ = -1;
    if (headerDirty_ && shownColumns_ > 0)
        emit headerDataChanged(Qt::Horizontal, 0, shownColumns_ - 1);
    headerDirty_ = false;
}

void TableModel::clear()
{
    beginResetModel();
    cells_ = CellStore();
    shownRows_ = 0;
    shownColumns_ = 0;
    dirtyFrom_ = -1;
    headerDirty_ = false;
    endResetModel();
}
