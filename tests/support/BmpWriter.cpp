#include "support/BmpWriter.h"

#include <algorithm>
#include <stdexcept>

namespace trovelin::testing {

namespace {

std::vector<std::uint8_t> packedRow(const BmpContent& content, int y)
{
    std::vector<std::uint8_t> row(dibStride(static_cast<std::uint64_t>(content.width), content.bitsPerPixel), 0);
    for (int x = 0; x < content.width; ++x) {
        const std::uint32_t v = content.value(x, y);
        switch (content.bitsPerPixel) {
        case 1: row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8)); break;
        case 4: row[x / 2] |= static_cast<std::uint8_t>((v & 0x0F) << (x % 2 == 0 ? 4 : 0)); break;
        case 8: row[x] = static_cast<std::uint8_t>(v); break;
        case 16:
            row[2 * x] = static_cast<std::uint8_t>(v);
            row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
            break;
        case 24:
            row[3 * x] = static_cast<std::uint8_t>(v);
            row[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
            break;
        case 32:
            for (int b = 0; b < 4; ++b) row[4 * x + b] = static_cast<std::uint8_t>(v >> (8 * b));
            break;
        default: throw std::invalid_argument("makeBmp: depth");
        }
    }
    return row;
}

// Encodes one row of indices: runs of three or more equal indices as runs, the rest as literal
// blocks (or as short runs when a block would be under three pixels, which literals cannot be).
void encodeRunLengthRow(const BmpContent& content, int y, std::vector<std::uint8_t>& out)
{
    const bool nibbles = content.bitsPerPixel == 4;
    std::vector<std::uint32_t> indices(static_cast<std::size_t>(content.width));
    for (int x = 0; x < content.width; ++x) indices[x] = content.value(x, y) & (nibbles ? 0x0F : 0xFF);
    auto runLengthAt = [&](std::size_t at) {
        std::size_t n = 1;
        while (at + n < indices.size() && indices[at + n] == indices[at] && n < 255) ++n;
        return n;
    };
    auto putRun = [&](std::size_t count, std::uint32_t index) {
        out.push_back(static_cast<std::uint8_t>(count));
        out.push_back(static_cast<std::uint8_t>(nibbles ? (index << 4) | index : index));
    };
    std::size_t x = 0;
    while (x < indices.size()) {
        std::size_t run = runLengthAt(x);
        if (run >= 3) {
            putRun(run, indices[x]);
            x += run;
            continue;
        }
        std::size_t end = x;
        while (end < indices.size() && end - x < 255 && runLengthAt(end) < 3) ++end;
        const std::size_t count = end - x;
        if (count < 3) {
            for (std::size_t k = x; k < end; ++k) putRun(1, indices[k]);
        } else {
            out.push_back(0);
            out.push_back(static_cast<std::uint8_t>(count));
            std::size_t start = out.size();
            for (std::size_t k = 0; k < count; ++k) {
                if (!nibbles) {
                    out.push_back(static_cast<std::uint8_t>(indices[x + k]));
                } else if (k % 2 == 0) {
                    out.push_back(static_cast<std::uint8_t>(indices[x + k] << 4));
                } else {
                    out.back() |= static_cast<std::uint8_t>(indices[x + k]);
                }
            }
            if ((out.size() - start) % 2 != 0) out.push_back(0);
        }
        x = end;
    }
    out.push_back(0);
    out.push_back(0);  // end of line
}

std::vector<std::uint8_t> pixelBytes(const BmpContent& content)
{
    std::vector<std::uint8_t> out;
    const bool runLength =
        content.compression == BitmapCompression::Rle8 || content.compression == BitmapCompression::Rle4;
    for (int i = 0; i < content.height; ++i) {
        const int y = content.topDown ? i : content.height - 1 - i;
        if (runLength) {
            encodeRunLengthRow(content, y, out);
        } else {
            std::vector<std::uint8_t> row = packedRow(content, y);
            out.insert(out.end(), row.begin(), row.end());
        }
    }
    if (runLength) {
        out.push_back(0);
        out.push_back(1);  // end of bitmap
    }
    return out;
}

// 0 when the colour table has the depth's default size, else the table's size.
std::uint32_t colorsUsedFor(const BmpContent& content)
{
    const std::size_t defaultCount = content.bitsPerPixel <= 8 ? std::size_t{1} << content.bitsPerPixel : 0;
    return content.colorTable.size() == defaultCount ? 0 : static_cast<std::uint32_t>(content.colorTable.size());
}

}  // namespace

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

void patchU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<std::uint8_t> makeBmp(const BmpContent& content)
{
    const std::vector<std::uint8_t> pixels = pixelBytes(content);
    const bool bitFields = content.compression == BitmapCompression::BitFields;
    const std::uint32_t headerSize = content.coreHeader ? 12 : content.headerSize;
    const std::uint32_t separateMasks = bitFields && headerSize == 40 ? 12 : 0;
    const std::uint32_t tableBytes = static_cast<std::uint32_t>(content.colorTable.size()) * (content.coreHeader ? 3 : 4);
    const std::uint32_t offset = 14 + headerSize + separateMasks + tableBytes;

    std::vector<std::uint8_t> out{'B', 'M'};
    putU32(out, offset + static_cast<std::uint32_t>(pixels.size()));
    putU32(out, 0);
    putU32(out, content.pixelOffsetField ? content.pixelOffsetField : offset);
    putU32(out, headerSize);
    if (content.coreHeader) {
        putU16(out, static_cast<std::uint32_t>(content.width));
        putU16(out, static_cast<std::uint32_t>(content.height));
        putU16(out, 1);
        putU16(out, static_cast<std::uint32_t>(content.bitsPerPixel));
    } else {
        putU32(out, static_cast<std::uint32_t>(content.width));
        putU32(out, static_cast<std::uint32_t>(content.topDown ? -content.height : content.height));
        putU16(out, 1);
        putU16(out, static_cast<std::uint32_t>(content.bitsPerPixel));
        putU32(out, static_cast<std::uint32_t>(content.compression));
        putU32(out, content.pixelByteCountField.value_or(static_cast<std::uint32_t>(pixels.size())));
        putU32(out, 2835);
        putU32(out, 2835);
        putU32(out, content.colorsUsedField ? content.colorsUsedField : colorsUsedFor(content));
        putU32(out, 0);
        std::vector<std::uint8_t> extension(headerSize - 40, 0);
        if (extension.size() >= 12 && bitFields) {
            std::vector<std::uint8_t> masks;
            putU32(masks, content.masks.red);
            putU32(masks, content.masks.green);
            putU32(masks, content.masks.blue);
            std::copy(masks.begin(), masks.end(), extension.begin());
        }
        out.insert(out.end(), extension.begin(), extension.end());
    }
    if (separateMasks != 0) {
        putU32(out, content.masks.red);
        putU32(out, content.masks.green);
        putU32(out, content.masks.blue);
    }
    for (const RgbQuad& entry : content.colorTable) {
        out.push_back(entry.blue);
        out.push_back(entry.green);
        out.push_back(entry.red);
        if (!content.coreHeader) out.push_back(entry.reserved);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::vector<std::uint8_t> makeBmp24(int width, int height, const std::function<std::uint32_t(int x, int y)>& pixel)
{
    if (width <= 0 || height <= 0) throw std::invalid_argument("makeBmp24: empty size");
    BmpContent content;
    content.width = width;
    content.height = height;
    content.value = pixel;
    return makeBmp(content);
}

std::vector<std::uint8_t> bitmapPayload(const std::vector<std::uint8_t>& bmp)
{
    std::vector<std::uint8_t> out;
    putU32(out, static_cast<std::uint32_t>(bmp.size()));
    out.insert(out.end(), bmp.begin(), bmp.end());
    return out;
}

std::vector<std::uint8_t> picturePayload(std::string_view className, const std::vector<std::uint8_t>& graphicData)
{
    if (className.size() > 255) throw std::invalid_argument("picturePayload: class name too long");
    std::vector<std::uint8_t> out(1 + className.size() + graphicData.size());
    out[0] = static_cast<std::uint8_t>(className.size());
    std::copy(graphicData.begin(), graphicData.end(), std::copy(className.begin(), className.end(), out.begin() + 1));
    return out;
}

}  // namespace trovelin::testing
