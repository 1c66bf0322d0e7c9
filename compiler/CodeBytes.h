// Appending to the code of an expression: an operation, an operand, a number through the script's pool.
#pragma once

#include "engine/Model.h"
#include "engine/Opcodes.h"

#include <cstdint>
#include <vector>

namespace tavlix {

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

}  // namespace tavlix
