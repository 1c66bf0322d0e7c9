// The stand-alone calculator behind the coordinate settings: text in, number out, computed while parsing.
#pragma once

#include <string_view>

namespace tavlix {

struct CalcResult {
    double value = 0;
    int error = 0;     // 0 = success
    int position = 0;  // 1-based position of the offending token; 0 on success
};

// Error codes of evaluate. Callers treat every non-zero code alike; the numbers only tell failures apart in tests.
enum CalcError : int {
    CalcOk = 0,
    CalcBadNumber = 2,         // the characters of a number form no valid number (also one too large for a double)
    CalcTextLeft = 3,          // text after a complete expression
    CalcBadCharacter = 4,      // a character that starts no token
    CalcNoComparison = 5,      // comparison operator expected in a condition
    CalcNoOpenParen = 6,       // "(" expected, or no factor where one must begin
    CalcNoComma = 7,           // "," expected in hvis
    CalcNoCloseParen = 8,      // ")" expected
    CalcTooDeep = 9,           // brackets, functions and hvis nested deeper than CalcMaxDepth
    CalcUnknownName = 20,      // a name or operator that is not a keyword
    CalcPowerUndefined = 31,   // x^y not defined by the power rule
    CalcDivisionByZero = 32,
    CalcOutsideDomain = 33,    // argument outside a function's domain
    CalcOverflow = 34,         // a result too large for a double
};

// How deeply brackets, function arguments and hvis may nest before the text is refused.
inline constexpr int CalcMaxDepth = 200;

// A NUL character ends the text, as the end of the view does. On failure the position is that of the first
// character of the token where the failure was found (the length of the text when found at its end), and value is 0.
CalcResult evaluate(std::string_view text);

}  // namespace tavlix
