#include "support/BmpForms.h"

#include <memory>

namespace trovelin::testing {

const std::vector<BmpForm>& acceptedBmpForms()
{
    using enum BitmapCompression;
    static const std::vector<BmpForm> forms{
        {"1-bit", 1, None},
        {"1-bit top-down", 1, None, true},
        {"4-bit", 4, None},
        {"8-bit", 8, None},
        {"8-bit top-down", 8, None, true},
        {"core 1-bit", 1, None, false, true},
        {"core 4-bit", 4, None, false, true},
        {"core 8-bit", 8, None, false, true},
        {"core 24-bit", 24, None, false, true},
        {"RLE8", 8, Rle8},
        {"RLE4", 4, Rle4},
        {"16-bit 5-5-5", 16, None},
        {"24-bit", 24, None},
        {"24-bit top-down", 24, None, true},
        {"32-bit", 32, None},
        {"16-bit fields 5-6-5", 16, BitFields, false, false, 40, {0xF800, 0x07E0, 0x001F}},
        {"16-bit fields 4-4-4, v4 header", 16, BitFields, false, false, 108, {0x0F00, 0x00F0, 0x000F}},
        {"32-bit fields", 32, BitFields, false, false, 40, {0xFF0000, 0x00FF00, 0x0000FF}},
        {"32-bit fields red low, v5 header", 32, BitFields, true, false, 124, {0x0000FF, 0x00FF00, 0xFF0000}},
    };
    return forms;
}

BmpContent randomBmpContent(const BmpForm& form, int width, int height, std::mt19937& random)
{
    BmpContent content;
    content.width = width;
    content.height = height;
    content.bitsPerPixel = form.bitsPerPixel;
    content.compression = form.compression;
    content.topDown = form.topDown;
    content.coreHeader = form.coreHeader;
    content.headerSize = form.headerSize;
    content.masks = form.masks;
    auto byte = [&random] { return static_cast<std::uint8_t>(random()); };
    if (form.bitsPerPixel <= 8)
        for (int i = 0; i < 1 << form.bitsPerPixel; ++i) content.colorTable.push_back({byte(), byte(), byte(), 0});

    const bool runLength = form.compression == BitmapCompression::Rle8 || form.compression == BitmapCompression::Rle4;
    const std::uint32_t valueMask = form.bitsPerPixel == 32 ? 0x00FFFFFFu : (1u << form.bitsPerPixel) - 1;
    auto values = std::make_shared<std::vector<std::uint32_t>>(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < values->size(); ++i)
        (*values)[i] = (runLength && i > 0 && random() % 3 != 0 ? (*values)[i - 1] : random()) & valueMask;
    content.value = [values, width](int x, int y) { return (*values)[static_cast<std::size_t>(y) * width + x]; };
    return content;
}

}  // namespace trovelin::testing
