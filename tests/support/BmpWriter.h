#pragma once
// Builds BMP images in every stored form, and the picture payloads that records store them in.

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "streaming/DibImage.h"

namespace trovelin::testing {

struct BmpContent {
    int width = 1;
    int height = 1;  // rows; stored negative when topDown
    int bitsPerPixel = 24;
    BitmapCompression compression = BitmapCompression::None;
    bool topDown = false;
    bool coreHeader = false;
    std::uint32_t headerSize = 40;  // of an info header; from 52 on the masks are inside it
    ColorMasks masks;               // written for bit-field images
    std::vector<RgbQuad> colorTable;
    // The stored value of each pixel: a colour-table index, a raw 16- or 32-bit pixel, or 0x00RRGGBB at 24 bits.
    std::function<std::uint32_t(int x, int y)> value = [](int, int) { return 0u; };
    std::optional<std::uint32_t> pixelByteCountField;  // written instead of the true count
    std::uint32_t colorsUsedField = 0;  // 0: the table's size when it is not the depth's default
    std::uint32_t pixelOffsetField = 0;  // 0: the true offset
};

// The BMP file: file header, DIB header, masks, colour table and pixel bytes (run-length encoded
// for the two run-length compressions: runs of equal indices, literal blocks, end-of-line codes
// and an end-of-bitmap code).
std::vector<std::uint8_t> makeBmp(const BmpContent& content);

// A bottom-up 24-bit BMP file of width x height; `pixel` gives 0x00RRGGBB for each point.
std::vector<std::uint8_t> makeBmp24(int width, int height, const std::function<std::uint32_t(int x, int y)>& pixel);

// "Glyph.Data": a 4-byte size, then the BMP file.
std::vector<std::uint8_t> bitmapPayload(const std::vector<std::uint8_t>& bmp);

// "Picture.Data": the graphic class name as a short string, then the graphic's own data.
std::vector<std::uint8_t> picturePayload(std::string_view className, const std::vector<std::uint8_t>& graphicData);

// Little-endian helpers for building and patching test bytes.
void putU16(std::vector<std::uint8_t>& out, std::uint32_t value);
void putU32(std::vector<std::uint8_t>& out, std::uint32_t value);
void patchU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);

}  // namespace trovelin::testing
