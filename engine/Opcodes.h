// Every byte of the reverse-polish code: what the compiler emits and the evaluator executes.
#pragma once

#include <cstdint>

// a is the entry below the top of the stack, b (or x) the top.
// "fails" means: EvalFailed is set and the evaluation stops.
enum OpCode : std::uint8_t {
    OpEnd = 0,        // ends the code (only where an operation would begin)
    OpPow = 39,       // '   a b -> a^b by Power
    OpMul = 42,       // *   a b -> a*b (also `og`)
    OpAdd = 43,       // +   a b -> a+b (also `eller`)
    OpSub = 45,       // -   a b -> a-b
    OpDiv = 47,       // /   a b -> a/b; b = 0: notice "1a", fails
    OpLt = 60,        // <   a b -> 1 if a<b else 0
    OpEq = 61,        // =   a b -> 1 if ApproxEqual(a,b) else 0
    OpGt = 62,        // >   a b -> 1 if a>b else 0
    OpArccos = 67,    // C   x -> pi/2 - ArcSin(x); |x|>1 fails
    OpExp = 76,       // L   x -> Power(e, x)
    OpArcsin = 83,    // S   x -> ArcSin(x); |x|>1 fails
    OpArctan = 84,    // T   x -> arctan(x)
    OpArccot = 85,    // U   x -> pi/2 - arctan(x)
    OpCos = 99,       // c   x -> cos(x)
    OpNum = 100,      // d + 8 bytes (little-endian double)   -> v
    OpLog = 103,      // g   x -> ln(x)*0.4342944819; x<=0 fails
    OpConst = 107,    // k + 1 byte i                          -> ConstValues[i]
    OpLn = 108,       // l   x -> ln(x); x<=0 fails
    OpNeg = 109,      // m   x -> -x
    OpAbs = 110,      // n   x -> |x|
    OpSqrt = 113,     // q   x -> sqrt(x); x<0 fails
    OpSin = 115,      // s   x -> sin(x)
    OpTan = 116,      // t   x -> sin/cos; cos = 0 fails
    OpCot = 117,      // u   x -> cos/sin; sin = 0 fails
    OpRef = 120,      // x + 1 byte r                          -> ValueAt(r)
    OpLe = 131,       //     a b -> 1 if a<=b else 0
    OpNe = 132,       //     a b -> 1 - ApproxEqual(a,b)
    OpGe = 133,       //     a b -> 1 if a>=b else 0
    OpIf = 134,       // + "x" r1 "x" r2   x -> ValueAt(r1) if x>0 else ValueAt(r2)
    OpStop = 135,     //     StopFlag := 1, EngineError := 19, fails
    OpTable = 231,    // ç + 1 byte j      x -> table j interpolated at x
};
