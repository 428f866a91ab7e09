#pragma once
// A decoded device-independent bitmap: the stored header, masks and colour table, and pixel
// storage in the stored depth. Rows are held top-down in memory whatever order the file used,
// so that the storage can be handed to drawing code as it is. An image never changes after it
// is built; bitmaps share it, which makes their copies cheap.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "streaming/PixelBudget.h"

namespace trovelin {

// No single bitmap may need more pixel storage than this; larger dimensions are refused
// before anything is allocated.
inline constexpr std::uint64_t maxBitmapBytes = std::uint64_t{256} << 20;

enum class BitmapCompression : std::uint32_t { None = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

// The 40-byte info header as held after decoding; a core header is widened into it.
struct BitmapInfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;  // as stored: negative for top-down rows
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
};

struct RgbQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    bool operator==(const RgbQuad&) const = default;
};

// Red, green and blue masks of a bit-field image; all zero for the fixed layouts.
struct ColorMasks {
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
    bool operator==(const ColorMasks&) const = default;
};

// Bytes per row of `width` pixels at `bitsPerPixel`, rounded up to whole 32-bit words;
// 0 when the result would not fit in 32 bits.
std::uint64_t dibStride(std::uint64_t width, unsigned bitsPerPixel);

// Whether 32-bit pixels with these masks leave their high byte unused (no other depth does).
bool leavesHighByteUnused(int bitsPerPixel, const ColorMasks& masks);
// Writes 0xFF into the high byte of `count` 32-bit pixels, in place or while copying them.
void setHighBytesOpaque(std::uint8_t* pixels, std::size_t count);
void copyWithHighBytesOpaque(std::uint8_t* target, const std::uint8_t* source, std::size_t count);

class DibImage {
public:
    // Zeroed storage of width x height at `bitsPerPixel` (1, 4, 8, 16, 24 or 32), charged to
    // `budget` while the image lives. Large storage comes zeroed from the system and costs no
    // memory until written, so rows that no data reaches are free. Fails with "Bitmap image is
    // not valid" for sizes of zero or beyond maxBitmapBytes, and with "Out of memory" when the
    // budget or the system refuses.
    DibImage(int width, int height, int bitsPerPixel, PixelBudget* budget = nullptr);

    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return bitsPerPixel_; }
    std::size_t stride() const { return stride_; }
    std::size_t byteCount() const { return stride_ * static_cast<std::size_t>(height_); }

    // Row `y` counted from the top.
    std::uint8_t* scanLine(int y) { return pixels_.get() + stride_ * static_cast<std::size_t>(y); }
    const std::uint8_t* scanLine(int y) const { return pixels_.get() + stride_ * static_cast<std::size_t>(y); }
    std::uint8_t* bits() { return pixels_.get(); }
    const std::uint8_t* bits() const { return pixels_.get(); }

    // The colour of a pixel as a colour value (red in the low byte); 16- and bit-field channels
    // are widened to 8 bits by repeating their top bits. Indices past the colour table are black.
    std::uint32_t pixel(int x, int y) const;

    // What the payload said, kept for whoever needs more than the pixels.
    BitmapInfoHeader header;
    std::vector<std::uint8_t> headerExtension;  // bytes 40..H of a larger header
    bool storedTopDown = false;
    ColorMasks masks;  // effective masks of 16- and 32-bit images; zero means the fixed layout
    // The colour table, which is also the bitmap's palette.
    std::vector<RgbQuad> colorTable;
    // Set when every pixel of a 32-bit image holds 0xFF in its unused high byte, so that drawing
    // code may show the pixels as they are instead of converting them on every paint.
    bool highBytesOpaque = false;

    // Writes 0xFF into the unused high byte of every pixel, and says so in highBytesOpaque, when
    // the image leaves that byte unused. No other image is touched.
    void makeHighBytesOpaque();

private:
    int width_;
    int height_;
    int bitsPerPixel_;
    std::size_t stride_;
    PixelCharge charge_;
    struct Free {
        void operator()(std::uint8_t* pixels) const { std::free(pixels); }
    };
    std::unique_ptr<std::uint8_t[], Free> pixels_;
};

}  // namespace trovelin
