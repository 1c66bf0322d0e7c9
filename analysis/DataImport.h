// A table copied from a spreadsheet or a data logger, or read from a CSV file, turned into the script's table lines:
// the first column is x, each further column one table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavlix {

struct ImportedColumn {
    std::string name;  // a valid script name from the header, or empty when there is no header (Windows-1252)
    std::vector<double> x;
    std::vector<double> y;  // an empty cell leaves its row out of this column
};

struct ImportedData {
    bool ok = false;
    std::string error;  // why the text was refused (Windows-1252)
    bool hasHeader = false;
    std::vector<ImportedColumn> columns;
};

class DataImport {
public:
    // The text in Windows-1252: rows on lines, cells separated by tabs, semicolons or commas (whichever the first
    // row has, in that order). With tabs or semicolons a decimal comma is read as a point. A first row that is not
    // all numbers is the header. x must grow from row to row.
    static ImportedData parse(std::string_view text);
    // A header cell as a valid name: lower case, æ, ø and å kept, every other character "_", and a leading "y"
    // when it would not start with a letter, a trailing "_" when it is a keyword of the language.
    static std::string validName(std::string_view header);
    // "  NAME = <(x, y), ...>" with the numbers as short as they read back exactly.
    static std::string tableLine(const std::string& name, const ImportedColumn& column);
};

}  // namespace tavlix
