// The table page: one table of a run in a read-only grid under a fixed header row.
#pragma once

#include "workspace/Page.h"

#include "engine/EngineHost.h"

class QTableView;
class TableModel;

class TablePage : public Page, public tavlix::TableSink {
    Q_OBJECT
public:
    // maxCells: beyond this many cells (about 1 GB of text) the run is stopped rather than let it exhaust memory.
    TablePage(PageHost& host, long long maxCells, QWidget* parent = nullptr);

    QTableView* view() const { return view_; }
    TableModel* model() const { return model_; }

    void updateCommands() override;
    // Empties the grid for a new run of the same page.
    void clear();

    // The grid as the generation fills it (texts in Windows-1252).
    void setColumnCount(int n) override;
    void setRowCount(int n) override;
    int rowCount() const override;
    void setCell(int col, int row, std::string_view text) override;
    void showGrid() override;

    int columnCount() const;
    QString cellText(int col, int row) const;

    static constexpr int ColumnWidth = 80;
    static constexpr int RowHeight = 24;

private:
    QTableView* view_ = nullptr;
    TableModel* model_ = nullptr;
    long long maxCells_;
};
