// Prints a table page: each sheet shows one block of rows and one band of columns under the header row.
#include "workspace/TablePrinter.h"

#include "workspace/CellStore.h"
#include "workspace/QtCp1252.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace {

// The table's font on paper, in points.
constexpr int PrintPointSize = 10;
// Column widths are measured over this many rows; the cells of a column are all alike in form.
constexpr int MeasuredRows = 1000;

QString shownCell(const CellStore& cells, int col, int row)
{
    return qt_cp1252::toQString(cells.cell(col, row)).trimmed();
}

QList<int> columnWidths(const CellStore& cells, const QFontMetrics& fm, int padding)
{
    QList<int> widths;
    const int rows = std::min(cells.rowCount(), MeasuredRows + 1);
    for (int c = 0; c < cells.columnCount(); ++c) {
        int w = fm.horizontalAdvance(QStringLiteral("-0,000000E-00"));
        for (int r = 0; r < rows; ++r)
            w = std::max(w, fm.horizontalAdvance(shownCell(cells, c, r)));
        widths << w + 2 * padding;
    }
    return widths;
}

}  // namespace

QList<TablePrinter::Band> TablePrinter::columnBands(const QList<int>& widths, int room)
{
    QList<Band> bands;
    int used = 0;
    for (int c = 0; c < widths.size(); ++c) {
        if (bands.isEmpty() || used + widths[c] > room) {
            bands.append({c, c});
            used = widths[c];
        } else {
            bands.last().last = c;
            used += widths[c];
        }
    }
    return bands;
}

QList<TablePrinter::Band> TablePrinter::rowBands(int rowCount, int rowsPerPage)
{
    QList<Band> bands;
    rowsPerPage = std::max(rowsPerPage, 1);
    for (int r = 0; r < rowCount; r += rowsPerPage)
        bands.append({r, std::min(r + rowsPerPage, rowCount) - 1});
    // An empty table still prints its header row.
    if (bands.isEmpty())
        bands.append({0, -1});
    return bands;
}

bool TablePrinter::print(QPrinter& printer, const CellStore& cells, const QString& documentName)
{
    QPainter p;
    if (!p.begin(&printer))
        return false;
    QFont font;
    font.setPointSize(PrintPointSize);
    p.setFont(font);
    const QFontMetrics fm = p.fontMetrics();
    const QRect paper = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRect page(0, 0, paper.width(), paper.height());
    const int padding = fm.horizontalAdvance(QLatin1Char('M')) / 2;
    const int rowH = fm.height() + padding;
    const int footerH = 2 * rowH;
    const QList<int> widths = columnWidths(cells, fm, padding);
    const QList<Band> columns = columnBands(widths, page.width());
    const QList<Band> rows = rowBands(std::max(cells.rowCount() - 1, 0), (page.height() - footerH) / rowH - 1);
    const auto total = static_cast<int>(rows.size() * columns.size());
    const QPen thin(Qt::black, std::max(printer.resolution() / 160, 1));
    int sheet = 0;
    for (const Band& down : rows) {
        for (const Band& across : columns) {
            if (sheet > 0)
                printer.newPage();
            ++sheet;
            const auto cellRow = [&](int storeRow, int top, bool header) {
                int left = 0;
                for (int c = across.first; c <= across.last; ++c) {
                    const QRect box(left, top, widths[c], rowH);
                    if (header)
                        p.drawLine(box.bottomLeft(), box.bottomRight());
                    p.drawText(box.adjusted(padding, 0, -padding, 0), Qt::AlignVCenter | Qt::AlignRight,
                               shownCell(cells, c, storeRow));
                    left += widths[c];
                }
            };
            p.setPen(thin);
            cellRow(0, 0, true);
            for (int r = down.first; r <= down.last; ++r)
                cellRow(r + 1, (r - down.first + 1) * rowH, false);
            const QRect footer(0, page.height() - rowH, page.width(), rowH);
            p.drawText(footer, Qt::AlignVCenter | Qt::AlignLeft, documentName);
            p.drawText(footer, Qt::AlignVCenter | Qt::AlignRight, QString("side %1 af %2").arg(sheet).arg(total));
        }
    }
    return p.end();
}
