// A table page's cells as the programs people paste into expect them: clipboard text and HTML, CSV and TSV files.
#pragma once

#include <QByteArray>
#include <QString>

class CellStore;

// A block of a table's data rows (counted from 0, the header row apart) and columns, both ends included.
struct CellRange {
    int firstRow = 0;
    int lastRow = -1;
    int firstColumn = 0;
    int lastColumn = -1;

    long long cellCount() const
    {
        return static_cast<long long>(lastRow - firstRow + 1) * (lastColumn - firstColumn + 1);
    }
};

class TableExport {
public:
    // Every data row and column of the store, without the empty rows at its end.
    static CellRange wholeTable(const CellStore& cells);
    // Tab-separated UTF-8, one line per row ending in LF, the header row of the range's columns first; each
    // cell as the page shows it.
    static QByteArray text(const CellStore& cells, const CellRange& range);
    // The same cells as an HTML table (UTF-8), so that a spreadsheet or a word processor keeps rows and columns.
    static QByteArray html(const CellStore& cells, const CellRange& range);
    // The whole table as CSV: ';' between fields when the decimal separator is ',', else ','; a field quoted
    // only when it holds the separator, a quote or a line end; UTF-8 with a byte-order mark; CR LF line ends.
    static QByteArray csv(const CellStore& cells, char decimalSeparator);
};
