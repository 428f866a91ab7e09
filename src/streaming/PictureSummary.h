#pragma once
// One line on what a stored picture payload decodes to, for people looking at a record.

#include <cstdint>
#include <span>
#include <string>

namespace trovelin {

// "TBitmap 320 x 200, 24 bpp", "TIcon", "TMetafile (enhanced) 2000 x 1000 hundredths of a mm",
// "no picture", or the decoder's message.
std::string picturePayloadSummary(std::span<const std::uint8_t> payload);
// "bitmap 16 x 16, 4 bpp", "empty bitmap", or the decoder's message.
std::string bitmapPayloadSummary(std::span<const std::uint8_t> payload);

}  // namespace trovelin
