// The settings calculator's tokenizer: characters to tokens, and the first failure of an evaluation.
#include "support/CalcTokenizer.h"

#include "support/SettingsCalculator.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace tavlix {

namespace {

struct Keyword {
    std::string_view text;
    CalcTokenKind kind;
    unsigned char code;
};

// The calculator's own vocabulary; it shares nothing with the script compiler's.
constexpr Keyword Keywords[] = {
    {"hvis", CalcTokenKind::If, 134},
    {"eller", CalcTokenKind::Or, '+'},
    {"og", CalcTokenKind::And, '*'},
    {"stop", CalcTokenKind::Stop, 135},
    {"=", CalcTokenKind::Compare, '='},
    {"<=", CalcTokenKind::Compare, CalcTokenizer::LessEqual},
    {"<>", CalcTokenKind::Compare, CalcTokenizer::NotEqual},
    {"><", CalcTokenKind::Compare, CalcTokenizer::NotEqual},
    {">=", CalcTokenKind::Compare, CalcTokenizer::GreaterEqual},
    {"<", CalcTokenKind::Compare, '<'},
    {">", CalcTokenKind::Compare, '>'},
    {"cos", CalcTokenKind::Function, 'c'},
    {"sin", CalcTokenKind::Function, 's'},
    {"cot", CalcTokenKind::Function, 'u'},
    {"tan", CalcTokenKind::Function, 't'},
    {"acos", CalcTokenKind::Function, 'C'},
    {"arccos", CalcTokenKind::Function, 'C'},
    {"asin", CalcTokenKind::Function, 'S'},
    {"arcsin", CalcTokenKind::Function, 'S'},
    {"acot", CalcTokenKind::Function, 'U'},
    {"arccot", CalcTokenKind::Function, 'U'},
    {"atan", CalcTokenKind::Function, 'T'},
    {"arctan", CalcTokenKind::Function, 'T'},
    {"atn", CalcTokenKind::Function, 'T'},
    {"log", CalcTokenKind::Function, 'g'},
    {"ln", CalcTokenKind::Function, 'l'},
    {"exp", CalcTokenKind::Function, 'L'},
    {"sqr", CalcTokenKind::Function, 'q'},
    {"abs", CalcTokenKind::Function, 'n'},
    {"+", CalcTokenKind::AddOp, '+'},
    {"-", CalcTokenKind::AddOp, '-'},
    {"*", CalcTokenKind::MulOp, '*'},
    {"/", CalcTokenKind::MulOp, '/'},
    {"^", CalcTokenKind::Power, '\''},
    {"'", CalcTokenKind::Power, '\''},
    {")", CalcTokenKind::Close, ')'},
    {"(", CalcTokenKind::Open, '('},
    {",", CalcTokenKind::Comma, ','},
    {std::string_view("\0", 1), CalcTokenKind::End, 0},
    {"pi", CalcTokenKind::Constant, 'p'},
    {"e", CalcTokenKind::Constant, 'e'},
};

const Keyword* findKeyword(std::string_view text)
{
    auto it =
        std::find_if(std::begin(Keywords), std::end(Keywords), [text](const Keyword& k) { return k.text == text; });
    return it == std::end(Keywords) ? nullptr : it;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isLetter(char c)
{
    return c >= 'a' && c <= 'z';
}

// Order of magnitude of a decimal number text (digits, point, exponent) whose conversion fell out of range:
// negative means it is too small for a double, so it reads as 0.
long long decimalMagnitude(std::string_view digits)
{
    std::size_t epos = digits.find('e');
    long long exponent = 0;
    if (epos != std::string_view::npos) {
        std::string_view e = digits.substr(epos + 1);
        bool negative = !e.empty() && e[0] == '-';
        for (char c : e)
            if (isDigit(c))
                exponent = std::min<long long>(exponent * 10 + (c - '0'), 1000000000);
        if (negative)
            exponent = -exponent;
        digits = digits.substr(0, epos);
    }
    long long lead = 0;  // where the first non-zero digit stands, relative to the point
    long long place =
        static_cast<long long>(digits.find('.') == std::string_view::npos ? digits.size() : digits.find('.'));
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (digits[i] >= '1' && digits[i] <= '9') {
            lead = place - static_cast<long long>(i) - (static_cast<long long>(i) < place ? 1 : 0);
            break;
        }
    }
    return lead + exponent;
}

}  // namespace

void CalcTokenizer::start()
{
    advanceChar();
    nextToken();
}

void CalcTokenizer::failAtBadToken(CalcError error)
{
    if (tokenizerError_)
        error_ = error;
    fail(error);
}

// Reading characters: "A" to "Z" become lower case; past the end, and at a NUL, comes the character 0.
void CalcTokenizer::advanceChar()
{
    if (pos_ < text_.size()) {
        char c = text_[pos_++];
        ch_ = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    } else {
        ch_ = 0;
    }
}

char CalcTokenizer::peek() const
{
    return pos_ < text_.size() ? text_[pos_] : 0;
}

void CalcTokenizer::fail(CalcError error)
{
    if (error_ == CalcError::None) {
        error_ = error;
        errorPos_ = tokenStart_;
    }
    tokenizerError_ = false;
    kind_ = CalcTokenKind::Error;
}

void CalcTokenizer::failToken(CalcError error)
{
    fail(error);
    tokenizerError_ = error_ == error;
}

void CalcTokenizer::nextToken()
{
    if (failed())
        return;
    while (ch_ == ' ' || ch_ == '\t' || ch_ == '\n' || ch_ == '\r')
        advanceChar();
    tokenStart_ = static_cast<int>(pos_);
    if (ch_ == '(') {
        kind_ = CalcTokenKind::Open;
        code_ = '(';
        advanceChar();
    } else if (isDigit(ch_) || ch_ == '.') {
        readNumber();
    } else if (ch_ == '<' || ch_ == '>') {
        std::string op(1, ch_);
        advanceChar();
        if (ch_ == '<' || ch_ == '=' || ch_ == '>') {
            op += ch_;
            advanceChar();
        }
        accept(op, CalcError::UnknownName);
    } else if (isLetter(ch_)) {
        std::string name;
        while (isLetter(ch_) || isDigit(ch_) || ch_ == '_') {
            name += ch_;
            advanceChar();
        }
        accept(name, CalcError::UnknownName);
    } else {
        std::string one(1, ch_);
        if (ch_ != 0)
            advanceChar();
        accept(one, CalcError::BadCharacter);
    }
}

void CalcTokenizer::accept(std::string_view text, CalcError failure)
{
    const Keyword* k = findKeyword(text);
    if (!k) {
        failToken(failure);
        return;
    }
    kind_ = k->kind;
    code_ = k->code;
}

void CalcTokenizer::collectDigits(std::string& s)
{
    while (isDigit(ch_)) {
        s += ch_;
        advanceChar();
    }
}

// A comma is a decimal comma only between digits; anywhere else it separates the parts of hvis.
void CalcTokenizer::readNumber()
{
    std::string s;
    collectDigits(s);
    bool decimalComma = !s.empty() && ch_ == ',' && isDigit(peek());
    if (ch_ == '.' || decimalComma) {
        s += '.';
        advanceChar();
        collectDigits(s);
    }
    bool mantissaDigits = std::any_of(s.begin(), s.end(), isDigit);
    bool exponentDigits = true;
    if (ch_ == 'e') {
        s += 'e';
        advanceChar();
        if (ch_ == '+' || ch_ == '-') {
            s += ch_;
            advanceChar();
        }
        std::size_t before = s.size();
        collectDigits(s);
        exponentDigits = s.size() > before;
    }
    if (!mantissaDigits || !exponentDigits) {
        failToken(CalcError::BadNumber);
        return;
    }
    // The whole text is converted, however long; from_chars ignores the locale's decimal separator.
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), number_);
    if (ec == std::errc::result_out_of_range && decimalMagnitude(s) < 0) {
        number_ = 0;
    } else if (ec != std::errc() || end != s.data() + s.size()) {
        failToken(CalcError::BadNumber);
        return;
    }
    kind_ = CalcTokenKind::Number;
}

}  // namespace tavlix
