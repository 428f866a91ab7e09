#pragma once
// The machine's physical memory, for sizing what one process may take.

#include <cstdint>

namespace trovelin {

// Bytes of physical memory; 0 when the system does not say.
std::uint64_t physicalMemoryBytes();

}  // namespace trovelin
