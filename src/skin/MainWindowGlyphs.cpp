#include "skin/MainWindowGlyphs.h"

#include <array>
#include <string_view>

#include "streaming/Stream.h"

namespace trovelin {
namespace {

using Picture = std::array<std::string_view, 16>;

// One letter per pixel, naming a colour of the standard 16-colour table in table order:
// k black, m maroon, g green, '.' dark yellow (the transparent background), n navy, p purple,
// t teal, G grey, s silver, r red, l lime, y yellow, b blue, f fuchsia, a aqua, w white.
constexpr std::string_view colorLetters = "kmg.nptGsrlybfaw";

constexpr std::array<std::uint32_t, 16> standardColors = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};  // as 0xRRGGBB

constexpr Picture levelUpPicture = {
    "................",
    "................",
    ".kkkkk..........",
    "kywywyk.........",
    "kwywywykkkkkkkk.",
    "kyyyyyyyyyyyyyk.",
    "kyyyyykyyyyyyyk.",
    "kyyyykkkyyyyyyk.",
    "kyyykkkkkyyyyyk.",
    "kyyyyykyyyyyyyk.",
    "kyyyyykyyyyyyyk.",
    "kyyyyykkkkkyyyk.",
    "kyyyyyyyyyyyyyk.",
    "kkkkkkkkkkkkkkk.",
    "................",
    "................",
};

constexpr Picture iconsPicture = {
    "................",
    "kkkkkkkkkkkkkkkk",
    "knnnnnnnnnnnnnnk",
    "kwwwwwwwwwwwwwwk",
    "kwwbbwwrrwwggwwk",
    "kwwbbwwrrwwggwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwttwwmmwwffwwk",
    "kwwttwwmmwwffwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwnnwwggwwrrwwk",
    "kwwnnwwggwwrrwwk",
    "kwwwwwwwwwwwwwwk",
    "kkkkkkkkkkkkkkkk",
    "................",
    "................",
};

class ByteWriter {
public:
    void u8(std::uint32_t value) { bytes_.push_back(static_cast<std::uint8_t>(value)); }
    void u16(std::uint32_t value)
    {
        u8(value);
        u8(value >> 8);
    }
    void u32(std::uint32_t value)
    {
        u16(value);
        u16(value >> 16);
    }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

std::uint8_t colorIndex(char letter)
{
    const std::size_t index = colorLetters.find(letter);
    return static_cast<std::uint8_t>(index == std::string_view::npos ? 0 : index);
}

std::vector<std::uint8_t> glyphData(const Picture& picture)
{
    constexpr std::uint32_t fileHeaderSize = 14, infoHeaderSize = 40, tableSize = 16 * 4, rowBytes = 8;
    constexpr std::uint32_t pixelOffset = fileHeaderSize + infoHeaderSize + tableSize;
    constexpr std::uint32_t fileSize = pixelOffset + 16 * rowBytes;
    static_assert(4 + fileSize == mainWindowGlyphDataSize);

    ByteWriter out;
    out.u32(fileSize);
    out.u8('B'), out.u8('M'), out.u32(fileSize), out.u32(0), out.u32(pixelOffset);
    out.u32(infoHeaderSize), out.u32(16), out.u32(16), out.u16(1), out.u16(4);
    out.u32(0), out.u32(16 * rowBytes), out.u32(0), out.u32(0), out.u32(16), out.u32(0);
    for (std::uint32_t rgb : standardColors) out.u8(rgb), out.u8(rgb >> 8), out.u8(rgb >> 16), out.u8(0);
    for (int y = 15; y >= 0; --y) {  // bottom row first
        const std::string_view row = picture[static_cast<std::size_t>(y)];
        for (std::size_t x = 0; x < 16; x += 2) out.u8(colorIndex(row[x]) << 4 | colorIndex(row[x + 1]));
    }
    return out.take();
}

}  // namespace

std::vector<std::uint8_t> ViewLevelUpGlyphData()
{
    return glyphData(levelUpPicture);
}

std::vector<std::uint8_t> ViewIconsGlyphData()
{
    return glyphData(iconsPicture);
}

TBitmap decodeGlyphData(const std::vector<std::uint8_t>& data)
{
    ByteViewStream stream(data);
    TBitmap bitmap;
    bitmap.readData(stream);
    return bitmap;
}

}  // namespace trovelin
