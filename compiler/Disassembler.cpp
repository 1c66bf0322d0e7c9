// Turns reverse-polish code back into readable operations, one per line, for tests and debugging.
#include "compiler/Disassembler.h"

#include "engine/Opcodes.h"

#include <bit>
#include <cstdint>
#include <cstdio>

namespace tavlix {

namespace {

const char* mnemonic(OpCode op)
{
    switch (op) {
    case OpCode::Pow: return "pow";
    case OpCode::Mul: return "mul";
    case OpCode::Add: return "add";
    case OpCode::Sub: return "sub";
    case OpCode::Div: return "div";
    case OpCode::Lt: return "lt";
    case OpCode::Eq: return "eq";
    case OpCode::Gt: return "gt";
    case OpCode::Le: return "le";
    case OpCode::Ne: return "ne";
    case OpCode::Ge: return "ge";
    case OpCode::Arccos: return "arccos";
    case OpCode::Exp: return "exp";
    case OpCode::Arcsin: return "arcsin";
    case OpCode::Arctan: return "arctan";
    case OpCode::Arccot: return "arccot";
    case OpCode::Cos: return "cos";
    case OpCode::Log: return "log";
    case OpCode::Ln: return "ln";
    case OpCode::Neg: return "neg";
    case OpCode::Abs: return "abs";
    case OpCode::Sqrt: return "sqrt";
    case OpCode::Sin: return "sin";
    case OpCode::Tan: return "tan";
    case OpCode::Cot: return "cot";
    case OpCode::Stop: return "stop";
    default: return nullptr;
    }
}

std::string numberText(double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

}  // namespace

std::string disassemble(std::string_view code)
{
    std::string out;
    auto byteAt = [&](std::size_t i) { return static_cast<std::uint8_t>(code[i]); };
    std::size_t i = 0;
    while (i < code.size() && byteAt(i) != opByte(OpCode::End)) {
        const auto op = static_cast<OpCode>(byteAt(i++));
        auto need = [&](std::size_t n) { return i + n <= code.size(); };
        if (op == OpCode::Num && need(8)) {
            std::uint64_t bits = 0;
            for (int b = 0; b < 8; ++b)
                bits |= std::uint64_t{byteAt(i + b)} << (8 * b);
            out += "num " + numberText(std::bit_cast<double>(bits));
            i += 8;
        } else if ((op == OpCode::Const || op == OpCode::Ref || op == OpCode::Table) && need(1)) {
            out += op == OpCode::Const ? "const " : op == OpCode::Ref ? "ref " : "table ";
            out += std::to_string(byteAt(i++));
        } else if (op == OpCode::If && need(4)) {
            out += "if " + std::to_string(byteAt(i + 1)) + " " + std::to_string(byteAt(i + 3));
            i += 4;
        } else if (const char* m = mnemonic(op)) {
            out += m;
        } else {
            out += "byte " + std::to_string(opByte(op));
        }
        out += '\n';
    }
    return out;
}

}  // namespace tavlix
