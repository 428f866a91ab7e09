#include "framework/BmpWriter.h"

namespace trovelin {

namespace {

constexpr std::size_t fileHeaderBytes = 14;
constexpr std::size_t infoHeaderBytes = 40;

void putU16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> encodeBmp(const DibImage& image)
{
    const int depth = image.bitsPerPixel();
    const bool indexed = depth <= 8;
    const bool bitFields = !indexed && depth != 24 && image.masks != ColorMasks{};
    // An indexed picture always gets its whole table: drawing reads indices past a short table
    // as black, and so must a reader of the file.
    const std::size_t tableEntries = indexed ? std::size_t{1} << depth : 0;
    const std::size_t headerBytes = fileHeaderBytes + infoHeaderBytes + (bitFields ? 12 : 0) + tableEntries * 4;
    const std::size_t pixelBytes = image.byteCount();

    std::vector<std::uint8_t> out;
    out.reserve(headerBytes + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    putU32(out, static_cast<std::uint32_t>(headerBytes + pixelBytes));
    putU32(out, 0);
    putU32(out, static_cast<std::uint32_t>(headerBytes));

    putU32(out, infoHeaderBytes);
    putU32(out, static_cast<std::uint32_t>(image.width()));
    putU32(out, static_cast<std::uint32_t>(image.height()));
    putU16(out, 1);
    putU16(out, static_cast<std::uint32_t>(depth));
    putU32(out, static_cast<std::uint32_t>(bitFields ? BitmapCompression::BitFields : BitmapCompression::None));
    putU32(out, static_cast<std::uint32_t>(pixelBytes));
    putU32(out, static_cast<std::uint32_t>(image.header.xPelsPerMeter));
    putU32(out, static_cast<std::uint32_t>(image.header.yPelsPerMeter));
    putU32(out, static_cast<std::uint32_t>(tableEntries));
    putU32(out, 0);
    if (bitFields) {
        putU32(out, image.masks.red);
        putU32(out, image.masks.green);
        putU32(out, image.masks.blue);
    }
    for (std::size_t i = 0; i < tableEntries; ++i) {
        const RgbQuad colour = i < image.colorTable.size() ? image.colorTable[i] : RgbQuad{};
        out.insert(out.end(), {colour.blue, colour.green, colour.red, 0});
    }
    for (int y = image.height() - 1; y >= 0; --y)
        out.insert(out.end(), image.scanLine(y), image.scanLine(y) + image.stride());
    return out;
}

}  // namespace trovelin
