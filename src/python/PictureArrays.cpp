#include "python/PictureArrays.h"

#include <array>
#include <cstddef>

#include "streaming/DibImage.h"

namespace trovelin {

namespace {

void putOpaque(std::uint8_t* rgba, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    rgba[0] = red;
    rgba[1] = green;
    rgba[2] = blue;
    rgba[3] = 0xFF;
}

void fillFromColourTable(const DibImage& image, std::uint8_t* rgba)
{
    // Indices past the table are black, as drawing and the PNG file read them.
    std::array<std::array<std::uint8_t, 4>, 256> table{};
    for (auto& entry : table) entry = {0, 0, 0, 0xFF};
    for (std::size_t i = 0; i < table.size() && i < image.colorTable.size(); ++i)
        table[i] = {image.colorTable[i].red, image.colorTable[i].green, image.colorTable[i].blue, 0xFF};
    const int depth = image.bitsPerPixel();
    const int perByte = 8 / depth;
    const unsigned mask = (1u << depth) - 1;
    for (int y = 0; y < image.height(); ++y) {
        const std::uint8_t* row = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, rgba += 4) {
            const int shift = depth * (perByte - 1 - x % perByte);
            const auto& colour = table[(row[x / perByte] >> shift) & mask];
            putOpaque(rgba, colour[0], colour[1], colour[2]);
        }
    }
}

}  // namespace

void fillRgba(const DibImage& image, std::uint8_t* rgba)
{
    const int depth = image.bitsPerPixel();
    if (depth <= 8) {
        fillFromColourTable(image, rgba);
        return;
    }
    const bool fixedLayout = image.masks == ColorMasks{} || image.masks == ColorMasks{0xFF0000, 0x00FF00, 0x0000FF};
    if (depth == 24 || (depth == 32 && fixedLayout)) {
        const int step = depth / 8;
        for (int y = 0; y < image.height(); ++y) {
            const std::uint8_t* pixel = image.scanLine(y);
            for (int x = 0; x < image.width(); ++x, pixel += step, rgba += 4) putOpaque(rgba, pixel[2], pixel[1], pixel[0]);
        }
        return;
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x, rgba += 4) {
            const std::uint32_t colour = image.pixel(x, y);
            putOpaque(rgba, static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
                      static_cast<std::uint8_t>(colour >> 16));
        }
}

void fillRgba(const QImage& image, std::uint8_t* rgba)
{
    const QImage source = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x, rgba += 4)
            putOpaque(rgba, static_cast<std::uint8_t>(qRed(pixels[x])), static_cast<std::uint8_t>(qGreen(pixels[x])),
                      static_cast<std::uint8_t>(qBlue(pixels[x])));
    }
}

}  // namespace trovelin
