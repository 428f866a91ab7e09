#include "streaming/DibImage.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "streaming/Errors.h"
#include "streaming/LittleEndian.h"

namespace trovelin {

namespace {

// Widens a channel of `bits` bits to 8 by repeating its top bits, so full scale stays full.
std::uint32_t widenChannel(std::uint32_t value, int bits)
{
    if (bits >= 8) return value >> (bits - 8);
    if (bits <= 0) return 0;
    std::uint32_t result = value << (8 - bits);
    for (int filled = bits; filled < 8; filled += bits) result |= result >> bits;
    return result & 0xFF;
}

std::uint32_t maskedChannel(std::uint32_t pixel, std::uint32_t mask)
{
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::bit_width(mask >> shift);
    return widenChannel((pixel & mask) >> shift, bits);
}

std::uint32_t colorValue(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return red | (green << 8) | (blue << 16);
}

}  // namespace

std::uint64_t dibStride(std::uint64_t width, unsigned bitsPerPixel)
{
    const std::uint64_t bits = width * bitsPerPixel;  // width < 2^32 and depth <= 32: no overflow
    const std::uint64_t stride = ((bits + 31) & ~std::uint64_t{31}) / 8;
    return stride > 0xFFFFFFFFu ? 0 : stride;
}

DibImage::DibImage(int width, int height, int bitsPerPixel, PixelBudget* budget)
    : width_(width), height_(height), bitsPerPixel_(bitsPerPixel), stride_(0)
{
    if (width <= 0 || height <= 0) throw EInvalidGraphic(messages::bitmapImageIsNotValid);
    const std::uint64_t stride = dibStride(static_cast<std::uint64_t>(width), static_cast<unsigned>(bitsPerPixel));
    if (stride == 0 || stride > maxBitmapBytes / static_cast<std::uint64_t>(height))
        throw EInvalidGraphic(messages::bitmapImageIsNotValid);
    stride_ = static_cast<std::size_t>(stride);
    if (budget) charge_ = budget->charge(byteCount());
    pixels_.reset(static_cast<std::uint8_t*>(std::calloc(byteCount(), 1)));
    if (!pixels_) throw EOutOfMemory();
}

std::uint32_t DibImage::pixel(int x, int y) const
{
    const std::uint8_t* row = scanLine(y);
    auto fromTable = [this](unsigned index) {
        if (index >= colorTable.size()) return std::uint32_t{0};
        const RgbQuad& entry = colorTable[index];
        return colorValue(entry.red, entry.green, entry.blue);
    };
    switch (bitsPerPixel_) {
    case 1: return fromTable((row[x / 8] >> (7 - x % 8)) & 1);
    case 4: return fromTable((row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F);
    case 8: return fromTable(row[x]);
    case 16: {
        const std::uint32_t value = readLe16(row + 2 * x);
        const ColorMasks used = masks == ColorMasks{} ? ColorMasks{0x7C00, 0x03E0, 0x001F} : masks;
        return colorValue(maskedChannel(value, used.red), maskedChannel(value, used.green),
                          maskedChannel(value, used.blue));
    }
    case 24: return colorValue(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    default: {
        const std::uint8_t* p = row + 4 * x;
        const std::uint32_t value = readLe32(p);
        if (masks == ColorMasks{}) return colorValue(p[2], p[1], p[0]);
        return colorValue(maskedChannel(value, masks.red), maskedChannel(value, masks.green),
                          maskedChannel(value, masks.blue));
    }
    }
}

bool leavesHighByteUnused(int bitsPerPixel, const ColorMasks& masks)
{
    return bitsPerPixel == 32 && ((masks.red | masks.green | masks.blue) & 0xFF000000u) == 0;
}

void copyWithHighBytesOpaque(std::uint8_t* target, const std::uint8_t* source, std::size_t count)
{
    // Whole words keep the pass as fast as a plain copy.
    constexpr std::uint32_t highByte = std::endian::native == std::endian::little ? 0xFF000000u : 0x000000FFu;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t word;
        std::memcpy(&word, source + 4 * i, 4);
        word |= highByte;
        std::memcpy(target + 4 * i, &word, 4);
    }
}

void setHighBytesOpaque(std::uint8_t* pixels, std::size_t count)
{
    copyWithHighBytesOpaque(pixels, pixels, count);
}

void DibImage::makeHighBytesOpaque()
{
    if (!leavesHighByteUnused(bitsPerPixel_, masks)) return;
    // Rows of 32-bit pixels have no padding, so the image is one run of pixels.
    setHighBytesOpaque(scanLine(0), static_cast<std::size_t>(height_) * stride_ / 4);
    highBytesOpaque = true;
}

}  // namespace trovelin
