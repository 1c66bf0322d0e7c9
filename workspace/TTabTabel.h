// The table page: one table of a run in a read-only grid under a fixed header row.
#pragma once

#include "workspace/TTabGen.h"

#include "engine/EngineHost.h"

class QTableView;
class TTabelModel;

class TTabTabel : public TTabGen, public tavlix::TableSink {
    Q_OBJECT
public:
    explicit TTabTabel(QWidget* parent = nullptr);

    QTableView* Grid = nullptr;
    TTabelModel* Model = nullptr;

    void SetEnable() override;

    // The grid as the generation fills it (texts in Windows-1252).
    void setColumnCount(int n) override;
    void setRowCount(int n) override;
    int rowCount() const override;
    void setCell(int col, int row, std::string_view text) override;
    // Hides QWidget::show on purpose: the page is shown with its grid filled.
    void show() override;

    int ColCount() const;
    QString CellText(int col, int row) const;

    static constexpr int ColWidth = 80;
    static constexpr int RowHeight = 24;
    // Beyond this many cells (about 1 GB) a run is stopped rather than let it exhaust memory.
    static inline long long MaxCells = 50'000'000;
};
