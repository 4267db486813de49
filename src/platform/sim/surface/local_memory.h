// Local memory of the simulated Windows surface: the blocks a function hands
// its caller to free with LocalFree (a security descriptor, its SDDL text).
// Counted, so that a block never freed is left over at exit.
#pragma once

#include <cstddef>

namespace sim {

// A new block of `size` bytes; null when there is no memory.
void* LocalAllocate(size_t size);

}  // namespace sim
