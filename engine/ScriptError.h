// The errors a run reports in the status line; the compiler finds most of them, the engine the run-time ones.
#pragma once

namespace tavlix {

// The values are the codes the messages and the caret rules have always used.
enum class ScriptError {
    None = 0,
    NumberTooLarge = 2,
    UnclosedComment = 3,
    UnknownName = 4,
    EqualsExpected = 5,
    ApostropheExpected = 7,
    CommaExpected = 8,
    LessExpected = 9,
    GreaterExpected = 10,
    NeverDefined = 11,
    TooManyNames = 12,
    StackOverflow = 13,
    NameUsedBefore = 14,
    ComparisonExpected = 15,
    ExpressionTooComplex = 16,
    CloseParenExpected = 17,
    OpenParenExpected = 18,
    StopConditionMet = 19,
    ExpressionError = 20,
    CannotStandHere = 21,
    ToleranceNotMet = 22,
    WholeNumberExpected = 23,
    DataNameExpected = 24,
    CannotCompute = 25,
    TableTooLarge = 28,
    TableOutOfOrder = 29,
    // A fault or the user ended the run; no message belongs to it.
    Abandoned = 100,
};

}  // namespace tavlix
