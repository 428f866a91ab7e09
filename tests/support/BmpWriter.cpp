#include "support/BmpWriter.h"

#include <algorithm>
#include <stdexcept>

namespace trovelin::testing {

namespace {
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

std::vector<std::uint8_t> makeBmp24(int width, int height, const std::function<std::uint32_t(int x, int y)>& pixel)
{
    if (width <= 0 || height <= 0) throw std::invalid_argument("makeBmp24: empty size");
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    putU32(out, 14 + 40 + pixelBytes);
    putU32(out, 0);
    putU32(out, 14 + 40);
    putU32(out, 40);
    putU32(out, static_cast<std::uint32_t>(width));
    putU32(out, static_cast<std::uint32_t>(height));
    putU16(out, 1);
    putU16(out, 24);
    putU32(out, 0);  // uncompressed
    putU32(out, pixelBytes);
    putU32(out, 2835);
    putU32(out, 2835);
    putU32(out, 0);
    putU32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        std::size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            std::uint32_t rgb = pixel(x, y);
            out.push_back(static_cast<std::uint8_t>(rgb));
            out.push_back(static_cast<std::uint8_t>(rgb >> 8));
            out.push_back(static_cast<std::uint8_t>(rgb >> 16));
        }
        out.resize(rowStart + rowBytes, 0);
    }
    return out;
}

std::vector<std::uint8_t> bitmapPayload(const std::vector<std::uint8_t>& bmp)
{
    std::vector<std::uint8_t> out(4 + bmp.size());
    for (std::size_t i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(bmp.size() >> (8 * i));
    std::copy(bmp.begin(), bmp.end(), out.begin() + 4);
    return out;
}

std::vector<std::uint8_t> picturePayload(std::string_view className, const std::vector<std::uint8_t>& graphicData)
{
    if (className.size() > 63) throw std::invalid_argument("picturePayload: class name too long");
    std::vector<std::uint8_t> out(1 + className.size() + graphicData.size());
    out[0] = static_cast<std::uint8_t>(className.size());
    auto next = std::copy(className.begin(), className.end(), out.begin() + 1);
    std::copy(graphicData.begin(), graphicData.end(), next);
    return out;
}

}  // namespace trovelin::testing
