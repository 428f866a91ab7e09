#include "python/PictureArrays.h"

#include <array>
#include <cstddef>
#include <cstring>

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

// One pixel's four bytes in memory order, so that a row is written a word at a time.
std::uint32_t opaqueWord(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    const std::uint8_t bytes[4] = {red, green, blue, 0xFF};
    std::uint32_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

void putWord(std::uint8_t* rgba, std::size_t x, std::uint32_t word)
{
    std::memcpy(rgba + 4 * x, &word, sizeof word);
}

void fillFromColourTable(const DibImage& image, std::uint8_t* rgba)
{
    // Indices past the table are black, as drawing and the PNG file read them.
    std::array<std::uint32_t, 256> table;
    table.fill(opaqueWord(0, 0, 0));
    for (std::size_t i = 0; i < table.size() && i < image.colorTable.size(); ++i)
        table[i] = opaqueWord(image.colorTable[i].red, image.colorTable[i].green, image.colorTable[i].blue);
    const int depth = image.bitsPerPixel();
    const auto width = static_cast<std::size_t>(image.width());
    for (int y = 0; y < image.height(); ++y, rgba += 4 * width) {
        const std::uint8_t* row = image.scanLine(y);
        if (depth == 8) {
            for (std::size_t x = 0; x < width; ++x) putWord(rgba, x, table[row[x]]);
            continue;
        }
        const std::size_t perByte = 8 / static_cast<std::size_t>(depth);
        const unsigned mask = (1u << depth) - 1;
        for (std::size_t x = 0; x < width; ++x) {
            const auto shift = static_cast<unsigned>(depth) * (perByte - 1 - x % perByte);
            putWord(rgba, x, table[(row[x / perByte] >> shift) & mask]);
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
        const auto step = static_cast<std::size_t>(depth / 8);
        const auto width = static_cast<std::size_t>(image.width());
        for (int y = 0; y < image.height(); ++y, rgba += 4 * width) {
            const std::uint8_t* pixel = image.scanLine(y);
            for (std::size_t x = 0; x < width; ++x, pixel += step) putWord(rgba, x, opaqueWord(pixel[2], pixel[1], pixel[0]));
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
