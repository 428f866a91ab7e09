#include "streaming/BitmapDecoder.h"

#include <algorithm>
#include <cstring>

#include "streaming/Errors.h"
#include "streaming/LittleEndian.h"
#include "streaming/RunLength.h"
#include "streaming/Stream.h"

namespace trovelin {

namespace {

constexpr std::uint32_t fileHeaderSize = 14;
constexpr std::uint32_t coreHeaderSize = 12;
constexpr std::uint32_t infoHeaderSize = 40;
// Headers from this size on carry the three colour masks right after the info header fields.
constexpr std::uint32_t headerWithMasksSize = 52;
constexpr std::uint32_t maskBytes = 12;
constexpr std::uint32_t maxColorTableEntries = 256;

[[noreturn]] void refuse() { throw EInvalidGraphic(messages::bitmapImageIsNotValid); }
[[noreturn]] void cutShort() { throw EReadError(messages::streamReadError); }

// Reads `count` bytes that the stream must hold, checking before anything is allocated.
std::vector<std::uint8_t> readBlock(Stream& stream, std::uint64_t count)
{
    if (count > static_cast<std::uint64_t>(stream.remaining())) cutShort();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    stream.readExact(bytes.data(), bytes.size());
    return bytes;
}

// Everything in front of the pixel bytes, and how many pixel bytes to read.
struct StoredLayout {
    BitmapInfoHeader header;
    std::vector<std::uint8_t> headerExtension;
    bool coreHeader = false;
    ColorMasks masks;
    std::vector<RgbQuad> colorTable;
    std::uint32_t pixelBytes = 0;
};

void readDibHeader(Stream& stream, StoredLayout& layout)
{
    BitmapInfoHeader& h = layout.header;
    const std::uint32_t size = stream.readU32();
    if (size == coreHeaderSize) {
        std::uint8_t core[8];
        stream.readExact(core, sizeof core);
        layout.coreHeader = true;
        h.width = readLe16(core);
        h.height = readLe16(core + 2);
        h.planes = readLe16(core + 4);
        h.bitCount = readLe16(core + 6);
        return;
    }
    if (size < infoHeaderSize) refuse();
    std::vector<std::uint8_t> rest = readBlock(stream, size - 4);
    const std::uint8_t* p = rest.data();
    h.size = size;
    h.width = static_cast<std::int32_t>(readLe32(p));
    h.height = static_cast<std::int32_t>(readLe32(p + 4));
    h.planes = readLe16(p + 8);
    h.bitCount = readLe16(p + 10);
    h.compression = readLe32(p + 12);
    h.sizeImage = readLe32(p + 16);
    h.xPelsPerMeter = static_cast<std::int32_t>(readLe32(p + 20));
    h.yPelsPerMeter = static_cast<std::int32_t>(readLe32(p + 24));
    h.clrUsed = readLe32(p + 28);
    h.clrImportant = readLe32(p + 32);
    layout.headerExtension.assign(rest.begin() + (infoHeaderSize - 4), rest.end());
}

bool isBitFieldImage(const BitmapInfoHeader& h)
{
    return h.compression == static_cast<std::uint32_t>(BitmapCompression::BitFields) &&
           (h.bitCount == 16 || h.bitCount == 32);
}

void readMasks(Stream& stream, StoredLayout& layout)
{
    if (!isBitFieldImage(layout.header)) return;
    std::uint8_t bytes[maskBytes];
    const std::uint8_t* source = bytes;
    if (layout.header.size == infoHeaderSize) {
        stream.readExact(bytes, sizeof bytes);
    } else if (layout.header.size >= headerWithMasksSize) {
        source = layout.headerExtension.data();
    } else {
        refuse();  // a header between the info header and the masked one has nowhere to keep masks
    }
    layout.masks = {readLe32(source), readLe32(source + 4), readLe32(source + 8)};
    if (layout.masks == ColorMasks{}) refuse();
}

std::uint32_t defaultColorCount(std::uint16_t bitCount)
{
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

void readColorTable(Stream& stream, StoredLayout& layout)
{
    BitmapInfoHeader& h = layout.header;
    if (h.clrUsed == 0) h.clrUsed = defaultColorCount(h.bitCount);
    if (h.clrUsed > maxColorTableEntries) refuse();
    const std::size_t entrySize = layout.coreHeader ? 3 : 4;
    std::vector<std::uint8_t> bytes = readBlock(stream, h.clrUsed * entrySize);
    layout.colorTable.resize(h.clrUsed);
    for (std::size_t i = 0; i < layout.colorTable.size(); ++i) {
        const std::uint8_t* entry = bytes.data() + i * entrySize;
        layout.colorTable[i] = {entry[0], entry[1], entry[2], entrySize == 4 ? entry[3] : std::uint8_t{0}};
    }
}

std::uint32_t absoluteHeight(const BitmapInfoHeader& h)
{
    return h.height < 0 ? 0u - static_cast<std::uint32_t>(h.height) : static_cast<std::uint32_t>(h.height);
}

// The pixel byte count: as stored, or computed when 0; then capped by what the byte count S leaves
// after the headers, masks and colour table. The subtraction wraps like the unsigned arithmetic
// that stored files were written against, so an S too small for the headers caps nothing.
void settlePixelByteCount(std::uint32_t bmpSize, StoredLayout& layout)
{
    BitmapInfoHeader& h = layout.header;
    if (h.sizeImage == 0) {
        const std::uint64_t stride = dibStride(static_cast<std::uint32_t>(h.width), h.bitCount);
        const std::uint64_t total = stride * absoluteHeight(h);
        h.sizeImage = total > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(total);
    }
    const std::uint32_t headerBytes = layout.coreHeader ? coreHeaderSize : h.size;
    const std::uint32_t maskedBytes = layout.header.size == infoHeaderSize && isBitFieldImage(h) ? maskBytes : 0;
    const std::uint32_t tableBytes = h.clrUsed * (layout.coreHeader ? 3u : 4u);
    const std::uint32_t remaining = bmpSize - fileHeaderSize - headerBytes - maskedBytes - tableBytes;
    layout.pixelBytes = std::min(h.sizeImage, remaining);
}

bool isAcceptedFormat(const BitmapInfoHeader& h)
{
    switch (static_cast<BitmapCompression>(h.compression)) {
    case BitmapCompression::None:
        return h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 || h.bitCount == 24 ||
               h.bitCount == 32;
    case BitmapCompression::Rle8: return h.bitCount == 8 && h.height > 0;
    case BitmapCompression::Rle4: return h.bitCount == 4 && h.height > 0;
    case BitmapCompression::BitFields: return h.bitCount == 16 || h.bitCount == 32;
    }
    return false;
}

// Reads the pixel bytes straight into the image rows, in the stored row order. Rows the byte
// count does not reach stay black, and untouched, so that they cost no memory. 32-bit pixels
// whose high byte is unused get 0xFF there on the way in, so that drawing code can show them as
// they are when the data reaches every row.
void readPixels(Stream& stream, DibImage& image, bool topDown, std::uint32_t pixelBytes)
{
    const bool opaqueHighBytes = leavesHighByteUnused(image.bitsPerPixel(), image.masks);
    const std::size_t stride = image.stride();
    auto rowAt = [&](int storedRow) { return image.scanLine(topDown ? storedRow : image.height() - 1 - storedRow); };
    auto finish = [&](std::uint8_t* row) {
        if (opaqueHighBytes) setHighBytesOpaque(row, static_cast<std::size_t>(image.width()));
    };

    std::uint64_t left = pixelBytes;
    const int fullRows = static_cast<int>(std::min<std::uint64_t>(left / stride, image.height()));
    if (const std::uint8_t* rows = stream.borrow(static_cast<std::size_t>(fullRows) * stride)) {
        for (int row = 0; row < fullRows; ++row) {
            const std::uint8_t* source = rows + static_cast<std::size_t>(row) * stride;
            if (opaqueHighBytes)
                copyWithHighBytesOpaque(rowAt(row), source, static_cast<std::size_t>(image.width()));
            else
                std::memcpy(rowAt(row), source, stride);
        }
    } else {
        for (int row = 0; row < fullRows; ++row) {
            stream.readExact(rowAt(row), stride);
            finish(rowAt(row));
        }
    }
    left -= static_cast<std::uint64_t>(fullRows) * stride;
    int rowsReached = fullRows;
    if (left > 0 && fullRows < image.height()) {
        const auto take = static_cast<std::size_t>(left);  // less than a row
        stream.readExact(rowAt(fullRows), take);
        finish(rowAt(fullRows));
        ++rowsReached;
        left = 0;
    }
    image.highBytesOpaque = opaqueHighBytes && rowsReached == image.height();
    stream.seek(static_cast<std::int64_t>(left), SeekOrigin::Current);
}

std::shared_ptr<DibImage> decodePixels(Stream& stream, const StoredLayout& layout)
{
    const BitmapInfoHeader& h = layout.header;
    if (!isAcceptedFormat(h) || h.width <= 0 || h.height == 0 || absoluteHeight(h) > 0x7FFFFFFFu) refuse();
    const int width = h.width;
    const int height = static_cast<int>(absoluteHeight(h));
    const auto compression = static_cast<BitmapCompression>(h.compression);
    const bool runLength = compression == BitmapCompression::Rle8 || compression == BitmapCompression::Rle4;
    const int depth = runLength ? 32 : h.bitCount;
    // Check the bytes are there and the size is allowed before the storage is allocated.
    if (layout.pixelBytes > static_cast<std::uint64_t>(stream.remaining())) cutShort();
    auto image = std::make_shared<DibImage>(width, height, depth, stream.pixelBudget());
    image->masks = layout.masks;
    if (runLength) {
        std::vector<std::uint8_t> packed = readBlock(stream, layout.pixelBytes);
        const std::uint64_t written =
            expandRunLength(packed, compression == BitmapCompression::Rle4 ? 4 : 8, layout.colorTable, *image);
        image->highBytesOpaque =
            written == static_cast<std::uint64_t>(image->width()) * static_cast<std::uint64_t>(image->height());
    } else {
        readPixels(stream, *image, h.height < 0, layout.pixelBytes);
    }
    return image;
}

}  // namespace

std::shared_ptr<const DibImage> decodeBitmapData(Stream& stream)
{
    const std::uint32_t bmpSize = stream.readU32();
    if (bmpSize == 0) return nullptr;

    std::uint8_t fileHeader[fileHeaderSize];
    stream.readExact(fileHeader, sizeof fileHeader);
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M') refuse();

    StoredLayout layout;
    readDibHeader(stream, layout);
    if (layout.header.planes != 1) refuse();
    readMasks(stream, layout);
    readColorTable(stream, layout);
    settlePixelByteCount(bmpSize, layout);

    std::shared_ptr<DibImage> image = decodePixels(stream, layout);
    image->header = layout.header;
    image->headerExtension = std::move(layout.headerExtension);
    image->storedTopDown = layout.header.height < 0;
    image->colorTable = std::move(layout.colorTable);
    return image;
}

}  // namespace trovelin
