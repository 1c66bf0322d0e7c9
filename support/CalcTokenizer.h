// The settings calculator's tokenizer: characters to tokens, and the first failure of an evaluation.
#pragma once

#include "support/SettingsCalculator.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tavlix {

enum class CalcTokenKind {
    Function,
    Error,
    Constant,
    Number,
    Power,
    MulOp,
    AddOp,
    Open,
    Close,
    Comma,
    End,
    If,   // hvis
    Or,   // eller
    And,  // og
    Stop,
    Compare,
};

// Reads one text; a failure, its own or the parser's, is kept where it was first found.
class CalcTokenizer {
public:
    // Codes of the comparisons that have no one-character spelling.
    static constexpr unsigned char LessEqual = 131;
    static constexpr unsigned char NotEqual = 132;
    static constexpr unsigned char GreaterEqual = 133;

    explicit CalcTokenizer(std::string_view text) : text_(text) {}

    // Reads the first token.
    void start();
    void nextToken();
    CalcTokenKind kind() const { return kind_; }
    // The operator, function or constant letter of the token.
    unsigned char code() const { return code_; }
    double number() const { return number_; }

    // Records the first failure at the current token; every later token reads as an error, which stops the parse.
    void fail(CalcError error);
    // A bad token where a rule needed something counts as that something missing.
    void failAtBadToken(CalcError error);
    bool failed() const { return error_ != CalcError::None; }
    CalcError error() const { return error_; }
    int errorPosition() const { return errorPos_; }

private:
    // Reading characters: "A" to "Z" become lower case; past the end, and at a NUL, comes the character 0.
    void advanceChar();
    char peek() const;
    void failToken(CalcError error);
    void accept(std::string_view text, CalcError failure);
    void collectDigits(std::string& s);
    // A comma is a decimal comma only between digits; anywhere else it separates the parts of hvis.
    void readNumber();

    std::string_view text_;
    std::size_t pos_ = 0;  // characters consumed; ch_ is the last of them
    char ch_ = 0;
    CalcTokenKind kind_ = CalcTokenKind::End;
    unsigned char code_ = 0;
    double number_ = 0;
    int tokenStart_ = 0;
    CalcError error_ = CalcError::None;
    int errorPos_ = 0;
    bool tokenizerError_ = false;  // the failure is the tokenizer's, at the current token, not yet claimed by a rule
};

}  // namespace tavlix
