// Turns reverse-polish code back into readable operations, one per line, for tests and debugging.
#include "compiler/Disassembler.h"

#include "engine/Opcodes.h"

#include <bit>
#include <cstdint>
#include <cstdio>

namespace {

const char* Mnemonic(std::uint8_t op) {
    switch (op) {
    case OpPow: return "pow";
    case OpMul: return "mul";
    case OpAdd: return "add";
    case OpSub: return "sub";
    case OpDiv: return "div";
    case OpLt: return "lt";
    case OpEq: return "eq";
    case OpGt: return "gt";
    case OpLe: return "le";
    case OpNe: return "ne";
    case OpGe: return "ge";
    case OpArccos: return "arccos";
    case OpExp: return "exp";
    case OpArcsin: return "arcsin";
    case OpArctan: return "arctan";
    case OpArccot: return "arccot";
    case OpCos: return "cos";
    case OpLog: return "log";
    case OpLn: return "ln";
    case OpNeg: return "neg";
    case OpAbs: return "abs";
    case OpSqrt: return "sqrt";
    case OpSin: return "sin";
    case OpTan: return "tan";
    case OpCot: return "cot";
    case OpStop: return "stop";
    default: return nullptr;
    }
}

std::string NumberText(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

}  // namespace

std::string Disassemble(std::string_view code) {
    std::string out;
    auto byteAt = [&](std::size_t i) { return static_cast<std::uint8_t>(code[i]); };
    std::size_t i = 0;
    while (i < code.size() && byteAt(i) != OpEnd) {
        const std::uint8_t op = byteAt(i++);
        auto need = [&](std::size_t n) { return i + n <= code.size(); };
        if (op == OpNum && need(8)) {
            std::uint64_t bits = 0;
            for (int b = 0; b < 8; ++b) bits |= std::uint64_t{byteAt(i + b)} << (8 * b);
            out += "num " + NumberText(std::bit_cast<double>(bits));
            i += 8;
        } else if ((op == OpConst || op == OpRef || op == OpTable) && need(1)) {
            out += op == OpConst ? "const " : op == OpRef ? "ref " : "table ";
            out += std::to_string(byteAt(i++));
        } else if (op == OpIf && need(4)) {
            out += "if " + std::to_string(byteAt(i + 1)) + " " + std::to_string(byteAt(i + 3));
            i += 4;
        } else if (const char* m = Mnemonic(op)) {
            out += m;
        } else {
            out += "byte " + std::to_string(op);
        }
        out += '\n';
    }
    return out;
}
