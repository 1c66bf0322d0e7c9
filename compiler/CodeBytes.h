// Appending to the code of an expression: an operation, an operand, a number through the script's pool.
#pragma once

#include "engine/Model.h"
#include "engine/Opcodes.h"

#include <cstddef>
#include <cstdint>

namespace tavlix {

// The longest code accepted, counted as the bytes it once took (see writtenLength), the ending 0 not counted.
inline constexpr std::size_t CodeLimit = MaxCodeBytes + 1;

inline void appendWord(CodeWords& code, int word)
{
    code.push_back(static_cast<std::int32_t>(word));
}

inline void appendOp(CodeWords& code, OpCode op)
{
    appendWord(code, opByte(op));
}

// A push of the number: the pool gets the value, the code its entry.
inline void appendNumber(CodeWords& code, std::vector<double>& pool, double v)
{
    appendOp(code, OpCode::Num);
    appendWord(code, static_cast<int>(pool.size()));
    pool.push_back(v);
}

// The length the code once had in bytes, which the length limit is kept in: a number took 9, a constant, record or
// table 2, a conditional 5, every other operation 1.
inline std::size_t writtenLength(const CodeWords& code)
{
    std::size_t length = 0;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const auto op = static_cast<OpCode>(code[i]);
        length += op == OpCode::Num ? 9 : op == OpCode::If ? 5 : operandCount(op) == 1 ? 2 : 1;
        i += static_cast<std::size_t>(operandCount(op));
    }
    return length;
}

}  // namespace tavlix
