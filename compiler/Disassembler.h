// Turns reverse-polish code back into readable operations, one per line, for tests and debugging.
#pragma once

#include <string>
#include <string_view>

namespace tavlix {

// One operation per line ("num 2", "const 1", "ref 3", "table 1", "if 4 5", "pow", "neg", ...),
// up to the ending byte 0; operands are never taken for the end. Lines end with "\n".
std::string disassemble(std::string_view code);

}  // namespace tavlix
