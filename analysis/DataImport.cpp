// Splits rows and cells, reads numbers with either decimal separator, and checks that x grows.
#include "analysis/DataImport.h"

#include "compiler/Keywords.h"
#include "support/Cp1252Table.h"

#include <charconv>
#include <cstdint>

namespace tavlix {

namespace {

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '"' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '"' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> split(std::string_view line, char separator)
{
    std::vector<std::string_view> cells;
    for (std::size_t start = 0;;) {
        const std::size_t end = line.find(separator, start);
        cells.push_back(trimmed(line.substr(start, end == std::string_view::npos ? end : end - start)));
        if (end == std::string_view::npos)
            return cells;
        start = end + 1;
    }
}

// A cell as a number; a decimal comma counts when commas do not separate cells.
bool readNumber(std::string_view cell, bool decimalComma, double& v)
{
    std::string text(cell);
    if (decimalComma)
        for (char& c : text)
            if (c == ',')
                c = '.';
    if (!text.empty() && text.front() == '+')
        text.erase(0, 1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

char separatorOf(std::string_view firstLine)
{
    for (char c : {'\t', ';'})
        if (firstLine.find(c) != std::string_view::npos)
            return c;
    return ',';
}

std::string rowText(std::size_t row)
{
    return "R\xE6kke " + std::to_string(row);
}

// One data row into the columns; an error text when it cannot be read or x does not grow.
std::string readRow(const std::vector<std::string_view>& cells, std::size_t row, bool decimalComma,
                    std::vector<ImportedColumn>& columns, double& lastX, bool& haveX)
{
    double x = 0;
    if (!readNumber(cells[0], decimalComma, x))
        return rowText(row) + ": \"" + std::string(cells[0]) + "\" er ikke et tal";
    if (haveX && x <= lastX)
        return rowText(row) + ": x vokser ikke (en tabel skal have voksende x)";
    lastX = x;
    haveX = true;
    for (std::size_t c = 1; c < cells.size() && c <= columns.size(); ++c) {
        if (cells[c].empty())
            continue;
        double y = 0;
        if (!readNumber(cells[c], decimalComma, y))
            return rowText(row) + ": \"" + std::string(cells[c]) + "\" er ikke et tal";
        columns[c - 1].x.push_back(x);
        columns[c - 1].y.push_back(y);
    }
    return std::string();
}

}  // namespace

std::string DataImport::validName(std::string_view header)
{
    std::string name;
    for (char c : trimmed(header)) {
        const std::uint8_t lower = LowerCaseMap[static_cast<std::uint8_t>(c)];
        name += isNameLetter(lower) || (lower >= '0' && lower <= '9') ? static_cast<char>(lower) : '_';
    }
    if (name.empty())
        return name;
    if (!isNameLetter(static_cast<std::uint8_t>(name.front())))
        name.insert(0, "y");
    if (findKeyword(name))
        name += '_';
    return name;
}

ImportedData DataImport::parse(std::string_view text)
{
    ImportedData data;
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    std::size_t first = 0;
    while (first < lines.size() && trimmed(lines[first]).empty())
        ++first;
    if (first == lines.size()) {
        data.error = "Der er ingen tal at inds\xE6tte";
        return data;
    }
    const char separator = separatorOf(lines[first]);
    const bool decimalComma = separator != ',';
    const std::vector<std::string_view> head = split(lines[first], separator);
    if (head.size() < 2) {
        data.error = "Tabellen skal have mindst to kolonner: x og y";
        return data;
    }
    double probe = 0;
    for (std::string_view cell : head)
        data.hasHeader = data.hasHeader || !readNumber(cell, decimalComma, probe);
    data.columns.resize(head.size() - 1);
    for (std::size_t c = 1; data.hasHeader && c < head.size(); ++c)
        data.columns[c - 1].name = validName(head[c]);
    double lastX = 0;
    bool haveX = false;
    for (std::size_t i = first + (data.hasHeader ? 1 : 0); i < lines.size(); ++i) {
        if (trimmed(lines[i]).empty())
            continue;
        data.error = readRow(split(lines[i], separator), i + 1, decimalComma, data.columns, lastX, haveX);
        if (!data.error.empty())
            return data;
    }
    if (!haveX) {
        data.error = "Der er ingen tal at inds\xE6tte";
        return data;
    }
    data.ok = true;
    return data;
}

std::string DataImport::tableLine(const std::string& name, const ImportedColumn& column)
{
    std::string line = "  " + name + " = <";
    char number[32];
    for (std::size_t i = 0; i < column.x.size(); ++i) {
        line += i == 0 ? "(" : ", (";
        line.append(number, std::to_chars(number, number + sizeof number, column.x[i]).ptr);
        line += ", ";
        line.append(number, std::to_chars(number, number + sizeof number, column.y[i]).ptr);
        line += ')';
    }
    return line + '>';
}

}  // namespace tavlix
