// Prints a table page: the whole table on as many sheets as it needs, the header row on each, a footer.
#pragma once

#include <QList>
#include <QString>

class CellStore;
class QPrinter;

class TablePrinter {
public:
    // Which columns go on one sheet across, and which data rows go on one sheet down (both ends included).
    struct Band {
        int first = 0;
        int last = -1;
    };
    // Splits widths into bands that each fit in room (a column wider than room gets a band of its own).
    static QList<Band> columnBands(const QList<int>& widths, int room);
    // Splits rowCount data rows into pages of rowsPerPage.
    static QList<Band> rowBands(int rowCount, int rowsPerPage);

    // Prints the cells; a table too wide for the paper continues its columns on the following sheets. The
    // footer holds the document's name and "side N af M". False when the printer cannot be used.
    static bool print(QPrinter& printer, const CellStore& cells, const QString& documentName);
};
