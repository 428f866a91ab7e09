#pragma once
// Reading painted pixels back as colour values (red in the low byte), the form the drawing
// calls take their colours in.

#include <cstdint>

#include <QImage>

namespace trovelin::testing {

inline std::uint32_t colorAt(const QImage& image, int x, int y)
{
    const QRgb rgb = image.pixel(x, y);
    return static_cast<std::uint32_t>(qRed(rgb)) | static_cast<std::uint32_t>(qGreen(rgb)) << 8 |
           static_cast<std::uint32_t>(qBlue(rgb)) << 16;
}

// An opaque image filled with `color` (red in the low byte).
inline QImage filledImage(int width, int height, std::uint32_t color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    return image;
}

}  // namespace trovelin::testing
