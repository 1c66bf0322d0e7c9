// The short number texts: whole, fixed and scientific forms, decimal comma, and the exponent estimate's quirks.
#include "support/FormatNumber.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

using namespace tavlix;

namespace {

struct FormatRow {
    int width;
    double value;
    std::string text;
};

void PrintTo(const FormatRow& r, std::ostream* os)
{
    *os << r.width << ", " << r.value;
}

class FormatNumberText : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatNumberText, Matches)
{
    EXPECT_EQ(formatNumber(GetParam().width, GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Examples, FormatNumberText,
                         ::testing::Values(FormatRow{6, 3, "3"}, FormatRow{6, 0.5, "0,5"}, FormatRow{6, 12, "12"},
                                           FormatRow{6, 123.456, "123,46"}, FormatRow{6, 0.001, "0,001"},
                                           FormatRow{6, 0.00012, "0,0001"}, FormatRow{6, 0.0000012, "1,2E-0006"},
                                           FormatRow{6, 1234567, "1,2E+0006"}, FormatRow{6, 1e10, "1E+0010"},
                                           FormatRow{6, 1.5e10, "1,5E+0010"}, FormatRow{6, -2.5, "-2,5"},
                                           FormatRow{15, 0.1, "0,1"}, FormatRow{15, 1.0 / 3, "0,3333333333333"},
                                           FormatRow{15, 100.000001, "100"}, FormatRow{6, 10.000001, "10"}));

// Exact powers of ten get an exponent estimate one too low; the whole-number path still prints them plainly.
INSTANTIATE_TEST_SUITE_P(
    Estimate, FormatNumberText,
    ::testing::Values(FormatRow{6, 10, "10"}, FormatRow{6, 1000, "1000"}, FormatRow{6, 100000, "100000"},
                      // k = 5 is still below the width, so a million is written out in seven characters.
                      FormatRow{6, 1000000, "1000000"}, FormatRow{6, 1000001, "1E+0006"}, FormatRow{6, 999.999, "1000"},
                      FormatRow{6, 9.99999, "10"}));

INSTANTIATE_TEST_SUITE_P(Forms, FormatNumberText,
                         ::testing::Values(FormatRow{6, 0, "0"}, FormatRow{6, -0.0, "0"}, FormatRow{8, -0.5, "-0,5"},
                                           FormatRow{10, 1234567.891, "1234567,89"}, FormatRow{10, -1e-7, "-1E-0007"},
                                           FormatRow{6, 9.96e10, "1E+0011"}, FormatRow{6, 1e-300, "1E-0300"},
                                           FormatRow{15, 1.7976931348623157e308, "1,797693E+0308"},
                                           FormatRow{18, 1.23456789e-20, "1,23456789E-0020"},
                                           FormatRow{6, 12.5, "12,5"},
                                           FormatRow{6, std::numeric_limits<double>::infinity(), "INF"},
                                           FormatRow{6, -std::numeric_limits<double>::infinity(), "-INF"},
                                           FormatRow{6, std::numeric_limits<double>::quiet_NaN(), "NAN"}));

// The window's toolkit switches the C locale to the user's; the text must keep its own decimal comma.
TEST(FormatNumberLocale, IgnoresTheProgramLocale)
{
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "da_DK.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    std::string text = formatNumber(6, 2.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text, "2,5");
}

}  // namespace
