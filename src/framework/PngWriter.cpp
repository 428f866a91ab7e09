#include "framework/PngWriter.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <functional>
#include <memory>
#include <new>

#include "platform/ReplacingFile.h"
#include "streaming/Errors.h"

namespace trovelin {

namespace {

constexpr std::uint8_t colorTypeRgb = 2;
constexpr std::uint8_t colorTypePalette = 3;
constexpr std::uint8_t filterNone = 0;
constexpr std::uint8_t filterUp = 2;
// Level 1 is several times faster than the usual default and loses little on drawn pictures.
constexpr int compressionLevel = 1;
// Chunks may hold up to 2^31 - 1 bytes; the image data of the largest pictures is split.
constexpr std::size_t maxDataChunk = std::size_t{1} << 30;

struct PngLayout {
    int width = 0;
    int height = 0;
    std::uint8_t bitDepth = 8;
    std::uint8_t colorType = colorTypeRgb;
    std::vector<std::array<std::uint8_t, 3>> palette;

    std::size_t rowBytes() const
    {
        const unsigned channels = colorType == colorTypeRgb ? 3 : 1;
        return (static_cast<std::size_t>(width) * channels * bitDepth + 7) / 8;
    }
};

// Writes row `y` of the picture, unfiltered, into a buffer of rowBytes().
using RowFiller = std::function<void(int y, std::uint8_t* row)>;

void putU32(std::uint8_t* at, std::uint32_t value)
{
    at[0] = static_cast<std::uint8_t>(value >> 24);
    at[1] = static_cast<std::uint8_t>(value >> 16);
    at[2] = static_cast<std::uint8_t>(value >> 8);
    at[3] = static_cast<std::uint8_t>(value);
}

// Appends a chunk whose data is already at the end of `out`, `length` bytes after its header.
void closeChunk(std::vector<std::uint8_t>& out, std::size_t chunkStart, std::size_t length)
{
    putU32(out.data() + chunkStart, static_cast<std::uint32_t>(length));
    const std::uint32_t crc = libdeflate_crc32(0, out.data() + chunkStart + 4, length + 4);
    out.resize(chunkStart + 8 + length + 4);
    putU32(out.data() + chunkStart + 8 + length, crc);
}

std::size_t openChunk(std::vector<std::uint8_t>& out, const char (&type)[5], std::size_t length)
{
    const std::size_t start = out.size();
    out.resize(start + 8 + length);
    std::memcpy(out.data() + start + 4, type, 4);
    return start;
}

// `difference[i] = current[i] - above[i]` for every byte, eight bytes at a time: the high bit of
// each byte is set aside so that no borrow crosses into the next byte.
void subtractBytes(std::uint8_t* difference, const std::uint8_t* current, const std::uint8_t* above, std::size_t count)
{
    constexpr std::uint64_t highBits = 0x8080808080808080;
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        std::memcpy(&a, current + i, 8);
        std::memcpy(&b, above + i, 8);
        const std::uint64_t result = ((a | highBits) - (b & ~highBits)) ^ ((a ^ ~b) & highBits);
        std::memcpy(difference + i, &result, 8);
    }
    for (; i < count; ++i) difference[i] = static_cast<std::uint8_t>(current[i] - above[i]);
}

// Blue-green-red pixels `step` bytes apart as red-green-blue triples. Each pixel but the last
// is read and written as four bytes: a byte swap puts red, green and blue in place, and the
// fourth byte written is overwritten by the next pixel.
void swapBlueAndRed(std::uint8_t* rgb, const std::uint8_t* bgr, std::size_t width, std::size_t step)
{
    static_assert(std::endian::native == std::endian::little);
    for (std::size_t x = 0; x + 1 < width; ++x, bgr += step, rgb += 3) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, bgr, 4);
        pixel = __builtin_bswap32(pixel) >> 8;
        std::memcpy(rgb, &pixel, 4);
    }
    rgb[0] = bgr[2];
    rgb[1] = bgr[1];
    rgb[2] = bgr[0];
}

}  // namespace

struct PngEncoder::Work {
    std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor{
        libdeflate_alloc_compressor(compressionLevel), libdeflate_free_compressor};
    std::vector<std::uint8_t> rows;  // filter bytes and filtered rows, as compressed
    std::vector<std::uint8_t> above;
    std::vector<std::uint8_t> current;
    std::vector<std::uint8_t> compressed;

    void filterRows(const PngLayout& layout, const RowFiller& fillRow);
    std::vector<std::uint8_t> encode(const PngLayout& layout, const RowFiller& fillRow);
};

void PngEncoder::Work::filterRows(const PngLayout& layout, const RowFiller& fillRow)
{
    // Filters help colour rows; on palette indices they only cost time.
    const std::uint8_t filter = layout.colorType == colorTypePalette ? filterNone : filterUp;
    const std::size_t rowBytes = layout.rowBytes();
    rows.resize((rowBytes + 1) * static_cast<std::size_t>(layout.height));
    above.assign(filter == filterNone ? 0 : rowBytes, 0);
    current.resize(above.size());
    for (int y = 0; y < layout.height; ++y) {
        std::uint8_t* out = rows.data() + (rowBytes + 1) * static_cast<std::size_t>(y);
        out[0] = filter;
        if (filter == filterNone) {
            fillRow(y, out + 1);
            continue;
        }
        fillRow(y, current.data());
        subtractBytes(out + 1, current.data(), above.data(), rowBytes);
        above.swap(current);
    }
}

std::vector<std::uint8_t> PngEncoder::Work::encode(const PngLayout& layout, const RowFiller& fillRow)
{
    if (!compressor) throw std::bad_alloc();
    filterRows(layout, fillRow);
    compressed.resize(libdeflate_zlib_compress_bound(compressor.get(), rows.size()));
    const std::size_t compressedSize =
        libdeflate_zlib_compress(compressor.get(), rows.data(), rows.size(), compressed.data(), compressed.size());

    static constexpr std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> out;
    out.reserve(sizeof signature + 25 + 12 + layout.palette.size() * 3 + compressedSize +
                12 * (compressedSize / maxDataChunk + 1) + 12);
    out.assign(std::begin(signature), std::end(signature));

    const std::size_t header = openChunk(out, "IHDR", 13);
    std::uint8_t* fields = out.data() + header + 8;
    putU32(fields, static_cast<std::uint32_t>(layout.width));
    putU32(fields + 4, static_cast<std::uint32_t>(layout.height));
    fields[8] = layout.bitDepth;
    fields[9] = layout.colorType;
    fields[10] = fields[11] = fields[12] = 0;  // deflate, adaptive filtering, no interlace
    closeChunk(out, header, 13);

    if (!layout.palette.empty()) {
        const std::size_t length = layout.palette.size() * 3;
        const std::size_t palette = openChunk(out, "PLTE", length);
        std::memcpy(out.data() + palette + 8, layout.palette.data(), length);
        closeChunk(out, palette, length);
    }

    for (std::size_t done = 0; done < compressedSize;) {
        const std::size_t length = std::min(maxDataChunk, compressedSize - done);
        const std::size_t data = openChunk(out, "IDAT", length);
        std::memcpy(out.data() + data + 8, compressed.data() + done, length);
        closeChunk(out, data, length);
        done += length;
    }

    const std::size_t end = openChunk(out, "IEND", 0);
    closeChunk(out, end, 0);
    return out;
}

PngEncoder::PngEncoder() : work_(std::make_unique<Work>()) {}

PngEncoder::~PngEncoder() = default;

std::vector<std::uint8_t> PngEncoder::encode(const DibImage& image)
{
    PngLayout layout;
    layout.width = image.width();
    layout.height = image.height();
    const int depth = image.bitsPerPixel();
    if (depth <= 8) {
        layout.bitDepth = static_cast<std::uint8_t>(depth);
        layout.colorType = colorTypePalette;
        layout.palette.assign(std::size_t{1} << depth, {0, 0, 0});
        const std::size_t entries = std::min(layout.palette.size(), image.colorTable.size());
        for (std::size_t i = 0; i < entries; ++i)
            layout.palette[i] = {image.colorTable[i].red, image.colorTable[i].green, image.colorTable[i].blue};
        // Packed indices are stored most significant bits first, as the PNG stores them.
        const std::size_t rowBytes = layout.rowBytes();
        return work_->encode(layout, [&](int y, std::uint8_t* row) { std::memcpy(row, image.scanLine(y), rowBytes); });
    }
    const bool fixedLayout = image.masks == ColorMasks{} || image.masks == ColorMasks{0xFF0000, 0x00FF00, 0x0000FF};
    if (depth == 24 || (depth == 32 && fixedLayout)) {
        const std::size_t step = static_cast<std::size_t>(depth / 8);
        return work_->encode(layout, [&](int y, std::uint8_t* row) {
            swapBlueAndRed(row, image.scanLine(y), static_cast<std::size_t>(image.width()), step);
        });
    }
    return work_->encode(layout, [&](int y, std::uint8_t* row) {
        for (int x = 0; x < image.width(); ++x, row += 3) {
            const std::uint32_t color = image.pixel(x, y);
            row[0] = static_cast<std::uint8_t>(color);
            row[1] = static_cast<std::uint8_t>(color >> 8);
            row[2] = static_cast<std::uint8_t>(color >> 16);
        }
    });
}

std::vector<std::uint8_t> PngEncoder::encode(const QImage& image)
{
    const QImage source = image.format() == QImage::Format_RGB888 || image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    PngLayout layout;
    layout.width = source.width();
    layout.height = source.height();
    if (source.format() == QImage::Format_RGB888) {
        const std::size_t rowBytes = layout.rowBytes();
        return work_->encode(layout, [&](int y, std::uint8_t* row) { std::memcpy(row, source.constScanLine(y), rowBytes); });
    }
    return work_->encode(layout, [&](int y, std::uint8_t* row) {
        const auto* pixels = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x, row += 3) {
            row[0] = static_cast<std::uint8_t>(qRed(pixels[x]));
            row[1] = static_cast<std::uint8_t>(qGreen(pixels[x]));
            row[2] = static_cast<std::uint8_t>(qBlue(pixels[x]));
        }
    });
}

std::vector<std::uint8_t> encodePng(const DibImage& image)
{
    return PngEncoder().encode(image);
}

std::vector<std::uint8_t> encodePng(const QImage& image)
{
    return PngEncoder().encode(image);
}

void writePng(const QImage& image, const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    try {
        bytes = encodePng(image);
    } catch (const std::bad_alloc&) {
        throw Exception("Cannot write " + (path == "-" ? std::string("standard output") : path) + ": Out of memory");
    }
    if (path == "-")
        writeStandardOutput(bytes);
    else
        writeFileReplacing(path, bytes);
}

}  // namespace trovelin
