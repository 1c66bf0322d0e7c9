// Reads the script text token by token for the compiler: white space, comments, numbers, names, operators.
#include "compiler/Lexer.h"

#include "engine/Model.h"

#include <charconv>
#include <cstdlib>

namespace {

constexpr std::size_t TokenTextLength = 25;

bool IsDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }

// The decimal order of magnitude of a number text that the conversion found out of range:
// above zero it overflowed, otherwise it underflowed.
long DecimalOrder(const std::string& text) {
    long order = 0;
    bool seenPoint = false, seenDigit = false;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != 'e'; ++i) {
        char c = text[i];
        if (c == '.') { seenPoint = true; continue; }
        if (!seenDigit && c == '0') { if (seenPoint) --order; continue; }
        if (!seenDigit) seenDigit = true;
        if (!seenPoint) ++order;
    }
    if (i < text.size()) {
        // strtol saturates on absurd exponents; clamp so the sum cannot overflow either.
        constexpr long Bound = 1000000;
        long exponent = std::strtol(text.c_str() + i + 1, nullptr, 10);
        order += exponent > Bound ? Bound : exponent < -Bound ? -Bound : exponent;
    }
    return order;
}

// The whole text as a double; false when it is no number or lies beyond the range of a double.
bool ConvertNumber(const std::string& text, double& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is refused.
        value = 0;
        return DecimalOrder(text) <= 0;
    }
    return ec == std::errc() && ptr == last;
}

}  // namespace

void Lexer::StartReading(std::string text) {
    Source = std::move(text);
    SourceLength = static_cast<int>(Source.size());
    ReadPos = 1;
    GetChar();
}

void Lexer::GetChar() {
    // "Less than": the LF that ends the last line is never read.
    if (ReadPos < SourceLength) {
        CurChar = CharMap[static_cast<std::uint8_t>(Source[ReadPos - 1])];
        ++ReadPos;
    } else {
        CurChar = 0;
    }
}

void Lexer::SetError(int code) {
    TokenKind = TkError;
    ErrorCode = code;
}

void Lexer::GetToken() {
    while (CurChar >= 1 && CurChar <= 32) GetChar();
    Eng.TokenText.assign(std::string(1, static_cast<char>(CurChar)));
    TokenStart = ReadPos - 1;
    if (CurChar == '(') {
        ReadComment();
    } else if (IsDigit(CurChar) || CurChar == '.') {
        ReadNumber();
    } else if (CurChar == '<' || CurChar == '>') {
        ReadComparison();
    } else if (IsNameLetter(CurChar)) {
        ReadName();
    } else {
        ReadSymbol();
    }
}

// comment = "(*" ... "*)"; also the plain "(" token
void Lexer::ReadComment() {
    GetChar();
    if (CurChar != '*') {
        TokenKind = TkOpen;
        return;
    }
    // The opening "*" may close it too: "(*)" is a whole comment.
    for (;;) {
        while (CurChar != '*' && CurChar != 0) GetChar();
        if (CurChar == 0) break;
        GetChar();
        if (CurChar == ')' || CurChar == 0) break;
    }
    if (CurChar == 0) {
        SetError(3);
        return;
    }
    GetChar();
    TokenKind = TkComment;
}

// number = digits [ "." digits ] [ "e" [ "+" | "-" ] digits ]
void Lexer::ReadNumber() {
    std::string text(1, static_cast<char>(CurChar));
    auto take = [&] {
        text += static_cast<char>(CurChar);
        GetChar();
    };
    GetChar();
    while (IsDigit(CurChar)) take();
    if (CurChar == '.') {
        take();
        while (IsDigit(CurChar)) take();
    }
    if (CurChar == 'e') {
        take();
        if (CurChar == '+' || CurChar == '-') take();
        while (IsDigit(CurChar)) take();
    }
    // The message keeps 25 characters; the value comes from the whole text.
    Eng.TokenText.assign(std::string_view(text).substr(0, TokenTextLength));
    if (!ConvertNumber(text, TokenValue)) {
        SetError(2);
        return;
    }
    TokenKind = TkNumber;
}

// comparison = "<" | ">" | "<=" | "<>" | "><" | ">="
void Lexer::ReadComparison() {
    std::string text(1, static_cast<char>(CurChar));
    GetChar();
    if (CurChar == '<' || CurChar == '=' || CurChar == '>') {
        text += static_cast<char>(CurChar);
        GetChar();
    }
    const Keyword* k = FindKeyword(text);
    if (!k) {
        Eng.TokenText.assign(text);
        SetError(20);
        return;
    }
    TokenKind = k->Kind;
    TokenCode = k->Code;
    Eng.TokenText.assign(std::string(1, static_cast<char>(k->Code)));
}

// name = letter { letter | digit | "_" }
void Lexer::ReadName() {
    NameText.assign(1, static_cast<char>(CurChar));
    GetChar();
    while (IsNameLetter(CurChar) || IsDigit(CurChar) || CurChar == '_') {
        NameText += static_cast<char>(CurChar);
        GetChar();
    }
    std::string_view shown = std::string_view(NameText).substr(0, TokenTextLength);
    LastName.assign(shown);
    const Keyword* k = FindKeyword(NameText);
    if (!k) {
        TokenKind = TkName;
        Eng.TokenText.assign(shown);
        return;
    }
    TokenKind = k->Kind;
    TokenCode = k->Code;
    if (k->Code == ' ')
        Eng.TokenText.assign(shown);
    else
        Eng.TokenText.assign(std::string(1, static_cast<char>(k->Code)));
}

// symbol = one character of the keyword table, or the end of the text
void Lexer::ReadSymbol() {
    const Keyword* k = FindKeyword(std::string(1, static_cast<char>(CurChar)));
    if (!k) {
        SetError(4);
        GetChar();
        return;
    }
    TokenKind = k->Kind;
    TokenCode = k->Code;
    Eng.TokenText.assign(std::string(1, static_cast<char>(k->Code)));
    // At the end (also a NUL inside the text) reading stops for good.
    if (TokenKind != TkEnd) GetChar();
}

void Lexer::xGetToken() {
    while (TokenKind == TkComment) GetToken();
}

bool Lexer::CheckToken(int kind, int code) {
    if (TokenKind == kind) {
        GetToken();
        return false;
    }
    ErrorCode = code;
    return true;
}

bool Lexer::checkbool(bool condition, int code) {
    if (condition) ErrorCode = code;
    return condition;
}
