// The core's Windows-1252 conversions to and from UTF-8, used for the batch mode's files and messages.
#include "support/Cp1252Table.h"

#include <gtest/gtest.h>

using namespace tavlix;

namespace {

TEST(Cp1252Utf8, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(cp1252FromUtf8(utf8FromCp1252(all)), all);
}

TEST(Cp1252Utf8, KnownCharacters)
{
    struct Row {
        const char* cp1252;
        const char* utf8;
    };
    for (const Row& row : {Row{"K\xF8rsel \xE6\xE5", "K\xC3\xB8rsel \xC3\xA6\xC3\xA5"},
                           Row{"\x80", "\xE2\x82\xAC"},  // the euro sign of the 0x80 block
                           Row{"\x81", "\xC2\x81"},      // an undefined byte keeps its control character
                           Row{"", ""}}) {
        EXPECT_EQ(utf8FromCp1252(row.cp1252), row.utf8);
        EXPECT_EQ(cp1252FromUtf8(row.utf8), row.cp1252);
    }
}

// What Windows-1252 cannot hold becomes '?', as the window's conversion makes it.
TEST(Cp1252Utf8, UnstorableAndInvalidTextBecomesQuestionMarks)
{
    struct Row {
        const char* utf8;
        const char* cp1252;
    };
    for (const Row& row : {Row{"\xCE\xB1x", "?x"},         // Greek alpha
                           Row{"\xF0\x9F\x98\x80", "??"},  // beyond the basic plane: two units
                           Row{"a\xFF"
                               "b",
                               "a?b"},                     // no UTF-8 lead byte
                           Row{"\xC3", "?"},               // cut short
                           Row{"\xC0\xAF", "??"},          // overlong
                           Row{"\xED\xA0\x80", "???"}}) {  // a surrogate
        EXPECT_EQ(cp1252FromUtf8(row.utf8), row.cp1252) << row.utf8;
    }
}

}  // namespace
