// Turns reverse-polish code back into readable operations, one per line, for tests and debugging.
#pragma once

#include "engine/Model.h"

#include <string>
#include <vector>

namespace tavlix {

// One operation per line ("num 2", "const 1", "ref 3", "table 1", "if 4 5", "pow", "neg", ...),
// up to End; operands are never taken for the end. A number is shown from the pool ("num ?" when the pool has
// no such entry). Lines end with "\n".
std::string disassemble(const CodeWords& code, const std::vector<double>& numbers);

}  // namespace tavlix
