// The settings calculator: its keyword table, tokenizer and a recursive-descent parser that computes as it reads.
#include "support/SettingsCalculator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

namespace tavlix {

namespace {

enum Kind : int {
    KFunction = 0,
    KError = 1,
    KConstant = 2,
    KNumber = 3,
    KPower = 4,
    KMulOp = 5,
    KAddOp = 6,
    KOpen = 7,
    KClose = 8,
    KComma = 9,
    KEnd = 10,
    KHvis = 11,
    KEller = 12,
    KOg = 13,
    KStop = 14,
    KCompare = 15,
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
    {"hvis", KHvis, 134},  {"eller", KEller, '+'}, {"og", KOg, '*'},        {"stop", KStop, 135},
    {"=", KCompare, '='},  {"<=", KCompare, LessEqual}, {"<>", KCompare, NotEqual},
    {"><", KCompare, NotEqual}, {">=", KCompare, GreaterEqual}, {"<", KCompare, '<'}, {">", KCompare, '>'},
    {"cos", KFunction, 'c'}, {"sin", KFunction, 's'}, {"cot", KFunction, 'u'}, {"tan", KFunction, 't'},
    {"acos", KFunction, 'C'}, {"arccos", KFunction, 'C'}, {"asin", KFunction, 'S'}, {"arcsin", KFunction, 'S'},
    {"acot", KFunction, 'U'}, {"arccot", KFunction, 'U'}, {"atan", KFunction, 'T'}, {"arctan", KFunction, 'T'},
    {"atn", KFunction, 'T'}, {"log", KFunction, 'g'}, {"ln", KFunction, 'l'},  {"exp", KFunction, 'L'},
    {"sqr", KFunction, 'q'}, {"abs", KFunction, 'n'},
    {"+", KAddOp, '+'},    {"-", KAddOp, '-'},      {"*", KMulOp, '*'},     {"/", KMulOp, '/'},
    {"^", KPower, '\''},   {"'", KPower, '\''},     {")", KClose, ')'},     {"(", KOpen, '('},
    {",", KComma, ','},    {std::string_view("\0", 1), KEnd, 0},
    {"pi", KConstant, 'p'}, {"e", KConstant, 'e'},
};

const Keyword* FindKeyword(std::string_view text)
{
    auto it = std::find_if(std::begin(Keywords), std::end(Keywords),
                           [text](const Keyword& k) { return k.text == text; });
    return it == std::end(Keywords) ? nullptr : it;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return c >= 'a' && c <= 'z'; }

// Above this exponent the result is refused: the power rule's bound, kept below the double's own limit.
constexpr double MaxPowerExponent = 37;
// Whole exponents up to this size are computed by repeated multiplication.
constexpr double MaxWholeExponent = 2147483647;
// Relative tolerance of "=" and its small absolute floor.
constexpr double EqualTolerance = 5e-10;
constexpr double EqualFloor = 1e-26;
// Arguments from here on are too large for the sine's argument reduction; they give 0.
constexpr double MaxTrigArgument = 9223372036854775808.0;

double WholePower(double x, long long n)
{
    if (n == 0)
        return 1;
    if (n % 2 != 0)
        return x * WholePower(x, n - 1);
    double half = WholePower(x, n / 2);
    return half * half;
}

// Order of magnitude of a decimal number text (digits, point, exponent) whose conversion fell out of range:
// negative means it is too small for a double, so it reads as 0.
long long DecimalMagnitude(std::string_view digits)
{
    std::size_t epos = digits.find('e');
    long long exponent = 0;
    if (epos != std::string_view::npos) {
        std::string_view e = digits.substr(epos + 1);
        bool negative = !e.empty() && e[0] == '-';
        for (char c : e)
            if (IsDigit(c))
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

    CalcResult Run()
    {
        GetChar();
        GetToken();
        double v = Expression(true);
        if (kind_ != KEnd)
            Fail(CalcTextLeft);
        if (error_ != 0)
            return {0, error_, errorPos_};
        return {v, 0, 0};
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;  // characters consumed; ch_ is the last of them
    char ch_ = 0;

    Kind kind_ = KEnd;
    unsigned char code_ = 0;
    double number_ = 0;
    int tokenStart_ = 0;

    int depth_ = 0;
    int error_ = 0;
    int errorPos_ = 0;
    bool tokenizerError_ = false;  // the failure is the tokenizer's, at the current token, not yet claimed by a rule

    // Reading characters: "A" to "Z" become lower case; past the end, and at a NUL, comes the character 0.
    void GetChar()
    {
        if (pos_ < text_.size()) {
            char c = text_[pos_++];
            ch_ = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        } else {
            ch_ = 0;
        }
    }

    char Peek() const { return pos_ < text_.size() ? text_[pos_] : 0; }

    // Records the first failure at the current token; every later token reads as an error, which stops the parse.
    void Fail(int code)
    {
        if (error_ == 0) {
            error_ = code;
            errorPos_ = tokenStart_;
        }
        tokenizerError_ = false;
        kind_ = KError;
    }

    void TokenFail(int code)
    {
        Fail(code);
        tokenizerError_ = error_ == code;
    }

    bool Failed() const { return error_ != 0; }

    void GetToken()
    {
        if (Failed())
            return;
        while (ch_ == ' ' || ch_ == '\t' || ch_ == '\n' || ch_ == '\r')
            GetChar();
        tokenStart_ = static_cast<int>(pos_);
        if (ch_ == '(') {
            kind_ = KOpen;
            code_ = '(';
            GetChar();
        } else if (IsDigit(ch_) || ch_ == '.') {
            ReadNumber();
        } else if (ch_ == '<' || ch_ == '>') {
            std::string op(1, ch_);
            GetChar();
            if (ch_ == '<' || ch_ == '=' || ch_ == '>') {
                op += ch_;
                GetChar();
            }
            Accept(op, CalcUnknownName);
        } else if (IsLetter(ch_)) {
            std::string name;
            while (IsLetter(ch_) || IsDigit(ch_) || ch_ == '_') {
                name += ch_;
                GetChar();
            }
            Accept(name, CalcUnknownName);
        } else {
            std::string one(1, ch_);
            if (ch_ != 0)
                GetChar();
            Accept(one, CalcBadCharacter);
        }
    }

    void Accept(std::string_view text, int failCode)
    {
        const Keyword* k = FindKeyword(text);
        if (!k) {
            TokenFail(failCode);
            return;
        }
        kind_ = k->kind;
        code_ = k->code;
    }

    void CollectDigits(std::string& s)
    {
        while (IsDigit(ch_)) {
            s += ch_;
            GetChar();
        }
    }

    // A comma is a decimal comma only between digits; anywhere else it separates the parts of hvis.
    void ReadNumber()
    {
        std::string s;
        CollectDigits(s);
        bool decimalComma = !s.empty() && ch_ == ',' && IsDigit(Peek());
        if (ch_ == '.' || decimalComma) {
            s += '.';
            GetChar();
            CollectDigits(s);
        }
        bool mantissaDigits = std::any_of(s.begin(), s.end(), IsDigit);
        bool exponentDigits = true;
        if (ch_ == 'e') {
            s += 'e';
            GetChar();
            if (ch_ == '+' || ch_ == '-') {
                s += ch_;
                GetChar();
            }
            std::size_t before = s.size();
            CollectDigits(s);
            exponentDigits = s.size() > before;
        }
        if (!mantissaDigits || !exponentDigits) {
            TokenFail(CalcBadNumber);
            return;
        }
        // The whole text is converted, however long; from_chars ignores the locale's decimal separator.
        auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), number_);
        if (ec == std::errc::result_out_of_range && DecimalMagnitude(s) < 0) {
            number_ = 0;
        } else if (ec != std::errc() || end != s.data() + s.size()) {
            TokenFail(CalcBadNumber);
            return;
        }
        kind_ = KNumber;
    }

    // Reports a missing token: the tokenizer's own failure stays when the token itself was bad.
    bool Expect(Kind k, int code)
    {
        if (kind_ == k) {
            GetToken();
            return true;
        }
        Fail(code);
        return false;
    }

    double Checked(double v)
    {
        if (!std::isfinite(v))
            Fail(CalcOverflow);
        return v;
    }

    // expression = [ "+" | "-" ] term { ( "+" | "-" ) term }
    double Expression(bool live)
    {
        bool negate = false;
        if (kind_ == KAddOp) {
            negate = code_ == '-';
            GetToken();
        }
        double x = Term(live);
        if (negate)
            x = -x;
        while (kind_ == KAddOp) {
            unsigned char op = code_;
            GetToken();
            double y = Term(live);
            if (live && !Failed())
                x = Checked(op == '+' ? x + y : x - y);
        }
        return x;
    }

    // term = power { ( "*" | "/" ) power }
    double Term(bool live)
    {
        double x = Power(live);
        while (kind_ == KMulOp) {
            unsigned char op = code_;
            GetToken();
            double y = Power(live);
            if (!live || Failed())
                continue;
            if (op == '*')
                x = Checked(x * y);
            else if (y == 0)
                Fail(CalcDivisionByZero);
            else
                x = Checked(x / y);
        }
        return x;
    }

    // power = factor [ ( "^" | "'" ) [ "+" | "-" ] factor ]
    double Power(bool live)
    {
        double x = Factor(live);
        if (kind_ != KPower)
            return x;
        GetToken();
        bool negate = false;
        if (kind_ == KAddOp) {
            negate = code_ == '-';
            GetToken();
        }
        double y = Factor(live);
        if (!live || Failed())
            return x;
        return RaisePower(x, negate ? -y : y);
    }

    // x^y: whole exponents by repeated multiplication, others through e^(y ln x) for x > 0 and |y ln x| <= 37.
    double RaisePower(double x, double y)
    {
        if (y == std::trunc(y) && std::fabs(y) <= MaxWholeExponent) {
            auto n = static_cast<long long>(y);
            if (n >= 0)
                return Checked(WholePower(x, n));
            if (x == 0) {
                Fail(CalcPowerUndefined);
                return 0;
            }
            return Checked(1 / WholePower(x, -n));
        }
        if (x <= 0) {
            Fail(CalcPowerUndefined);
            return 0;
        }
        double t = y * std::log(x);
        if (std::fabs(t) > MaxPowerExponent) {
            Fail(CalcPowerUndefined);
            return 0;
        }
        return std::exp(t);
    }

    // factor = hvis | constant | number | function "(" expression ")" | "(" expression ")"
    double Factor(bool live)
    {
        switch (kind_) {
        case KHvis:
            return Nested(live, &CalcParser::Conditional);
        case KConstant: {
            double v = code_ == 'p' ? std::numbers::pi : std::numbers::e;
            GetToken();
            return v;
        }
        case KNumber: {
            double v = number_;
            GetToken();
            return v;
        }
        case KFunction:
            return Nested(live, &CalcParser::FunctionCall);
        case KOpen:
            return Nested(live, &CalcParser::Bracket);
        default:
            // A bad token where a factor must begin counts as a missing factor.
            if (tokenizerError_)
                error_ = CalcNoOpenParen;
            Fail(CalcNoOpenParen);
            return 0;
        }
    }

    // Every bracket, argument and hvis is one level; the bound keeps hostile input off the stack's limit.
    double Nested(bool live, double (CalcParser::*rule)(bool))
    {
        if (depth_ >= CalcMaxDepth) {
            Fail(CalcTooDeep);
            return 0;
        }
        ++depth_;
        double v = (this->*rule)(live);
        --depth_;
        return v;
    }

    // bracket = "(" expression ")"
    double Bracket(bool live)
    {
        GetToken();
        double v = Expression(live);
        Expect(KClose, CalcNoCloseParen);
        return v;
    }

    // call = function "(" expression ")"
    double FunctionCall(bool live)
    {
        unsigned char f = code_;
        GetToken();
        if (!Expect(KOpen, CalcNoOpenParen))
            return 0;
        double v = Expression(live);
        if (!Expect(KClose, CalcNoCloseParen) || !live || Failed())
            return 0;
        return Apply(f, v);
    }

    double Apply(unsigned char f, double v)
    {
        switch (f) {
        case 's':
            return std::fabs(v) >= MaxTrigArgument ? 0 : std::sin(v);
        case 'c':
            return std::fabs(v) >= MaxTrigArgument ? 0 : std::cos(v);
        case 't':
            return Quotient(Apply('s', v), Apply('c', v));
        case 'u':
            return Quotient(Apply('c', v), Apply('s', v));
        case 'S':
            return ArcSine(v);
        case 'C':
            return std::numbers::pi / 2 - ArcSine(v);
        case 'T':
            return std::atan(v);
        case 'U':
            return std::numbers::pi / 2 - std::atan(v);
        case 'l':
            return v > 0 ? std::log(v) : Domain();
        case 'g':
            return v > 0 ? std::log(v) / std::numbers::ln10 : Domain();
        case 'q':
            return v >= 0 ? std::sqrt(v) : Domain();
        case 'n':
            return std::fabs(v);
        case 'L':
            return RaisePower(std::numbers::e, v);
        }
        return Domain();
    }

    double Domain()
    {
        Fail(CalcOutsideDomain);
        return 0;
    }

    double Quotient(double a, double b) { return b == 0 ? Domain() : Checked(a / b); }

    double ArcSine(double v)
    {
        if (std::fabs(v) > 1)
            return Domain();
        if (std::fabs(v) == 1)
            return v * std::numbers::pi / 2;
        return std::atan(v / std::sqrt(1 - v * v));
    }

    // conditional = "hvis" "(" condition "," expression "," expression ")"
    double Conditional(bool live)
    {
        GetToken();
        if (!Expect(KOpen, CalcNoOpenParen))
            return 0;
        bool c = Condition(live);
        if (!Expect(KComma, CalcNoComma))
            return 0;
        double a = Expression(live && c);
        if (!Expect(KComma, CalcNoComma))
            return 0;
        double b = Expression(live && !c);
        Expect(KClose, CalcNoCloseParen);
        return c ? a : b;
    }

    // condition = conjunction { "eller" conjunction }
    bool Condition(bool live)
    {
        bool c = Conjunction(live);
        while (kind_ == KEller) {
            GetToken();
            bool d = Conjunction(live);
            c = c || d;
        }
        return c;
    }

    // conjunction = comparison { "og" comparison }
    bool Conjunction(bool live)
    {
        bool c = Comparison(live);
        while (kind_ == KOg) {
            GetToken();
            bool d = Comparison(live);
            c = c && d;
        }
        return c;
    }

    // comparison = expression comparison-operator expression
    bool Comparison(bool live)
    {
        double a = Expression(live);
        if (kind_ != KCompare) {
            Fail(CalcNoComparison);
            return false;
        }
        unsigned char op = code_;
        GetToken();
        double b = Expression(live);
        if (!live || Failed())
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
    return CalcParser(text).Run();
}

}  // namespace tavlix
