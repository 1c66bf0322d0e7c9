// Appending to the byte code of an expression: a byte, an operation, a number.
#pragma once

#include "engine/Model.h"
#include "engine/Opcodes.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tavlix {

inline constexpr std::size_t CodeLimit = MaxCodeBytes + 1;  // 198: code bytes plus the ending 0

inline void appendByte(std::string& code, int b)
{
    code += static_cast<char>(static_cast<std::uint8_t>(b));
}

inline void appendOp(std::string& code, OpCode op)
{
    appendByte(code, opByte(op));
}

// The 8 bytes of the double, least significant first, whatever the machine's byte order.
inline void appendDouble(std::string& code, double v)
{
    const auto bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i)
        appendByte(code, static_cast<int>((bits >> (8 * i)) & 0xFF));
}

}  // namespace tavlix
