// The settings calculator: values it must compute, and failures with their codes and positions.
#include "support/SettingsCalculator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

using namespace tavlix;

namespace {

struct ValueRow {
    std::string text;
    double value;
};

void PrintTo(const ValueRow& r, std::ostream* os)
{
    *os << '"' << r.text << '"';
}

class CalculatorValue : public ::testing::TestWithParam<ValueRow> {};

TEST_P(CalculatorValue, Computes)
{
    CalcResult r = evaluate(GetParam().text);
    ASSERT_EQ(r.error, CalcError::None) << "position " << r.position;
    EXPECT_EQ(r.position, 0);
    // Whole powers multiply step by step, so they may differ from the library's exp in the last digits.
    EXPECT_NEAR(r.value, GetParam().value, std::fabs(GetParam().value) * 1e-14);
}

const double Pi = std::numbers::pi;

INSTANTIATE_TEST_SUITE_P(Numbers, CalculatorValue,
                         ::testing::Values(ValueRow{"1,5", 1.5}, ValueRow{"3,5e2", 350}, ValueRow{"1e2", 100},
                                           ValueRow{"1E-2", 0.01}, ValueRow{"1.", 1}, ValueRow{".5", 0.5},
                                           ValueRow{"1e-400", 0},
                                           // Longer than 25 characters: still the whole number.
                                           ValueRow{"1000000000000000000000000000", 1e27},
                                           ValueRow{"12345678901234567890123456789", 1.2345678901234567890e28},
                                           ValueRow{"0.000000000000000000000000001", 1e-27},
                                           ValueRow{" \t1 +\r\n2 ", 3}, ValueRow{std::string("1\0+5", 4), 1}));

INSTANTIATE_TEST_SUITE_P(Arithmetic, CalculatorValue,
                         ::testing::Values(ValueRow{"-2^2", -4}, ValueRow{"-2*3+1", -5}, ValueRow{"+2-3", -1},
                                           ValueRow{"2^(3^2)", 512}, ValueRow{"2^-1", 0.5}, ValueRow{"2'3", 8},
                                           ValueRow{"2^+3", 8}, ValueRow{"0^0", 1}, ValueRow{"(-2)^3", -8},
                                           ValueRow{"2^0.5", std::sqrt(2.0)}, ValueRow{"1^1e10", 1}));

INSTANTIATE_TEST_SUITE_P(
    Functions, CalculatorValue,
    ::testing::Values(ValueRow{"PI", Pi}, ValueRow{"Pi", Pi}, ValueRow{"2*pi", 2 * Pi}, ValueRow{"e", std::numbers::e},
                      ValueRow{"Sin(0)", 0}, ValueRow{"cos(0)", 1},
                      ValueRow{"tan(pi/4)", std::sin(Pi / 4) / std::cos(Pi / 4)}, ValueRow{"asin(1)", Pi / 2},
                      ValueRow{"arcsin(-1)", -Pi / 2}, ValueRow{"acos(1)", 0},
                      ValueRow{"arccos(0.5)", Pi / 2 - std::atan(0.5 / std::sqrt(0.75))}, ValueRow{"4*atan(1)", Pi},
                      ValueRow{"4*atn(1)", Pi}, ValueRow{"acot(0)", Pi / 2}, ValueRow{"ln(e)", 1},
                      ValueRow{"log(1000)", std::log(1000.0) / std::numbers::ln10}, ValueRow{"sqr(16)", 4},
                      ValueRow{"abs(-3)", 3}, ValueRow{"exp(37)", std::exp(37.0)},
                      ValueRow{"exp(36.9)", std::exp(36.9)}, ValueRow{"exp(-2)", std::exp(-2.0)},
                      // Beyond the sine's argument reduction the trigonometric functions give 0.
                      ValueRow{"sin(1e19)", 0}, ValueRow{"cos(-1e19)", 0}));

INSTANTIATE_TEST_SUITE_P(
    Conditionals, CalculatorValue,
    ::testing::Values(ValueRow{"hvis(1<2, 3, 1/0)", 3}, ValueRow{"hvis(1>2, 2^-1, 4)", 4},
                      ValueRow{"hvis(1=1.0000000001, 1, 0)", 1}, ValueRow{"hvis(1=1.000000002, 1, 0)", 0},
                      ValueRow{"hvis(0=1e-40, 1, 0)", 1}, ValueRow{"hvis(1<>1, 1, 0)", 0},
                      ValueRow{"hvis(1><2, 1, 0)", 1}, ValueRow{"hvis(2<=2, 1, 0)", 1}, ValueRow{"hvis(2>=3, 1, 0)", 0},
                      ValueRow{"hvis(1<2 og 2>3, 1, 0)", 0}, ValueRow{"hvis(1>2 eller 2<3, 1, 0)", 1},
                      ValueRow{"hvis(1<2 eller 1>2, 1, 0)", 1}, ValueRow{"HVIS(1<2, 5, hvis(1>0, 1/0, sqr(-1)))", 5},
                      ValueRow{"hvis(1>2, 1/0, hvis(1<2, 7, 1/0))", 7}, ValueRow{"hvis(1>2, 0^-1, 2)", 2},
                      // A comma between digits is a decimal comma, also inside hvis; after a point it separates.
                      ValueRow{"hvis(1<2, 1.5,2)", 1.5}, ValueRow{"-hvis(1<2, 3, 4)*2", -6}));

struct FailRow {
    std::string text;
    CalcError error;
    int position;
};

void PrintTo(const FailRow& r, std::ostream* os)
{
    *os << '"' << r.text << '"';
}

class CalculatorFailure : public ::testing::TestWithParam<FailRow> {};

TEST_P(CalculatorFailure, ReportsCodeAndPosition)
{
    CalcResult r = evaluate(GetParam().text);
    EXPECT_EQ(r.error, GetParam().error);
    EXPECT_EQ(r.position, GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, CalculatorFailure,
    ::testing::Values(
        FailRow{"", CalcError::NoOpenParen, 0}, FailRow{"   ", CalcError::NoOpenParen, 3},
        FailRow{"2*,5", CalcError::NoOpenParen, 3}, FailRow{"2^3^2", CalcError::TextLeft, 4},
        FailRow{"1 2", CalcError::TextLeft, 3}, FailRow{"1.2.3", CalcError::TextLeft, 4},
        FailRow{"1e5,3", CalcError::TextLeft, 4}, FailRow{"1=1", CalcError::TextLeft, 2},
        FailRow{"1 og 2", CalcError::TextLeft, 3}, FailRow{"x+1", CalcError::NoOpenParen, 1},
        FailRow{"1+@", CalcError::NoOpenParen, 3}, FailRow{"1 @", CalcError::BadCharacter, 3},
        FailRow{"1 x", CalcError::UnknownName, 3}, FailRow{"1 << 2", CalcError::UnknownName, 3},
        FailRow{"1 >> 2", CalcError::UnknownName, 3}, FailRow{"\xF8", CalcError::NoOpenParen, 1},
        FailRow{"stop", CalcError::NoOpenParen, 1}, FailRow{"sin 2", CalcError::NoOpenParen, 5},
        FailRow{"sin(1", CalcError::NoCloseParen, 5}, FailRow{"(1", CalcError::NoCloseParen, 2},
        FailRow{"2*()", CalcError::NoOpenParen, 4},
        // A malformed number where a factor must begin is a missing factor; after an expression it keeps its code.
        FailRow{"2e", CalcError::NoOpenParen, 1}, FailRow{".", CalcError::NoOpenParen, 1},
        FailRow{"1e400", CalcError::NoOpenParen, 1}, FailRow{"1 2e", CalcError::BadNumber, 3},
        FailRow{"1 1e400", CalcError::BadNumber, 3}));

INSTANTIATE_TEST_SUITE_P(
    Conditionals, CalculatorFailure,
    ::testing::Values(
        FailRow{"hvis 1<2", CalcError::NoOpenParen, 6}, FailRow{"hvis(1 2, 3, 4)", CalcError::NoComparison, 8},
        FailRow{"hvis(1<2 3, 4)", CalcError::NoComma, 10}, FailRow{"hvis(1<2, 3 4)", CalcError::NoComma, 13},
        FailRow{"hvis(1<2, 3, 4", CalcError::NoCloseParen, 14}, FailRow{"hvis(1<<2, 1, 2)", CalcError::UnknownName, 7},
        FailRow{"hvis(1=<2, 1, 2)", CalcError::NoOpenParen, 8},
        // "2,3" is the number 2.3, so this hvis has only two parts.
        FailRow{"hvis(1<2,3,4)", CalcError::NoComma, 13},
        // The branch not taken is parsed in full: its syntax errors count, its arithmetic does not.
        FailRow{"hvis(1<2, 1, 2 3)", CalcError::NoCloseParen, 16},
        FailRow{"hvis(1<2, 1, sin 2)", CalcError::NoOpenParen, 18},
        FailRow{"hvis(1<2, 1, x)", CalcError::NoOpenParen, 14}, FailRow{"hvis(1>2, 2^3^2, 1)", CalcError::NoComma, 14},
        FailRow{"hvis(1>2, 3, 1/0)", CalcError::DivisionByZero, 17},
        FailRow{"hvis(1/0>1, 3, 4)", CalcError::DivisionByZero, 9},
        // Both sides of og and eller are evaluated, whatever the first gave.
        FailRow{"hvis(1<2 og 2<3 eller 1/0>1, 1, 0)", CalcError::DivisionByZero, 26}));

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, CalculatorFailure,
    ::testing::Values(
        FailRow{"1/0", CalcError::DivisionByZero, 3}, FailRow{"1/0+5", CalcError::DivisionByZero, 4},
        // The first failure stays; the rest of the text is not read.
        FailRow{"1/0 + x", CalcError::DivisionByZero, 5}, FailRow{"1/(1-1)", CalcError::DivisionByZero, 7},
        FailRow{"(-8)^(1/3)", CalcError::PowerUndefined, 10}, FailRow{"0^-1", CalcError::PowerUndefined, 4},
        FailRow{"0^0.5", CalcError::PowerUndefined, 5}, FailRow{"2^100.5", CalcError::PowerUndefined, 7},
        FailRow{"(-1)^1e10", CalcError::PowerUndefined, 9}, FailRow{"exp(37.5)", CalcError::PowerUndefined, 9},
        FailRow{"exp(-37.5)", CalcError::PowerUndefined, 10}, FailRow{"sqr(-1)", CalcError::OutsideDomain, 7},
        FailRow{"sqr(-1)+1", CalcError::OutsideDomain, 8}, FailRow{"ln(0)", CalcError::OutsideDomain, 5},
        FailRow{"log(-1)", CalcError::OutsideDomain, 7}, FailRow{"asin(1.0001)", CalcError::OutsideDomain, 12},
        FailRow{"acos(-2)", CalcError::OutsideDomain, 8}, FailRow{"tan(1e19)", CalcError::OutsideDomain, 9},
        FailRow{"cot(0)", CalcError::OutsideDomain, 6}, FailRow{"10^400", CalcError::Overflow, 6},
        FailRow{"1e300*1e300", CalcError::Overflow, 11}, FailRow{"-1e308-1e308", CalcError::Overflow, 12}));

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

TEST(CalculatorDepth, AcceptsTheBoundAndRefusesOneMore)
{
    CalcResult ok = evaluate(Repeat("(", CalcMaxDepth) + "1" + Repeat(")", CalcMaxDepth));
    EXPECT_EQ(ok.error, CalcError::None);
    EXPECT_EQ(ok.value, 1);

    CalcResult deep = evaluate(Repeat("(", CalcMaxDepth + 1) + "1" + Repeat(")", CalcMaxDepth + 1));
    EXPECT_EQ(deep.error, CalcError::TooDeep);
    EXPECT_EQ(deep.position, CalcMaxDepth + 1);
}

TEST(CalculatorDepth, HostileNestingFailsInsteadOfExhaustingTheStack)
{
    EXPECT_EQ(evaluate(Repeat("(", 1000000)).error, CalcError::TooDeep);
    EXPECT_EQ(evaluate(Repeat("sin(", 300) + "0").position, 4 * CalcMaxDepth + 1);
    EXPECT_EQ(evaluate(Repeat("hvis(1<2, ", 300)).error, CalcError::TooDeep);
    // The skip parser keeps the same bound.
    EXPECT_EQ(evaluate("hvis(1<2, 1, " + Repeat("(", 300)).error, CalcError::TooDeep);
}

}  // namespace
