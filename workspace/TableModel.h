// The table page's grid as a model: row 0 of the cells is the header, the rest are the data rows.
#pragma once

#include "workspace/CellStore.h"

#include <QAbstractTableModel>

class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TableModel(QObject* parent = nullptr);

    const CellStore& cells() const { return cells_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void setColumnCount(int n);
    void setRowCount(int n);
    void setCell(int col, int row, std::string_view text);
    // Tells the view what changed since the last time, in one batch; runs by itself once events are handled.
    void sync();
    // Lets every cell go, memory included.
    void clear();

private:
    void scheduleSync();

    CellStore cells_;

    int shownRows_ = 0;
    int shownColumns_ = 0;
    int dirtyFrom_ = -1;  // first shown model row written since the last sync, or -1
    bool headerDirty_ = false;
    bool syncPending_ = false;
};
