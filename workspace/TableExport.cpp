// Cells are written straight from the compact store into one byte array each, so a million rows copy quickly.
#include "workspace/TableExport.h"

#include "support/Cp1252Table.h"
#include "workspace/CellStore.h"

#include <string_view>

namespace {

// A cell as the page shows it: without the padding the generation puts around numbers.
std::string_view shown(std::string_view cell)
{
    const auto first = cell.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return cell.substr(first, cell.find_last_not_of(' ') - first + 1);
}

// Appends the Windows-1252 cell in UTF-8; numbers, the common case, are plain ASCII and go in as they are.
void appendUtf8(QByteArray& out, std::string_view cell)
{
    for (char c : cell) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            const std::string utf8 = tavlix::utf8FromCp1252(cell);
            out.append(utf8.data(), static_cast<qsizetype>(utf8.size()));
            return;
        }
    }
    out.append(cell.data(), static_cast<qsizetype>(cell.size()));
}

void appendHtmlEscaped(QByteArray& out, std::string_view cell)
{
    QByteArray utf8;
    appendUtf8(utf8, cell);
    for (char c : utf8) {
        switch (c) {
        case '<': out.append("&lt;"); break;
        case '>': out.append("&gt;"); break;
        case '&': out.append("&amp;"); break;
        case '"': out.append("&quot;"); break;
        default: out.append(c);
        }
    }
}

void appendCsvField(QByteArray& out, std::string_view cell, char separator)
{
    QByteArray utf8;
    appendUtf8(utf8, cell);
    const bool quoted = utf8.contains(separator) || utf8.contains('"') || utf8.contains('\n') || utf8.contains('\r');
    if (!quoted) {
        out.append(utf8);
        return;
    }
    out.append('"');
    out.append(utf8.replace("\"", "\"\""));
    out.append('"');
}

// Every row of the range, the header row (store row 0) first, each cell put in by the given function.
template <typename Cell, typename RowEnd>
void forEachRow(const CellStore& cells, const CellRange& range, Cell cell, RowEnd rowEnd)
{
    const auto row = [&](int storeRow, bool header) {
        for (int c = range.firstColumn; c <= range.lastColumn; ++c)
            cell(shown(cells.cell(c, storeRow)), c == range.firstColumn, header);
        rowEnd(header);
    };
    row(0, true);
    for (int r = range.firstRow; r <= range.lastRow; ++r)
        row(r + 1, false);
}

// Bytes to reserve: a guess of ten bytes per cell plus the markup, so that a large copy grows once or twice.
qsizetype reserveFor(const CellRange& range, int markupPerCell)
{
    return static_cast<qsizetype>((range.cellCount() + range.lastColumn - range.firstColumn + 1) *
                                  (10 + markupPerCell));
}

}  // namespace

CellRange TableExport::wholeTable(const CellStore& cells)
{
    // The generation keeps an empty row below the last one it wrote; a file has no use for it.
    int last = cells.rowCount() - 2;
    const auto empty = [&](int row) {
        for (int c = 0; c < cells.columnCount(); ++c)
            if (!shown(cells.cell(c, row + 1)).empty())
                return false;
        return true;
    };
    while (last >= 0 && empty(last))
        --last;
    return {0, last, 0, cells.columnCount() - 1};
}

QByteArray TableExport::text(const CellStore& cells, const CellRange& range)
{
    QByteArray out;
    out.reserve(reserveFor(range, 1));
    forEachRow(
        cells, range,
        [&](std::string_view cell, bool first, bool) {
            if (!first)
                out.append('\t');
            appendUtf8(out, cell);
        },
        [&](bool) { out.append('\n'); });
    return out;
}

QByteArray TableExport::html(const CellStore& cells, const CellRange& range)
{
    QByteArray out;
    out.reserve(reserveFor(range, 9));
    out.append("<html><head><meta charset=\"utf-8\"></head><body><table>\n");
    bool rowOpen = false;
    forEachRow(
        cells, range,
        [&](std::string_view cell, bool, bool header) {
            if (!rowOpen)
                out.append("<tr>");
            rowOpen = true;
            out.append(header ? "<th>" : "<td>");
            appendHtmlEscaped(out, cell);
            out.append(header ? "</th>" : "</td>");
        },
        [&](bool) {
            out.append("</tr>\n");
            rowOpen = false;
        });
    out.append("</table></body></html>\n");
    return out;
}

QByteArray TableExport::csv(const CellStore& cells, char decimalSeparator)
{
    const char separator = decimalSeparator == ',' ? ';' : ',';
    const CellRange range = wholeTable(cells);
    QByteArray out("\xEF\xBB\xBF");
    out.reserve(reserveFor(range, 2));
    forEachRow(
        cells, range,
        [&](std::string_view cell, bool first, bool) {
            if (!first)
                out.append(separator);
            appendCsvField(out, cell, separator);
        },
        [&](bool) { out.append("\r\n"); });
    return out;
}
