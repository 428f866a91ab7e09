#pragma once
// One line on what a stored picture payload decodes to, for people looking at a record.

#include <cstdint>
#include <span>
#include <string>

namespace trovelin {

class PixelBudget;

// The pixels decoded to describe a payload are charged to `budget` (none: no limit), so that
// looking at a record costs no more than loading it.
// "TBitmap 320 x 200, 24 bpp", "TIcon", "TMetafile (enhanced) 2000 x 1000 hundredths of a mm",
// "no picture", or the decoder's message.
std::string picturePayloadSummary(std::span<const std::uint8_t> payload, PixelBudget* budget);
// "bitmap 16 x 16, 4 bpp", "empty bitmap", or the decoder's message.
std::string bitmapPayloadSummary(std::span<const std::uint8_t> payload, PixelBudget* budget);

}  // namespace trovelin
