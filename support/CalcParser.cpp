// The settings calculator's parser: recursive descent over the tokens, computing as it reads.
#include "support/CalcParser.h"

#include <cmath>
#include <numbers>

namespace tavlix {

namespace {

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

}  // namespace

CalcResult CalcParser::run()
{
    tokens_.start();
    double v = expression(true);
    if (tokens_.kind() != CalcTokenKind::End)
        tokens_.fail(CalcError::TextLeft);
    if (tokens_.failed())
        return {0, tokens_.error(), tokens_.errorPosition()};
    return {v, CalcError::None, 0};
}

// Reports a missing token: the tokenizer's own failure stays when the token itself was bad.
bool CalcParser::expect(CalcTokenKind k, CalcError error)
{
    if (tokens_.kind() == k) {
        tokens_.nextToken();
        return true;
    }
    tokens_.fail(error);
    return false;
}

double CalcParser::checked(double v)
{
    if (!std::isfinite(v))
        tokens_.fail(CalcError::Overflow);
    return v;
}

// expression = [ "+" | "-" ] term { ( "+" | "-" ) term }
double CalcParser::expression(bool live)
{
    bool negate = false;
    if (tokens_.kind() == CalcTokenKind::AddOp) {
        negate = tokens_.code() == '-';
        tokens_.nextToken();
    }
    double x = term(live);
    if (negate)
        x = -x;
    while (tokens_.kind() == CalcTokenKind::AddOp) {
        unsigned char op = tokens_.code();
        tokens_.nextToken();
        double y = term(live);
        if (live && !tokens_.failed())
            x = checked(op == '+' ? x + y : x - y);
    }
    return x;
}

// term = power { ( "*" | "/" ) power }
double CalcParser::term(bool live)
{
    double x = power(live);
    while (tokens_.kind() == CalcTokenKind::MulOp) {
        unsigned char op = tokens_.code();
        tokens_.nextToken();
        double y = power(live);
        if (!live || tokens_.failed())
            continue;
        if (op == '*')
            x = checked(x * y);
        else if (y == 0)
            tokens_.fail(CalcError::DivisionByZero);
        else
            x = checked(x / y);
    }
    return x;
}

// power = factor [ ( "^" | "'" ) [ "+" | "-" ] factor ]
double CalcParser::power(bool live)
{
    double x = factor(live);
    if (tokens_.kind() != CalcTokenKind::Power)
        return x;
    tokens_.nextToken();
    bool negate = false;
    if (tokens_.kind() == CalcTokenKind::AddOp) {
        negate = tokens_.code() == '-';
        tokens_.nextToken();
    }
    double y = factor(live);
    if (!live || tokens_.failed())
        return x;
    return raisePower(x, negate ? -y : y);
}

// x^y: whole exponents by repeated multiplication, others through e^(y ln x) for x > 0 and |y ln x| <= 37.
double CalcParser::raisePower(double x, double y)
{
    if (y == std::trunc(y) && std::fabs(y) <= MaxWholeExponent) {
        auto n = static_cast<long long>(y);
        if (n >= 0)
            return checked(wholePower(x, n));
        if (x == 0) {
            tokens_.fail(CalcError::PowerUndefined);
            return 0;
        }
        return checked(1 / wholePower(x, -n));
    }
    if (x <= 0) {
        tokens_.fail(CalcError::PowerUndefined);
        return 0;
    }
    double t = y * std::log(x);
    if (std::fabs(t) > MaxPowerExponent) {
        tokens_.fail(CalcError::PowerUndefined);
        return 0;
    }
    return std::exp(t);
}

// factor = hvis | constant | number | function "(" expression ")" | "(" expression ")"
double CalcParser::factor(bool live)
{
    switch (tokens_.kind()) {
    case CalcTokenKind::If: return nested(live, &CalcParser::conditional);
    case CalcTokenKind::Constant: {
        double v = tokens_.code() == 'p' ? std::numbers::pi : std::numbers::e;
        tokens_.nextToken();
        return v;
    }
    case CalcTokenKind::Number: {
        double v = tokens_.number();
        tokens_.nextToken();
        return v;
    }
    case CalcTokenKind::Function: return nested(live, &CalcParser::functionCall);
    case CalcTokenKind::Open: return nested(live, &CalcParser::bracket);
    default:
        // A bad token where a factor must begin counts as a missing factor.
        tokens_.failAtBadToken(CalcError::NoOpenParen);
        return 0;
    }
}

// Every bracket, argument and hvis is one level; the bound keeps hostile input off the stack's limit.
double CalcParser::nested(bool live, double (CalcParser::*rule)(bool))
{
    if (depth_ >= CalcMaxDepth) {
        tokens_.fail(CalcError::TooDeep);
        return 0;
    }
    ++depth_;
    double v = (this->*rule)(live);
    --depth_;
    return v;
}

// bracket = "(" expression ")"
double CalcParser::bracket(bool live)
{
    tokens_.nextToken();
    double v = expression(live);
    expect(CalcTokenKind::Close, CalcError::NoCloseParen);
    return v;
}

// call = function "(" expression ")"
double CalcParser::functionCall(bool live)
{
    unsigned char f = tokens_.code();
    tokens_.nextToken();
    if (!expect(CalcTokenKind::Open, CalcError::NoOpenParen))
        return 0;
    double v = expression(live);
    if (!expect(CalcTokenKind::Close, CalcError::NoCloseParen) || !live || tokens_.failed())
        return 0;
    return apply(f, v);
}

double CalcParser::apply(unsigned char f, double v)
{
    switch (f) {
    case 's': return std::fabs(v) >= MaxTrigArgument ? 0 : std::sin(v);
    case 'c': return std::fabs(v) >= MaxTrigArgument ? 0 : std::cos(v);
    case 't': return quotient(apply('s', v), apply('c', v));
    case 'u': return quotient(apply('c', v), apply('s', v));
    case 'S': return arcSine(v);
    case 'C': return std::numbers::pi / 2 - arcSine(v);
    case 'T': return std::atan(v);
    case 'U': return std::numbers::pi / 2 - std::atan(v);
    case 'l': return v > 0 ? std::log(v) : outsideDomain();
    // Not the script's log: stored documents' settings were computed with this quotient, and it is exact for the
    // powers of ten a setting holds.
    case 'g': return v > 0 ? std::log(v) / std::numbers::ln10 : outsideDomain();
    case 'q': return v >= 0 ? std::sqrt(v) : outsideDomain();
    case 'n': return std::fabs(v);
    case 'L': return raisePower(std::numbers::e, v);
    }
    return outsideDomain();
}

double CalcParser::outsideDomain()
{
    tokens_.fail(CalcError::OutsideDomain);
    return 0;
}

double CalcParser::quotient(double a, double b)
{
    return b == 0 ? outsideDomain() : checked(a / b);
}

double CalcParser::arcSine(double v)
{
    if (std::fabs(v) > 1)
        return outsideDomain();
    if (std::fabs(v) == 1)
        return v * std::numbers::pi / 2;
    return std::atan(v / std::sqrt(1 - v * v));
}

// conditional = "hvis" "(" condition "," expression "," expression ")"
double CalcParser::conditional(bool live)
{
    tokens_.nextToken();
    if (!expect(CalcTokenKind::Open, CalcError::NoOpenParen))
        return 0;
    bool c = condition(live);
    if (!expect(CalcTokenKind::Comma, CalcError::NoComma))
        return 0;
    double a = expression(live && c);
    if (!expect(CalcTokenKind::Comma, CalcError::NoComma))
        return 0;
    double b = expression(live && !c);
    expect(CalcTokenKind::Close, CalcError::NoCloseParen);
    return c ? a : b;
}

// condition = conjunction { "eller" conjunction }
bool CalcParser::condition(bool live)
{
    bool c = conjunction(live);
    while (tokens_.kind() == CalcTokenKind::Or) {
        tokens_.nextToken();
        bool d = conjunction(live);
        c = c || d;
    }
    return c;
}

// conjunction = comparison { "og" comparison }
bool CalcParser::conjunction(bool live)
{
    bool c = comparison(live);
    while (tokens_.kind() == CalcTokenKind::And) {
        tokens_.nextToken();
        bool d = comparison(live);
        c = c && d;
    }
    return c;
}

// comparison = expression comparison-operator expression
bool CalcParser::comparison(bool live)
{
    double a = expression(live);
    if (tokens_.kind() != CalcTokenKind::Compare) {
        tokens_.fail(CalcError::NoComparison);
        return false;
    }
    unsigned char op = tokens_.code();
    tokens_.nextToken();
    double b = expression(live);
    if (!live || tokens_.failed())
        return false;
    switch (op) {
    case '<': return a < b;
    case '>': return a > b;
    case CalcTokenizer::LessEqual: return a <= b;
    case CalcTokenizer::GreaterEqual: return a >= b;
    case '=': return std::fabs(a - b) < (std::fabs(a) + std::fabs(b) + EqualFloor) * EqualTolerance;
    default: return !(std::fabs(a - b) < (std::fabs(a) + std::fabs(b) + EqualFloor) * EqualTolerance);
    }
}

}  // namespace tavlix
