// Every byte of the reverse-polish code: what the compiler emits and the evaluator executes.
#pragma once

#include <cstdint>

namespace tavlix {

// a is the entry below the top of the stack, b (or x) the top.
// "fails" means: the run state's failed is set and the evaluation stops.
enum class OpCode : std::uint8_t {
    End = 0,      // ends the code (only where an operation would begin)
    Pow = 39,     // '   a b -> a^b by power
    Mul = 42,     // *   a b -> a*b (also `og`)
    Add = 43,     // +   a b -> a+b (also `eller`)
    Sub = 45,     // -   a b -> a-b
    Div = 47,     // /   a b -> a/b; b = 0: notice DivisionByZero, fails
    Lt = 60,      // <   a b -> 1 if a<b else 0
    Eq = 61,      // =   a b -> 1 if approxEqual(a,b) else 0
    Gt = 62,      // >   a b -> 1 if a>b else 0
    Arccos = 67,  // C   x -> pi/2 - arcSin(x); |x|>1 fails
    Exp = 76,     // L   x -> power(e, x)
    Arcsin = 83,  // S   x -> arcSin(x); |x|>1 fails
    Arctan = 84,  // T   x -> arctan(x)
    Arccot = 85,  // U   x -> pi/2 - arctan(x)
    Cos = 99,     // c   x -> cos(x)
    Num = 100,    // d + pool entry p                      -> numbers[p]
    Log = 103,    // g   x -> ln(x)*0.4342944819; x<=0 fails
    Const = 107,  // k + constant i                        -> constantValues[i]
    Ln = 108,     // l   x -> ln(x); x<=0 fails
    Neg = 109,    // m   x -> -x
    Abs = 110,    // n   x -> |x|
    Sqrt = 113,   // q   x -> sqrt(x); x<0 fails
    Sin = 115,    // s   x -> sin(x)
    Tan = 116,    // t   x -> sin/cos; cos = 0 fails
    Cot = 117,    // u   x -> cos/sin; sin = 0 fails
    Ref = 120,    // x + record r                          -> valueAt(r)
    Le = 131,     //     a b -> 1 if a<=b else 0
    Ne = 132,     //     a b -> 1 - approxEqual(a,b)
    Ge = 133,     //     a b -> 1 if a>=b else 0
    If = 134,     // + r1 r2           x -> valueAt(r1) if x>0 else valueAt(r2)
    Stop = 135,   //     stopped := true, error StopConditionMet, fails
    Table = 231,  // ç + table j       x -> table j interpolated at x
};

// The byte an operation is stored as.
constexpr std::uint8_t opByte(OpCode op)
{
    return static_cast<std::uint8_t>(op);
}

// The operand words that follow the operation in the code.
constexpr int operandCount(OpCode op)
{
    switch (op) {
    case OpCode::Num:
    case OpCode::Const:
    case OpCode::Ref:
    case OpCode::Table: return 1;
    case OpCode::If: return 2;
    default: return 0;
    }
}

}  // namespace tavlix
