#include "streaming/RunLength.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace trovelin {

namespace {

enum Escape : std::uint8_t { endOfLine = 0, endOfBitmap = 1, delta = 2 };

class RunWriter {
public:
    RunWriter(DibImage& image, std::span<const RgbQuad> colorTable) : image_(image)
    {
        palette_.fill(0);
        const std::size_t count = std::min(colorTable.size(), palette_.size());
        for (std::size_t i = 0; i < count; ++i) {
            const RgbQuad& c = colorTable[i];
            palette_[i] = c.blue | (c.green << 8) | (static_cast<std::uint32_t>(c.red) << 16);
        }
    }

    bool finished() const { return y_ >= image_.height(); }

    // Writes one pixel at the current position if it lies inside the image, and steps right.
    void put(unsigned index)
    {
        if (x_ >= image_.width()) return;
        std::uint8_t* p = image_.scanLine(image_.height() - 1 - y_) + 4 * static_cast<std::size_t>(x_);
        std::memcpy(p, &palette_[index], 4);
        ++x_;
    }
    void nextLine()
    {
        x_ = 0;
        ++y_;
    }
    // Positions past the row end, or past the last row, are all the same: nothing is written there.
    void moveBy(int dx, int dy)
    {
        x_ = std::min(x_ + dx, image_.width());
        y_ = std::min(y_ + dy, image_.height());
    }

private:
    DibImage& image_;
    std::array<std::uint32_t, 256> palette_;
    int x_ = 0;
    int y_ = 0;
};

// The index of the i-th pixel of a run or absolute block: whole bytes at 8 bits, high nibble first at 4.
unsigned indexAt(std::span<const std::uint8_t> bytes, std::size_t i, int bitsPerIndex)
{
    if (bitsPerIndex == 8) return bytes[i];
    const std::uint8_t byte = bytes[i / 2];
    return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

}  // namespace

void expandRunLength(std::span<const std::uint8_t> packed, int bitsPerIndex, std::span<const RgbQuad> colorTable,
                     DibImage& image)
{
    std::memset(image.bits(), 0, image.byteCount());
    RunWriter out(image, colorTable);
    std::size_t i = 0;
    while (i + 2 <= packed.size() && !out.finished()) {
        const std::uint8_t count = packed[i];
        const std::uint8_t value = packed[i + 1];
        i += 2;
        if (count > 0) {
            // A run repeats one index at 8 bits, and alternates the two nibbles of `value` at 4.
            const std::uint8_t pair[1] = {value};
            for (unsigned k = 0; k < count; ++k) out.put(indexAt(pair, bitsPerIndex == 8 ? 0 : k % 2, bitsPerIndex));
            continue;
        }
        switch (value) {
        case endOfLine: out.nextLine(); break;
        case endOfBitmap: return;
        case delta:
            if (i + 2 > packed.size()) return;
            out.moveBy(packed[i], packed[i + 1]);
            i += 2;
            break;
        default: {
            // An absolute block of `value` indices, padded to an even number of bytes.
            const std::size_t bytes = bitsPerIndex == 8 ? value : (value + 1u) / 2;
            const std::span<const std::uint8_t> block = packed.subspan(i, std::min(bytes, packed.size() - i));
            const std::size_t available = bitsPerIndex == 8 ? block.size() : block.size() * 2;
            const std::size_t pixels = std::min<std::size_t>(value, available);
            for (std::size_t k = 0; k < pixels; ++k) out.put(indexAt(block, k, bitsPerIndex));
            i += bytes + (bytes & 1);
            break;
        }
        }
    }
}

}  // namespace trovelin
