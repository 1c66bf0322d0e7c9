// The settings calculator: its keyword table, tokenizer and a recursive-descent parser that computes as it reads.
#include "support/SettingsCalculator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

namespace tavlix {

namespace {

enum class Kind {
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
    If,     // hvis
    Or,     // eller
    And,    // og
    Stop,
    Compare,
};

// Codes of the comparisons that have no one-character spelling.
constexpr unsigned char LessEqual = 131;
constexpr unsigned char NotEqual = 132;
constexpr unsigned char GreaterEqual = 133;

struct Keyword {
    std::string_view text;
    Kind kind;
    unsigned char code;
};

// The calculator's own vocabulary; it shares nothing with the script compiler's.
constexpr Keyword Keywords[] = {
    {"hvis", Kind::If, 134},  {"eller", Kind::Or, '+'}, {"og", Kind::And, '*'},        {"stop", Kind::Stop, 135},
    {"=", Kind::Compare, '='},  {"<=", Kind::Compare, LessEqual}, {"<>", Kind::Compare, NotEqual},
    {"><", Kind::Compare, NotEqual}, {">=", Kind::Compare, GreaterEqual}, {"<", Kind::Compare, '<'}, {">", Kind::Compare, '>'},
    {"cos", Kind::Function, 'c'}, {"sin", Kind::Function, 's'}, {"cot", Kind::Function, 'u'}, {"tan", Kind::Function, 't'},
    {"acos", Kind::Function, 'C'}, {"arccos", Kind::Function, 'C'}, {"asin", Kind::Function, 'S'}, {"arcsin", Kind::Function, 'S'},
    {"acot", Kind::Function, 'U'}, {"arccot", Kind::Function, 'U'}, {"atan", Kind::Function, 'T'}, {"arctan", Kind::Function, 'T'},
    {"atn", Kind::Function, 'T'}, {"log", Kind::Function, 'g'}, {"ln", Kind::Function, 'l'},  {"exp", Kind::Function, 'L'},
    {"sqr", Kind::Function, 'q'}, {"abs", Kind::Function, 'n'},
    {"+", Kind::AddOp, '+'},    {"-", Kind::AddOp, '-'},      {"*", Kind::MulOp, '*'},     {"/", Kind::MulOp, '/'},
    {"^", Kind::Power, '\''},   {"'", Kind::Power, '\''},     {")", Kind::Close, ')'},     {"(", Kind::Open, '('},
    {",", Kind::Comma, ','},    {std::string_view("\0", 1), Kind::End, 0},
    {"pi", Kind::Constant, 'p'}, {"e", Kind::Constant, 'e'},
};

const Keyword* findKeyword(std::string_view text)
{
    auto it = std::find_if(std::begin(Keywords), std::end(Keywords),
                           [text](const Keyword& k) { return k.text == text; });
    return it == std::end(Keywords) ? nullptr : it;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return c >= 'a' && c <= 'z'; }

// Above this exponent the result is refused: the power rule's bound, kept below the double's own limit.
constexpr double MaxPowerExponent = 37;
// Whole exponents up to this size are computed by repeated multiplication.
constexpr double MaxWholeExponent = 2147483647;
// Relative tolerance of "=" and its small absolute floor.
constexpr double EqualTolerance = 5e-10;
constexpr double EqualFloor = 1e-26;
// Arguments from here on are too large for the sine's argument reduction; they give 0.
constexpr double MaxTrigArgument = 9223372036854775808.0;

double wholePower(double x, long long n)
{
    if (n == 0)
        return 1;
    if (n % 2 != 0)
        return x * wholePower(x, n - 1);
    double half = wholePower(x, n / 2);
    return half * half;
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
    long long place = static_cast<long long>(digits.find('.') == std::string_view::npos ? digits.size()
                                                                                         : digits.find('.'));
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (digits[i] >= '1' && digits[i] <= '9') {
            lead = place - static_cast<long long>(i) - (static_cast<long long>(i) < place ? 1 : 0);
            break;
        }
    }
    return lead + exponent;
}

// One evaluation: the text, the reader, the current token and the first failure.
class CalcParser {
public:
    explicit CalcParser(std::string_view text) : text_(text) {}

    CalcResult run()
    {
        advanceChar();
        nextToken();
        double v = expression(true);
        if (kind_ != Kind::End)
            fail(CalcTextLeft);
        if (error_ != 0)
            return {0, error_, errorPos_};
        return {v, 0, 0};
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;  // characters consumed; ch_ is the last of them
    char ch_ = 0;

    Kind kind_ = Kind::End;
    unsigned char code_ = 0;
    double number_ = 0;
    int tokenStart_ = 0;

    int depth_ = 0;
    int error_ = 0;
    int errorPos_ = 0;
    bool tokenizerError_ = false;  // the failure is the tokenizer's, at the current token, not yet claimed by a rule

    // Reading characters: "A" to "Z" become lower case; past the end, and at a NUL, comes the character 0.
    void advanceChar()
    {
        if (pos_ < text_.size()) {
            char c = text_[pos_++];
            ch_ = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        } else {
            ch_ = 0;
        }
    }

    char peek() const { return pos_ < text_.size() ? text_[pos_] : 0; }

    // Records the first failure at the current token; every later token reads as an error, which stops the parse.
    void fail(int code)
    {
        if (error_ == 0) {
            error_ = code;
            errorPos_ = tokenStart_;
        }
        tokenizerError_ = false;
        kind_ = Kind::Error;
    }

    void failToken(int code)
    {
        fail(code);
        tokenizerError_ = error_ == code;
    }

    bool failed() const { return error_ != 0; }

    void nextToken()
    {
        if (failed())
            return;
        while (ch_ == ' ' || ch_ == '\t' || ch_ == '\n' || ch_ == '\r')
            advanceChar();
        tokenStart_ = static_cast<int>(pos_);
        if (ch_ == '(') {
            kind_ = Kind::Open;
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
            accept(op, CalcUnknownName);
        } else if (isLetter(ch_)) {
            std::string name;
            while (isLetter(ch_) || isDigit(ch_) || ch_ == '_') {
                name += ch_;
                advanceChar();
            }
            accept(name, CalcUnknownName);
        } else {
            std::string one(1, ch_);
            if (ch_ != 0)
                advanceChar();
            accept(one, CalcBadCharacter);
        }
    }

    void accept(std::string_view text, int failCode)
    {
        const Keyword* k = findKeyword(text);
        if (!k) {
            failToken(failCode);
            return;
        }
        kind_ = k->kind;
        code_ = k->code;
    }

    void collectDigits(std::string& s)
    {
        while (isDigit(ch_)) {
            s += ch_;
            advanceChar();
        }
    }

    // A comma is a decimal comma only between digits; anywhere else it separates the parts of hvis.
    void readNumber()
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
            failToken(CalcBadNumber);
            return;
        }
        // The whole text is converted, however long; from_chars ignores the locale's decimal separator.
        auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), number_);
        if (ec == std::errc::result_out_of_range && decimalMagnitude(s) < 0) {
            number_ = 0;
        } else if (ec != std::errc() || end != s.data() + s.size()) {
            failToken(CalcBadNumber);
            return;
        }
        kind_ = Kind::Number;
    }

    // Reports a missing token: the tokenizer's own failure stays when the token itself was bad.
    bool expect(Kind k, int code)
    {
        if (kind_ == k) {
            nextToken();
            return true;
        }
        fail(code);
        return false;
    }

    double checked(double v)
    {
        if (!std::isfinite(v))
            fail(CalcOverflow);
        return v;
    }

    // expression = [ "+" | "-" ] term { ( "+" | "-" ) term }
    double expression(bool live)
    {
        bool negate = false;
        if (kind_ == Kind::AddOp) {
            negate = code_ == '-';
            nextToken();
        }
        double x = term(live);
        if (negate)
            x = -x;
        while (kind_ == Kind::AddOp) {
            unsigned char op = code_;
            nextToken();
            double y = term(live);
            if (live && !failed())
                x = checked(op == '+' ? x + y : x - y);
        }
        return x;
    }

    // term = power { ( "*" | "/" ) power }
    double term(bool live)
    {
        double x = power(live);
        while (kind_ == Kind::MulOp) {
            unsigned char op = code_;
            nextToken();
            double y = power(live);
            if (!live || failed())
                continue;
            if (op == '*')
                x = checked(x * y);
            else if (y == 0)
                fail(CalcDivisionByZero);
            else
                x = checked(x / y);
        }
        return x;
    }

    // power = factor [ ( "^" | "'" ) [ "+" | "-" ] factor ]
    double power(bool live)
    {
        double x = factor(live);
        if (kind_ != Kind::Power)
            return x;
        nextToken();
        bool negate = false;
        if (kind_ == Kind::AddOp) {
            negate = code_ == '-';
            nextToken();
        }
        double y = factor(live);
        if (!live || failed())
            return x;
        return raisePower(x, negate ? -y : y);
    }

    // x^y: whole exponents by repeated multiplication, others through e^(y ln x) for x > 0 and |y ln x| <= 37.
    double raisePower(double x, double y)
    {
        if (y == std::trunc(y) && std::fabs(y) <= MaxWholeExponent) {
            auto n = static_cast<long long>(y);
            if (n >= 0)
                return checked(wholePower(x, n));
            if (x == 0) {
                fail(CalcPowerUndefined);
                return 0;
            }
            return checked(1 / wholePower(x, -n));
        }
        if (x <= 0) {
            fail(CalcPowerUndefined);
            return 0;
        }
        double t = y * std::log(x);
        if (std::fabs(t) > MaxPowerExponent) {
            fail(CalcPowerUndefined);
            return 0;
        }
        return std::exp(t);
    }

    // factor = hvis | constant | number | function "(" expression ")" | "(" expression ")"
    double factor(bool live)
    {
        switch (kind_) {
        case Kind::If:
            return nested(live, &CalcParser::conditional);
        case Kind::Constant: {
            double v = code_ == 'p' ? std::numbers::pi : std::numbers::e;
            nextToken();
            return v;
        }
        case Kind::Number: {
            double v = number_;
            nextToken();
            return v;
        }
        case Kind::Function:
            return nested(live, &CalcParser::functionCall);
        case Kind::Open:
            return nested(live, &CalcParser::bracket);
        default:
            // A bad token where a factor must begin counts as a missing factor.
            if (tokenizerError_)
                error_ = CalcNoOpenParen;
            fail(CalcNoOpenParen);
            return 0;
        }
    }

    // Every bracket, argument and hvis is one level; the bound keeps hostile input off the stack's limit.
    double nested(bool live, double (CalcParser::*rule)(bool))
    {
        if (depth_ >= CalcMaxDepth) {
            fail(CalcTooDeep);
            return 0;
        }
        ++depth_;
        double v = (this->*rule)(live);
        --depth_;
        return v;
    }

    // bracket = "(" expression ")"
    double bracket(bool live)
    {
        nextToken();
        double v = expression(live);
        expect(Kind::Close, CalcNoCloseParen);
        return v;
    }

    // call = function "(" expression ")"
    double functionCall(bool live)
    {
        unsigned char f = code_;
        nextToken();
        if (!expect(Kind::Open, CalcNoOpenParen))
            return 0;
        double v = expression(live);
        if (!expect(Kind::Close, CalcNoCloseParen) || !live || failed())
            return 0;
        return apply(f, v);
    }

    double apply(unsigned char f, double v)
    {
        switch (f) {
        case 's':
            return std::fabs(v) >= MaxTrigArgument ? 0 : std::sin(v);
        case 'c':
            return std::fabs(v) >= MaxTrigArgument ? 0 : std::cos(v);
        case 't':
            return quotient(apply('s', v), apply('c', v));
        case 'u':
            return quotient(apply('c', v), apply('s', v));
        case 'S':
            return arcSine(v);
        case 'C':
            return std::numbers::pi / 2 - arcSine(v);
        case 'T':
            return std::atan(v);
        case 'U':
            return std::numbers::pi / 2 - std::atan(v);
        case 'l':
            return v > 0 ? std::log(v) : outsideDomain();
        case 'g':
            return v > 0 ? std::log(v) / std::numbers::ln10 : outsideDomain();
        case 'q':
            return v >= 0 ? std::sqrt(v) : outsideDomain();
        case 'n':
            return std::fabs(v);
        case 'L':
            return raisePower(std::numbers::e, v);
        }
        return outsideDomain();
    }

    double outsideDomain()
    {
        fail(CalcOutsideDomain);
        return 0;
    }

    double quotient(double a, double b) { return b == 0 ? outsideDomain() : checked(a / b); }

    double arcSine(double v)
    {
        if (std::fabs(v) > 1)
            return outsideDomain();
        if (std::fabs(v) == 1)
            return v * std::numbers::pi / 2;
        return std::atan(v / std::sqrt(1 - v * v));
    }

    // conditional = "hvis" "(" condition "," expression "," expression ")"
    double conditional(bool live)
    {
        nextToken();
        if (!expect(Kind::Open, CalcNoOpenParen))
            return 0;
        bool c = condition(live);
        if (!expect(Kind::Comma, CalcNoComma))
            return 0;
        double a = expression(live && c);
        if (!expect(Kind::Comma, CalcNoComma))
            return 0;
        double b = expression(live && !c);
        expect(Kind::Close, CalcNoCloseParen);
        return c ? a : b;
    }

    // condition = conjunction { "eller" conjunction }
    bool condition(bool live)
    {
        bool c = conjunction(live);
        while (kind_ == Kind::Or) {
            nextToken();
            bool d = conjunction(live);
            c = c || d;
        }
        return c;
    }

    // conjunction = comparison { "og" comparison }
    bool conjunction(bool live)
    {
        bool c = comparison(live);
        while (kind_ == Kind::And) {
            nextToken();
            bool d = comparison(live);
            c = c && d;
        }
        return c;
    }

    // comparison = expression comparison-operator expression
    bool comparison(bool live)
    {
        double a = expression(live);
        if (kind_ != Kind::Compare) {
            fail(CalcNoComparison);
            return false;
        }
        unsigned char op = code_;
        nextToken();
        double b = expression(live);
        if (!live || failed())
            return false;
        switch (op) {
        case '<':
            return a < b;
        case '>':
            return a > b;
        case LessEqual:
            return a <= b;
        case GreaterEqual:
            return a >= b;
        case '=':
            return std::fabs(a - b) < (std::fabs(a) + std::fabs(b) + EqualFloor) * EqualTolerance;
        default:
            return !(std::fabs(a - b) < (std::fabs(a) + std::fabs(b) + EqualFloor) * EqualTolerance);
        }
    }
};

}  // namespace

CalcResult evaluate(std::string_view text)
{
    return CalcParser(text).run();
}

}  // namespace tavlix
