#pragma once
// Conversion of the 10-byte 80-bit extended-precision values of records to double.

#include <array>
#include <cstdint>

namespace trovelin {

double extendedToDouble(const std::array<std::uint8_t, 10>& bytes);

}  // namespace trovelin
