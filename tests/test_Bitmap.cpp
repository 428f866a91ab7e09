// Bitmap data: the stored header forms, what is refused and with which message, the pixel byte
// count rules, run-length clipping and the shared storage of copies.

#include <gtest/gtest.h>

#include "streaming/Bitmap.h"
#include "streaming/Errors.h"
#include "streaming/Stream.h"
#include "support/BmpWriter.h"

namespace trovelin {
namespace {

using namespace testing;

std::vector<RgbQuad> grayTable(int count)
{
    std::vector<RgbQuad> table;
    for (int i = 0; i < count; ++i) {
        auto v = static_cast<std::uint8_t>(i * 255 / std::max(count - 1, 1));
        table.push_back({v, v, v, 0});
    }
    return table;
}

TBitmap decode(const std::vector<std::uint8_t>& payload)
{
    TBitmap bitmap;
    ByteViewStream stream(payload);
    bitmap.readData(stream);
    return bitmap;
}

// The message of the failure, or "decoded".
std::string failure(const std::vector<std::uint8_t>& payload)
{
    try {
        decode(payload);
    } catch (const Exception& error) {
        return error.message();
    }
    return "decoded";
}

// Colour value (red in the low byte) of 0x00RRGGBB.
std::uint32_t colorOf(std::uint32_t rgb) { return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16); }

TEST(Bitmap, TheMainWindowGlyphDecodesTo16By16With16Colours)
{
    BmpContent content;
    content.width = content.height = 16;
    content.bitsPerPixel = 4;
    content.colorTable = grayTable(16);
    content.colorsUsedField = 16;
    content.value = [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 16); };
    const auto payload = bitmapPayload(makeBmp(content));
    ASSERT_EQ(payload.size(), 250u);

    TBitmap bitmap = decode(payload);
    ASSERT_FALSE(bitmap.empty());
    EXPECT_EQ(bitmap.width(), 16);
    EXPECT_EQ(bitmap.height(), 16);
    EXPECT_EQ(bitmap.image()->bitsPerPixel(), 4);  // kept at the stored depth
    EXPECT_EQ(bitmap.image()->colorTable.size(), 16u);
    EXPECT_EQ(bitmap.image()->pixel(15, 0), 0xFFFFFFu & 0xFFFFFF);
    EXPECT_EQ(bitmap.image()->pixel(1, 0), 0x111111u);
    EXPECT_FALSE(bitmap.transparent());
}

TEST(Bitmap, AByteCountOfZeroEmptiesTheBitmap)
{
    TBitmap bitmap = decode(bitmapPayload(makeBmp24(2, 2, [](int, int) { return 0x123456u; })));
    ASSERT_FALSE(bitmap.empty());
    const std::vector<std::uint8_t> payload{0, 0, 0, 0};
    ByteViewStream zero(payload);
    bitmap.readData(zero);
    EXPECT_TRUE(bitmap.empty());
    EXPECT_EQ(bitmap.width(), 0);
}

TEST(Bitmap, RowsFollowTheStoredOrderAndHeightIsHeldPositive)
{
    for (bool topDown : {false, true}) {
        BmpContent content;
        content.width = 3;
        content.height = 4;
        content.topDown = topDown;
        content.value = [](int x, int y) { return static_cast<std::uint32_t>(0x010203 * (1 + x + 3 * y)); };
        TBitmap bitmap = decode(bitmapPayload(makeBmp(content)));
        EXPECT_EQ(bitmap.height(), 4);
        EXPECT_EQ(bitmap.image()->storedTopDown, topDown);
        EXPECT_EQ(bitmap.image()->header.height, topDown ? -4 : 4);
        EXPECT_EQ(bitmap.image()->pixel(0, 0), colorOf(0x010203));
        EXPECT_EQ(bitmap.image()->pixel(2, 3), colorOf(0x010203 * 12));
    }
}

TEST(Bitmap, CoreHeadersHaveUnsignedSizesAndThreeByteColours)
{
    BmpContent content;
    content.coreHeader = true;
    content.width = 40000;
    content.bitsPerPixel = 1;
    content.colorTable = {{0x10, 0x20, 0x30, 0}, {0x40, 0x50, 0x60, 0}};
    content.value = [](int x, int) { return x == 39999 ? 1u : 0u; };
    TBitmap bitmap = decode(bitmapPayload(makeBmp(content)));
    EXPECT_EQ(bitmap.width(), 40000);
    EXPECT_EQ(bitmap.image()->header.size, 40u);  // held as an info header
    EXPECT_EQ(bitmap.image()->colorTable[1], (RgbQuad{0x40, 0x50, 0x60, 0}));
    EXPECT_EQ(bitmap.image()->pixel(39999, 0), 0x405060u);
    EXPECT_EQ(bitmap.image()->pixel(0, 0), 0x102030u);
}

TEST(Bitmap, ColourTablesTakeTheirDefaultCountWhenColoursUsedIsZero)
{
    BmpContent content;
    content.width = 2;
    content.bitsPerPixel = 8;
    content.colorTable = grayTable(256);
    content.value = [](int x, int) { return x == 0 ? 0u : 255u; };
    TBitmap bitmap = decode(bitmapPayload(makeBmp(content)));
    EXPECT_EQ(bitmap.image()->colorTable.size(), 256u);
    EXPECT_EQ(bitmap.image()->header.clrUsed, 256u);
    EXPECT_EQ(bitmap.image()->pixel(1, 0), 0xFFFFFFu);
}

TEST(Bitmap, BitFieldMasksComeAfterAnInfoHeaderOrInsideALargerOne)
{
    for (std::uint32_t headerSize : {40u, 108u}) {
        BmpContent content;
        content.width = 2;
        content.bitsPerPixel = 32;
        content.compression = BitmapCompression::BitFields;
        content.headerSize = headerSize;
        content.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};  // red in the low byte
        content.value = [](int x, int) { return x == 0 ? 0x00332211u : 0x00000080u; };
        TBitmap bitmap = decode(bitmapPayload(makeBmp(content)));
        EXPECT_EQ(bitmap.image()->masks, content.masks) << headerSize;
        EXPECT_EQ(bitmap.image()->headerExtension.size(), headerSize - 40);
        EXPECT_EQ(bitmap.image()->pixel(0, 0), 0x332211u) << headerSize;
        EXPECT_EQ(bitmap.image()->pixel(1, 0), 0x000080u) << headerSize;
    }
}

TEST(Bitmap, PixelBytesStartAfterTheColourTableAndStopWhereTheByteCountEnds)
{
    // 50 x 7 at 24 bits has 152-byte rows, 1064 bytes; the count field says 1000, but the
    // file size S leaves only 600 pixel bytes after the headers.
    BmpContent content;
    content.width = 50;
    content.height = 7;
    content.value = [](int, int) { return 0x808080u; };
    content.pixelByteCountField = 1000;
    content.pixelOffsetField = 4000;  // ignored
    auto bmp = makeBmp(content);
    bmp.resize(14 + 40 + 600);
    auto payload = bitmapPayload(bmp);
    payload.insert(payload.end(), 50, 0xEE);  // trailing bytes of the payload
    TBitmap bitmap = decode(payload);
    EXPECT_EQ(bitmap.image()->pixel(49, 6), 0x808080u);  // the bottom row comes first
    EXPECT_EQ(bitmap.image()->pixel(0, 3), 0x808080u);   // 600 = 3 rows and 144 bytes: 48 pixels
    EXPECT_EQ(bitmap.image()->pixel(47, 3), 0x808080u);
    EXPECT_EQ(bitmap.image()->pixel(48, 3), 0u);
    EXPECT_EQ(bitmap.image()->pixel(0, 0), 0u);

    // An S too small to cover the headers caps nothing: the whole count is read.
    auto small = bitmapPayload(makeBmp24(2, 2, [](int, int) { return 0xFFFFFFu; }));
    patchU32(small, 0, 20);
    patchU32(small, 4 + 14 + 20, 0);
    EXPECT_EQ(decode(small).image()->pixel(1, 0), 0xFFFFFFu);
}

TEST(Bitmap, RefusalsAndShortDataHaveTheirMessages)
{
    const auto good = bitmapPayload(makeBmp24(2, 2, [](int, int) { return 0u; }));
    auto patched = [&](std::size_t offset, std::vector<std::uint8_t> bytes) {
        auto payload = good;
        std::copy(bytes.begin(), bytes.end(), payload.begin() + static_cast<std::ptrdiff_t>(offset));
        return payload;
    };
    auto truncated = [&](std::size_t size) { return std::vector<std::uint8_t>(good.begin(), good.begin() + size); };
    constexpr std::size_t dib = 4 + 14;
    const std::string notValid = "Bitmap image is not valid";
    const std::string readError = "Stream read error";

    EXPECT_EQ(failure(patched(4, {'B', 'N'})), notValid);
    EXPECT_EQ(failure(patched(dib + 12, {2, 0})), notValid);               // planes
    EXPECT_EQ(failure(patched(dib, {20, 0, 0, 0})), notValid);             // header size
    EXPECT_EQ(failure(patched(dib + 32, {0x2D, 1, 0, 0})), notValid);      // 301 colours
    EXPECT_EQ(failure(patched(dib + 4, {0, 0, 0, 0})), notValid);          // width 0
    EXPECT_EQ(failure(patched(dib + 4, {0xFF, 0xFF, 0xFF, 0xFF})), notValid);
    EXPECT_EQ(failure(patched(dib + 8, {0, 0, 0, 0})), notValid);          // height 0
    EXPECT_EQ(failure(truncated(3)), readError);
    EXPECT_EQ(failure(truncated(4 + 10)), readError);                      // file header
    EXPECT_EQ(failure(truncated(dib + 30)), readError);                    // DIB header
    EXPECT_EQ(failure(truncated(good.size() - 1)), readError);             // pixels
    EXPECT_EQ(failure(patched(dib, {0xFF, 0xFF, 0xFF, 0x7F})), readError);  // a header longer than the data

    struct Form {
        std::uint16_t bitCount;
        std::uint32_t compression;
    };
    for (Form form : {Form{2, 0}, Form{0, 0}, Form{8, 2}, Form{4, 1}, Form{24, 1}, Form{24, 3}, Form{8, 3},
                      Form{1, 3}, Form{32, 4}, Form{16, 5}, Form{32, 6}}) {
        auto payload = good;
        payload[dib + 14] = static_cast<std::uint8_t>(form.bitCount);
        payload[dib + 15] = 0;
        patchU32(payload, dib + 16, form.compression);
        payload.insert(payload.end(), 1024, 0);  // room for masks and a colour table
        EXPECT_EQ(failure(payload), notValid) << form.bitCount << "/" << form.compression;
    }
}

TEST(Bitmap, DimensionsBeyondTheStorageCapAreRefusedBeforeAllocating)
{
    struct Size {
        std::int32_t width, height;
        std::uint16_t bitCount;
    };
    for (Size size : {Size{40000, 40000, 24}, Size{8192, 8193, 32}, Size{0x7FFFFFFF, 1, 32},
                      Size{1, -0x7FFFFFFF - 1, 8}, Size{65536, 65536, 1}}) {
        BmpContent content;
        content.bitsPerPixel = size.bitCount;
        content.colorTable = grayTable(size.bitCount <= 8 ? 1 << size.bitCount : 0);
        auto payload = bitmapPayload(makeBmp(content));
        patchU32(payload, 4 + 14 + 4, static_cast<std::uint32_t>(size.width));
        patchU32(payload, 4 + 14 + 8, static_cast<std::uint32_t>(size.height));
        patchU32(payload, 4 + 14 + 20, 1);  // one pixel byte, which is there
        EXPECT_EQ(failure(payload), "Bitmap image is not valid") << size.width << " x " << size.height;
    }
    // A run-length image is held at 32 bits, so the cap counts four bytes a pixel.
    BmpContent rle;
    rle.bitsPerPixel = 8;
    rle.compression = BitmapCompression::Rle8;
    rle.colorTable = grayTable(256);
    auto payload = bitmapPayload(makeBmp(rle));
    patchU32(payload, 4 + 14 + 4, 16384);
    patchU32(payload, 4 + 14 + 8, 4097);
    EXPECT_EQ(failure(payload), "Bitmap image is not valid");
}

// An 8-bit run-length bitmap of `width` x `height` whose pixel bytes are `codes`.
std::vector<std::uint8_t> rle8(int width, int height, std::vector<std::uint8_t> codes)
{
    BmpContent content;
    content.width = width;
    content.height = height;
    content.bitsPerPixel = 8;
    content.compression = BitmapCompression::Rle8;
    content.colorTable = grayTable(256);
    auto bmp = makeBmp(content);
    const std::size_t pixelStart = 14 + 40 + 1024;
    bmp.resize(pixelStart);
    bmp.insert(bmp.end(), codes.begin(), codes.end());
    patchU32(bmp, 14 + 20, static_cast<std::uint32_t>(codes.size()));
    return bitmapPayload(bmp);
}

TEST(Bitmap, RunLengthCodesThatLeaveTheImageAreClipped)
{
    // Bottom row: a run of 10 into a 4-pixel row, then end of line; the next row is not
    // touched by the overflow.
    TBitmap runs = decode(rle8(4, 3, {10, 0xFF, 0, 0, 1, 0x40, 0, 1}));
    EXPECT_EQ(runs.image()->bitsPerPixel(), 32);
    EXPECT_EQ(runs.image()->pixel(3, 2), 0xFFFFFFu);
    EXPECT_EQ(runs.image()->pixel(0, 1), 0x404040u);
    EXPECT_EQ(runs.image()->pixel(1, 1), 0u);  // never reached: black
    EXPECT_EQ(runs.image()->pixel(0, 0), 0u);

    // A delta past the corner, an absolute block past the row end, codes past the last row,
    // and no end-of-bitmap.
    TBitmap deltas = decode(rle8(4, 2, {0, 2, 2, 0, 0, 4, 0x80, 0x80, 0x80, 0x80, 0, 2, 9, 9, 5, 0x20, 0, 0, 0, 0,
                                        3, 0x60}));
    EXPECT_EQ(deltas.image()->pixel(2, 1), 0x808080u);
    EXPECT_EQ(deltas.image()->pixel(3, 1), 0x808080u);
    EXPECT_EQ(deltas.image()->pixel(0, 1), 0u);
    EXPECT_EQ(deltas.image()->pixel(0, 0), 0u);

    // An absolute block longer than the data left.
    TBitmap cut = decode(rle8(4, 1, {0, 200, 0x10, 0x20}));
    EXPECT_EQ(cut.image()->pixel(1, 0), 0x202020u);
    EXPECT_EQ(cut.image()->pixel(2, 0), 0u);
}

// A few bytes of deltas reach the top row of a 4096 x 4096 picture: only the pixels written get
// an opaque high byte, the skipped ones stay the untouched zeros of fresh storage (a file of
// deltas once had every row it passed filled in), and the picture is drawn by conversion.
TEST(Bitmap, DeltasLeaveTheRowsTheySkipUntouched)
{
    std::vector<std::uint8_t> codes;
    for (int i = 0; i < 16; ++i) codes.insert(codes.end(), {0, 2, 0, 255});
    codes.insert(codes.end(), {0, 2, 0, 15, 1, 0x80, 0, 1});
    const TBitmap skipping = decode(rle8(4096, 4096, codes));
    const DibImage& image = *skipping.image();
    EXPECT_EQ(image.pixel(0, 0), 0x808080u);
    EXPECT_EQ(image.scanLine(0)[3], 0xFF);  // the written pixel, in the top row
    EXPECT_EQ(image.scanLine(2000)[3], 0x00);
    EXPECT_FALSE(image.highBytesOpaque);

    const TBitmap covered = decode(rle8(2, 1, {2, 0x40, 0, 1}));
    EXPECT_TRUE(covered.image()->highBytesOpaque);
}

TEST(Bitmap, FourBitRunsAlternateTheirTwoIndices)
{
    BmpContent content;
    content.width = 5;
    content.bitsPerPixel = 4;
    content.compression = BitmapCompression::Rle4;
    content.colorTable = grayTable(16);
    auto bmp = makeBmp(content);
    bmp.resize(14 + 40 + 64);
    for (std::uint8_t code : {5, 0x1E, 0, 1}) bmp.push_back(code);
    patchU32(bmp, 14 + 20, 4);
    TBitmap bitmap = decode(bitmapPayload(bmp));
    EXPECT_EQ(bitmap.image()->pixel(0, 0), 0x111111u);
    EXPECT_EQ(bitmap.image()->pixel(1, 0), 0xEEEEEEu);
    EXPECT_EQ(bitmap.image()->pixel(4, 0), 0x111111u);
}

// A stream that cannot lend its bytes, as a file stream cannot.
class UnlendingStream : public ByteViewStream {
public:
    using ByteViewStream::ByteViewStream;
    const std::uint8_t* borrow(std::size_t) override { return nullptr; }
};

TEST(Bitmap, StreamsThatCannotLendTheirBytesDecodeTheSame)
{
    BmpContent content;
    content.width = 9;
    content.height = 4;
    content.value = [](int x, int y) { return static_cast<std::uint32_t>(0x0A0B0C * (x + 9 * y)); };
    content.pixelByteCountField = 3 * 28 + 5;
    const auto payload = bitmapPayload(makeBmp(content));
    UnlendingStream stream(payload);
    TBitmap unlent;
    unlent.readData(stream);
    const TBitmap lent = decode(payload);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(unlent.image()->pixel(x, y), lent.image()->pixel(x, y));
    EXPECT_EQ(lent.image()->pixel(8, 1), colorOf((0x0A0B0C * 17) & 0xFFFFFF));
    EXPECT_EQ(lent.image()->pixel(2, 0), 0u);
}

TEST(Bitmap, AFailedDecodeKeepsThePreviousImage)
{
    TBitmap bitmap = decode(bitmapPayload(makeBmp24(2, 2, [](int, int) { return 0x00FF00u; })));
    const DibImage* before = bitmap.image();
    int changes = 0;
    bitmap.onChange = [&] { ++changes; };
    auto bad = bitmapPayload(makeBmp24(3, 3, [](int, int) { return 0u; }));
    bad.pop_back();
    ByteViewStream stream(bad);
    EXPECT_THROW(bitmap.readData(stream), EReadError);
    EXPECT_EQ(bitmap.image(), before);
    EXPECT_EQ(changes, 0);
}

TEST(Bitmap, HarvestCopiesShareStorageAndOutliveTheirSource)
{
    auto source = std::make_unique<TBitmap>(decode(bitmapPayload(makeBmp24(4, 4, [](int x, int) {
        return x == 0 ? 0xFF0000u : 0x0000FFu;
    }))));
    source->setTransparent(true);
    source->setTransparentColor(0x00FF0000);
    std::unique_ptr<TBitmap> copy = copyIntoNewBitmap(*source);
    EXPECT_EQ(copy->image()->bits(), source->image()->bits());
    EXPECT_TRUE(copy->transparent());
    EXPECT_EQ(copy->transparentMode(), TransparentMode::tmFixed);
    EXPECT_EQ(copy->effectiveTransparentColor(), 0x00FF0000u);

    // Replacing the source's image leaves the copy's alone.
    const auto nextPayload = bitmapPayload(makeBmp24(1, 1, [](int, int) { return 0u; }));
    ByteViewStream next(nextPayload);
    source->readData(next);
    EXPECT_EQ(copy->width(), 4);
    source.reset();
    EXPECT_EQ(copy->image()->pixel(0, 3), 0x0000FFu);

    EXPECT_TRUE(copyIntoNewBitmap(TBitmap{})->empty());
}

TEST(Bitmap, TheAutomaticTransparentColourIsTheBottomLeftPixel)
{
    TBitmap bitmap = decode(bitmapPayload(makeBmp24(3, 2, [](int x, int y) {
        return x == 0 && y == 1 ? 0x00FF00u : 0xFFFFFFu;
    })));
    EXPECT_EQ(bitmap.transparentColor(), clDefaultTransparent);
    EXPECT_EQ(bitmap.effectiveTransparentColor(), 0x00FF00u);
    bitmap.setTransparentColor(0x123456);
    bitmap.setTransparentColor(clDefaultTransparent);
    EXPECT_EQ(bitmap.transparentMode(), TransparentMode::tmAuto);
}

}  // namespace
}  // namespace trovelin
