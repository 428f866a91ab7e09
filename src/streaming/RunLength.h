#pragma once
// Expansion of run-length encoded bitmap rows (8-bit and 4-bit runs) into 32-bit pixels.

#include <cstdint>
#include <span>

#include "streaming/DibImage.h"

namespace trovelin {

// Expands `packed` into `image` (32 bits per pixel, rows counted from the bottom as the encoding
// does). Runs and deltas that leave the image are clipped, a missing end-of-bitmap ends with the
// data, and pixels never reached are black: the image's zeroed storage is left as it is there, so
// that a few bytes of deltas cost no memory. Written pixels hold 0xFF in their high byte.
// Returns how many pixels the data wrote.
std::uint64_t expandRunLength(std::span<const std::uint8_t> packed, int bitsPerIndex, std::span<const RgbQuad> colorTable,
                     DibImage& image);

}  // namespace trovelin
