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
        palette_.fill(0xFF000000u);
        const std::size_t count = std::min(colorTable.size(), palette_.size());
        for (std::size_t i = 0; i < count; ++i) {
            const RgbQuad& c = colorTable[i];
            // The unused high byte is 0xFF in every pixel written, so that a picture the data
            // covers whole can be drawn as it is; pixels never reached stay untouched zeros.
            palette_[i] = 0xFF000000u | c.blue | (c.green << 8) | (static_cast<std::uint32_t>(c.red) << 16);
        }
    }

    bool finished() const { return y_ >= image_.height(); }
    // Positions only move forward, so no pixel is written twice.
    std::uint64_t pixelsWritten() const { return written_; }

    // Writes `count` pixels alternating the colours of two indices (equal ones for 8-bit runs),
    // as far as the row reaches, and steps right.
    void putRun(unsigned count, unsigned first, unsigned second)
    {
        const int n = std::min(static_cast<int>(count), image_.width() - x_);
        std::uint8_t* p = rowStart() + 4 * static_cast<std::size_t>(x_);
        for (int k = 0; k < n; ++k) std::memcpy(p + 4 * k, &palette_[k % 2 == 0 ? first : second], 4);
        x_ += n;
        written_ += static_cast<std::uint64_t>(n);
    }
    // Writes one pixel if it lies inside the row, and steps right.
    void put(unsigned index)
    {
        if (x_ >= image_.width()) return;
        std::memcpy(rowStart() + 4 * static_cast<std::size_t>(x_), &palette_[index], 4);
        ++x_;
        ++written_;
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
    std::uint8_t* rowStart() { return image_.scanLine(image_.height() - 1 - y_); }

    DibImage& image_;
    std::array<std::uint32_t, 256> palette_;
    int x_ = 0;
    int y_ = 0;
    std::uint64_t written_ = 0;
};

// The index of the i-th pixel of a run or absolute block: whole bytes at 8 bits, high nibble first at 4.
unsigned indexAt(std::span<const std::uint8_t> bytes, std::size_t i, int bitsPerIndex)
{
    if (bitsPerIndex == 8) return bytes[i];
    const std::uint8_t byte = bytes[i / 2];
    return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

}  // namespace

std::uint64_t expandRunLength(std::span<const std::uint8_t> packed, int bitsPerIndex, std::span<const RgbQuad> colorTable,
                     DibImage& image)
{
    RunWriter out(image, colorTable);
    std::size_t i = 0;
    while (i + 2 <= packed.size() && !out.finished()) {
        const std::uint8_t count = packed[i];
        const std::uint8_t value = packed[i + 1];
        i += 2;
        if (count > 0) {
            // A run repeats one index at 8 bits, and alternates the two nibbles of `value` at 4.
            if (bitsPerIndex == 8)
                out.putRun(count, value, value);
            else
                out.putRun(count, value >> 4, value & 0x0F);
            continue;
        }
        switch (value) {
        case endOfLine: out.nextLine(); break;
        case endOfBitmap: return out.pixelsWritten();
        case delta:
            if (i + 2 > packed.size()) return out.pixelsWritten();
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
    return out.pixelsWritten();
}

}  // namespace trovelin
