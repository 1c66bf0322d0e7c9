// The table page's grid as a model: row 0 of the cells is the header, the rest are the data rows.
#pragma once

#include "workspace/TCellStore.h"

#include <QAbstractTableModel>

class TTabelModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TTabelModel(QObject* parent = nullptr);

    TCellStore Cells;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void SetColCount(int n);
    void SetRowCount(int n);
    void SetCell(int col, int row, std::string_view text);
    // Tells the view what changed since the last time, in one batch; runs by itself once events are handled.
    void Sync();

private:
    void ScheduleSync();

    int ShownRows = 0;
    int ShownCols = 0;
    int DirtyFrom = -1;     // first shown model row written since the last Sync, or -1
    bool HeaderDirty = false;
    bool SyncPending = false;
};
