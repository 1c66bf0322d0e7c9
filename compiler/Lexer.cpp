// Reads the script text token by token for the compiler: white space, comments, numbers, names, operators.
#include "compiler/Lexer.h"

#include <charconv>
#include <cstdlib>

namespace tavlix {

namespace {

constexpr std::size_t TokenTextLength = 25;

bool isDigit(std::uint8_t c)
{
    return c >= '0' && c <= '9';
}

// The decimal order of magnitude of a number text that the conversion found out of range:
// above zero it overflowed, otherwise it underflowed.
long decimalOrder(const std::string& text)
{
    long order = 0;
    bool seenPoint = false, seenDigit = false;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != 'e'; ++i) {
        char c = text[i];
        if (c == '.') {
            seenPoint = true;
            continue;
        }
        if (!seenDigit && c == '0') {
            if (seenPoint)
                --order;
            continue;
        }
        if (!seenDigit)
            seenDigit = true;
        if (!seenPoint)
            ++order;
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
bool convertNumber(const std::string& text, double& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is refused.
        value = 0;
        return decimalOrder(text) <= 0;
    }
    return ec == std::errc() && ptr == last;
}

}  // namespace

void Lexer::startReading(std::string text)
{
    // Nothing of an earlier text may reach this one's messages: the last name read is quoted by them.
    *this = Lexer();
    source_ = std::move(text);
    sourceLength_ = static_cast<int>(source_.size());
    readPos_ = 1;
    advanceChar();
}

void Lexer::stopReading()
{
    source_.clear();
    sourceLength_ = 0;
}

void Lexer::advanceChar()
{
    // "Less than": the LF that ends the last line is never read.
    if (readPos_ < sourceLength_) {
        currentChar_ = LowerCaseMap[static_cast<std::uint8_t>(source_[readPos_ - 1])];
        ++readPos_;
    } else {
        currentChar_ = 0;
    }
}

void Lexer::setErrorToken(ScriptError error)
{
    tokenKind_ = TokenKind::Error;
    error_ = error;
}

void Lexer::nextToken()
{
    while (currentChar_ >= 1 && currentChar_ <= 32)
        advanceChar();
    tokenText_.assign(std::string(1, static_cast<char>(currentChar_)));
    tokenStart_ = readPos_ - 1;
    if (currentChar_ == '(') {
        readComment();
    } else if (isDigit(currentChar_) || currentChar_ == '.') {
        readNumber();
    } else if (currentChar_ == '<' || currentChar_ == '>') {
        readComparison();
    } else if (isNameLetter(currentChar_)) {
        readName();
    } else {
        readSymbol();
    }
}

// comment = "(*" ... "*)"; also the plain "(" token
void Lexer::readComment()
{
    advanceChar();
    if (currentChar_ != '*') {
        tokenKind_ = TokenKind::Open;
        return;
    }
    // The opening "*" may close it too: "(*)" is a whole comment.
    for (;;) {
        while (currentChar_ != '*' && currentChar_ != 0)
            advanceChar();
        if (currentChar_ == 0)
            break;
        advanceChar();
        if (currentChar_ == ')' || currentChar_ == 0)
            break;
    }
    if (currentChar_ == 0) {
        setErrorToken(ScriptError::UnclosedComment);
        return;
    }
    advanceChar();
    tokenKind_ = TokenKind::Comment;
}

// number = digits [ "." digits ] [ "e" [ "+" | "-" ] digits ]
void Lexer::readNumber()
{
    std::string text(1, static_cast<char>(currentChar_));
    auto take = [&] {
        text += static_cast<char>(currentChar_);
        advanceChar();
    };
    advanceChar();
    while (isDigit(currentChar_))
        take();
    if (currentChar_ == '.') {
        take();
        while (isDigit(currentChar_))
            take();
    }
    if (currentChar_ == 'e') {
        take();
        if (currentChar_ == '+' || currentChar_ == '-')
            take();
        while (isDigit(currentChar_))
            take();
    }
    // The message keeps 25 characters; the value comes from the whole text.
    tokenText_.assign(std::string_view(text).substr(0, TokenTextLength));
    if (!convertNumber(text, tokenValue_)) {
        setErrorToken(ScriptError::NumberTooLarge);
        return;
    }
    tokenKind_ = TokenKind::Number;
}

// comparison = "<" | ">" | "<=" | "<>" | "><" | ">="
void Lexer::readComparison()
{
    std::string text(1, static_cast<char>(currentChar_));
    advanceChar();
    if (currentChar_ == '<' || currentChar_ == '=' || currentChar_ == '>') {
        text += static_cast<char>(currentChar_);
        advanceChar();
    }
    const Keyword* k = findKeyword(text);
    if (!k) {
        tokenText_.assign(text);
        setErrorToken(ScriptError::ExpressionError);
        return;
    }
    tokenKind_ = k->kind;
    tokenCode_ = k->code;
    tokenText_.assign(std::string(1, static_cast<char>(k->code)));
}

// name = letter { letter | digit | "_" }
void Lexer::readName()
{
    // The character under reading came from the source just before the next one to read.
    nameText_.assign(1, static_cast<char>(currentChar_));
    writtenName_.assign(1, source_[readPos_ - 2]);
    advanceChar();
    while (isNameLetter(currentChar_) || isDigit(currentChar_) || currentChar_ == '_') {
        nameText_ += static_cast<char>(currentChar_);
        writtenName_ += source_[readPos_ - 2];
        advanceChar();
    }
    std::string_view shown = std::string_view(nameText_).substr(0, TokenTextLength);
    lastName_.assign(shown);
    const Keyword* k = findKeyword(nameText_);
    if (!k) {
        tokenKind_ = TokenKind::Name;
        tokenText_.assign(shown);
        return;
    }
    tokenKind_ = k->kind;
    tokenCode_ = k->code;
    if (k->code == ' ')
        tokenText_.assign(shown);
    else
        tokenText_.assign(std::string(1, static_cast<char>(k->code)));
}

// symbol = one character of the keyword table, or the end of the text
void Lexer::readSymbol()
{
    const Keyword* k = findKeyword(std::string(1, static_cast<char>(currentChar_)));
    if (!k) {
        setErrorToken(ScriptError::UnknownName);
        advanceChar();
        return;
    }
    tokenKind_ = k->kind;
    tokenCode_ = k->code;
    tokenText_.assign(std::string(1, static_cast<char>(k->code)));
    // At the end (also a NUL inside the text) reading stops for good.
    if (tokenKind_ != TokenKind::End)
        advanceChar();
}

void Lexer::skipComments()
{
    while (tokenKind_ == TokenKind::Comment)
        nextToken();
}

bool Lexer::expect(TokenKind kind, ScriptError error)
{
    if (tokenKind_ == kind) {
        nextToken();
        return true;
    }
    error_ = error;
    return false;
}

bool Lexer::failIf(bool condition, ScriptError error)
{
    if (condition)
        error_ = error;
    return condition;
}

}  // namespace tavlix
