// The settings calculator's parser: recursive descent over the tokens, computing as it reads.
#pragma once

#include "support/CalcTokenizer.h"
#include "support/SettingsCalculator.h"

#include <string_view>

namespace tavlix {

// One evaluation: the tokens, the nesting depth and the value.
class CalcParser {
public:
    explicit CalcParser(std::string_view text) : tokens_(text) {}

    CalcResult run();

private:
    // Reports a missing token: the tokenizer's own failure stays when the token itself was bad.
    bool expect(CalcTokenKind k, CalcError error);
    double checked(double v);
    // expression = [ "+" | "-" ] term { ( "+" | "-" ) term }
    double expression(bool live);
    // term = power { ( "*" | "/" ) power }
    double term(bool live);
    // power = factor [ ( "^" | "'" ) [ "+" | "-" ] factor ]
    double power(bool live);
    // x^y: whole exponents by repeated multiplication, others through e^(y ln x) for x > 0 and |y ln x| <= 37.
    double raisePower(double x, double y);
    // factor = hvis | constant | number | function "(" expression ")" | "(" expression ")"
    double factor(bool live);
    // Every bracket, argument and hvis is one level; the bound keeps hostile input off the stack's limit.
    double nested(bool live, double (CalcParser::*rule)(bool));
    // bracket = "(" expression ")"
    double bracket(bool live);
    // call = function "(" expression ")"
    double functionCall(bool live);
    double apply(unsigned char f, double v);
    double outsideDomain();
    double quotient(double a, double b);
    double arcSine(double v);
    // conditional = "hvis" "(" condition "," expression "," expression ")"
    double conditional(bool live);
    // condition = conjunction { "eller" conjunction }
    bool condition(bool live);
    // conjunction = comparison { "og" comparison }
    bool conjunction(bool live);
    // comparison = expression comparison-operator expression
    bool comparison(bool live);

    CalcTokenizer tokens_;
    int depth_ = 0;
};

}  // namespace tavlix
