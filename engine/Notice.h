// The evaluator's notices: what went wrong in a computation that the user is told about in a message box.
#pragma once

namespace tavlix {

enum class Notice {
    DivisionByZero,               // "1a"
    ZeroToNegativePower,          // "2"
    NegativeBaseFractionalPower,  // "3"
    Overflow,                     // "1": a power too large, or a full evaluation stack
};

// The text the user sees (Windows-1252): the short code the documentation lists, then what it means.
constexpr const char* noticeText(Notice notice)
{
    switch (notice) {
    case Notice::DivisionByZero: return "1a: division med 0";
    case Notice::ZeroToNegativePower:
        return "2: 0 opl\xF8"
               "ftet til en negativ potens";
    case Notice::NegativeBaseFractionalPower:
        return "3: negativt tal opl\xF8"
               "ftet til en brudden potens";
    case Notice::Overflow: return "1: tallet bliver for stort";
    }
    return "";
}

}  // namespace tavlix
