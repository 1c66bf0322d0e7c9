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
// For tests: a limit to use instead of the machine's (0 restores it).
void setLimitForTests(std::size_t bytes);
// True when the process holds more than limitBytes().
bool nearlyExhausted();

}  // namespace memory

}  // namespace tavlix
