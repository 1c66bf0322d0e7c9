// The stand-alone calculator behind the coordinate settings: text in, number out, computed while parsing.
#pragma once

#include <string_view>

namespace tavlix {

// Why evaluate failed. Callers treat every failure alike; the kinds only tell failures apart in tests.
enum class CalcError {
    None = 0,
    // Not the calculator's own: a caller refuses a value it computed but cannot use (the coordinates dialog's
    // TAntal and TDelta).
    NotAllowedHere = 1,
    BadNumber = 2,        // the characters of a number form no valid number (also one too large for a double)
    TextLeft = 3,         // text after a complete expression
    BadCharacter = 4,     // a character that starts no token
    NoComparison = 5,     // comparison operator expected in a condition
    NoOpenParen = 6,      // "(" expected, or no factor where one must begin
    NoComma = 7,          // "," expected in hvis
    NoCloseParen = 8,     // ")" expected
    TooDeep = 9,          // brackets, functions and hvis nested deeper than CalcMaxDepth
    UnknownName = 20,     // a name or operator that is not a keyword
    PowerUndefined = 31,  // x^y not defined by the power rule
    DivisionByZero = 32,
    OutsideDomain = 33,  // argument outside a function's domain
    Overflow = 34,       // a result too large for a double
};

struct CalcResult {
    double value = 0;
    CalcError error = CalcError::None;
    int position = 0;  // 1-based position of the offending token; 0 on success
};

// How deeply brackets, function arguments and hvis may nest before the text is refused.
inline constexpr int CalcMaxDepth = 200;

// A NUL character ends the text, as the end of the view does. On failure the position is that of the first
// character of the token where the failure was found (the length of the text when found at its end), and value is 0.
CalcResult evaluate(std::string_view text);

}  // namespace tavlix
