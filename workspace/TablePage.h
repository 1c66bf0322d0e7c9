// The table page: one table of a run in a read-only grid under a fixed header row.
#pragma once

#include "workspace/Page.h"

#include "engine/EngineHost.h"
#include "workspace/TableExport.h"

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
    // "Kopier": the selection (the whole table when nothing is selected) as tab-separated text and as HTML.
    void copyToClipboard() override;
    // "Gem Som ...": the whole table as CSV, or tab-separated as the clipboard text.
    QStringList saveFilters() const override;
    QString saveToFile(const QString& fileName, int filter) override;
    // The whole table on as many pages as it needs.
    void print(QPrinter& printer) override;
    // The selected block of data rows and columns; the whole table when nothing is selected.
    CellRange selectedRange() const;

    // The grid as the generation fills it (texts in Windows-1252).
    void setColumnCount(int n) override;
    void setRowCount(int n) override;
    int rowCount() const override;
    void setCell(int col, int row, std::string_view text) override;
    void showGrid() override;

    int columnCount() const;
    QString cellText(int col, int row) const;

    // A larger selection is refused rather than copied in part: its text would take more than about 300 MB.
    static constexpr long long MaxCopyCells = 5'000'000;
    static constexpr int ColumnWidth = 80;
    static constexpr int RowHeight = 24;

private:
    QTableView* view_ = nullptr;
    TableModel* model_ = nullptr;
    long long maxCells_;
};
