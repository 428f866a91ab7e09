#pragma once
// Turning a TColor into the colour value that drawing uses.

#include <cstdint>

#include "framework/NamedConstants.h"

namespace trovelin {

// The colour value (red in the low byte, high byte 0) that `color` draws with. System colours
// resolve through the fixed scheme in SystemColors.cpp; an unknown system colour index is
// black. Every other value keeps its low three bytes, so clNone draws white and clDefault
// black: callers that give those a meaning of their own test for them before resolving.
std::uint32_t colorToRgb(TColor color);

}  // namespace trovelin
