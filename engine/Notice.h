// The evaluator's notices: what went wrong in a computation that the user is told about in a message box.
#pragma once

namespace tavlix {

enum class Notice {
    DivisionByZero,               // "1a"
    ZeroToNegativePower,          // "2"
    NegativeBaseFractionalPower,  // "3"
    Overflow,                     // "1": a power too large, or a full evaluation stack
};

// The text the user sees: the short codes the documentation of the notices lists.
constexpr const char* noticeText(Notice notice)
{
    switch (notice) {
    case Notice::DivisionByZero: return "1a";
    case Notice::ZeroToNegativePower: return "2";
    case Notice::NegativeBaseFractionalPower: return "3";
    case Notice::Overflow: return "1";
    }
    return "";
}

}  // namespace tavlix
