// Pasted and imported tables as a spreadsheet, a data logger or a CSV file gives them, into table lines.
#include "analysis/DataImport.h"

#include <gtest/gtest.h>

namespace {

using tavlix::DataImport;

struct ImportCase {
    const char* name;
    std::string text;                // Windows-1252
    std::vector<std::string> lines;  // the table lines, named "tab" where there is no header
    std::string error;               // a part of the refusal; empty when the text is taken
};

void PrintTo(const ImportCase& c, std::ostream* os)
{
    *os << c.name;
}

class ImportsData : public testing::TestWithParam<ImportCase> {};

TEST_P(ImportsData, IntoTableLinesOrRefusesNamingTheRow)
{
    const ImportCase& c = GetParam();
    const tavlix::ImportedData data = DataImport::parse(c.text);
    if (!c.error.empty()) {
        EXPECT_FALSE(data.ok);
        EXPECT_NE(data.error.find(c.error), std::string::npos) << data.error;
        return;
    }
    ASSERT_TRUE(data.ok) << data.error;
    std::vector<std::string> lines;
    for (const tavlix::ImportedColumn& column : data.columns)
        lines.push_back(DataImport::tableLine(column.name.empty() ? "tab" : column.name, column));
    EXPECT_EQ(lines, c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ImportsData,
    testing::Values(ImportCase{"danish_spreadsheet",
                               "Tid (s);Temperatur \xB0"
                               "C;H\xF8jde\r\n0;20,5;1\r\n1,5;22;-2,25\r\n",
                               {"  temperatur__c = <(0, 20.5), (1.5, 22)>", "  h\xF8jde = <(0, 1), (1.5, -2.25)>"},
                               ""},
                    ImportCase{"logger_tabs_no_header",
                               "0\t1.5\n0.1\t1.75\n\n0.2\t2\n",
                               {"  tab = <(0, 1.5), (0.1, 1.75), (0.2, 2)>"},
                               ""},
                    ImportCase{"csv_points_and_gaps",
                               "x,y,z\n1,2,\n2,,5\n3,4,6\n",
                               {"  y = <(1, 2), (3, 4)>", "  z = <(2, 5), (3, 6)>"},
                               ""},
                    ImportCase{"names_made_valid",
                               "t;\xC6"
                               "ble;2. m\xE5ling;og\n1;2;3;4\n",
                               {"  \xE6"
                                "ble = <(1, 2)>",
                                "  y2__m\xE5ling = <(1, 3)>", "  og_ = <(1, 4)>"},
                               ""},
                    ImportCase{"x_not_growing", "x;y\n1;2\n3;4\n3;5\n", {}, "R\xE6kke 4: x vokser ikke"},
                    ImportCase{"not_a_number", "1\t2\n2\tabc\n", {}, "R\xE6kke 2: \"abc\" er ikke et tal"},
                    ImportCase{"one_column", "1\n2\n", {}, "mindst to kolonner"},
                    ImportCase{"empty", "\n\n", {}, "ingen tal"}),
    [](const testing::TestParamInfo<ImportCase>& info) { return std::string(info.param.name); });

}  // namespace
