// How much memory the program holds, so that a run can be stopped before it exhausts the machine.
#pragma once

#include <cstddef>

namespace tavlix {

namespace memory {

// Bytes the process holds in memory now; 0 where the system does not say.
std::size_t residentBytes();
// Bytes a run may let the process hold: three quarters of the machine's memory, or of the address-space limit
// when one is set and lower. 0 where the system does not say (then nothing is stopped).
std::size_t limitBytes();
// True when the process holds more than limit bytes; never for a limit of 0. Whoever guards a run keeps its
// limit (limitBytes(), or a small one in a test).
bool exceeds(std::size_t limit);

}  // namespace memory

}  // namespace tavlix
