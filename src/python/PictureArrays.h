#pragma once
// Pictures as arrays of red, green, blue and alpha bytes, top row first: the colours of the PNG
// file a harvest writes for the picture, every pixel opaque.

#include <cstdint>

#include <QImage>

namespace trovelin {

class DibImage;

// Fills width x height x 4 bytes.
void fillRgba(const DibImage& image, std::uint8_t* rgba);
// `image` is a painted panel, in one of Qt's 32-bit RGB formats.
void fillRgba(const QImage& image, std::uint8_t* rgba);

}  // namespace trovelin
