// Turns reverse-polish code back into readable operations, one per line, for tests and debugging.
#include "compiler/Disassembler.h"

#include "engine/Opcodes.h"

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

std::string disassemble(const CodeWords& code, const std::vector<double>& numbers)
{
    std::string out;
    std::size_t i = 0;
    while (i < code.size() && code[i] != opByte(OpCode::End)) {
        const auto op = static_cast<OpCode>(code[i++]);
        const auto operands = static_cast<std::size_t>(operandCount(op));
        if (operands > 0 && i + operands > code.size()) {
            out += "word " + std::to_string(opByte(op)) + '\n';
            continue;
        }
        if (op == OpCode::Num) {
            const auto p = static_cast<std::size_t>(code[i]);
            out += "num " + (p < numbers.size() ? numberText(numbers[p]) : std::string("?"));
        } else if (op == OpCode::Const || op == OpCode::Ref || op == OpCode::Table) {
            out += op == OpCode::Const ? "const " : op == OpCode::Ref ? "ref " : "table ";
            out += std::to_string(code[i]);
        } else if (op == OpCode::If) {
            out += "if " + std::to_string(code[i]) + " " + std::to_string(code[i + 1]);
        } else if (const char* m = mnemonic(op)) {
            out += m;
        } else {
            out += "word " + std::to_string(code[i - 1]);
        }
        i += operands;
        out += '\n';
    }
    return out;
}

}  // namespace tavlix
