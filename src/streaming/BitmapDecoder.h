#pragma once
// Decodes bitmap data (a 32-bit byte count, then a BMP file) into an image.

#include <memory>

#include "streaming/DibImage.h"

namespace trovelin {

class Stream;

// The decoded image, or null for a byte count of 0. Refusals are "Bitmap image is not valid",
// data cut short is "Stream read error".
std::shared_ptr<const DibImage> decodeBitmapData(Stream& stream);

}  // namespace trovelin
