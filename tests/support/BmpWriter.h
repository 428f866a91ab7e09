#pragma once
// Builds BMP images and the picture payloads that records store them in.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace trovelin::testing {

// A bottom-up 24-bit BMP file of width x height; `pixel` gives 0x00RRGGBB for each point.
std::vector<std::uint8_t> makeBmp24(int width, int height, const std::function<std::uint32_t(int x, int y)>& pixel);

// "Glyph.Data": a 4-byte size, then the BMP file.
std::vector<std::uint8_t> bitmapPayload(const std::vector<std::uint8_t>& bmp);

// "Picture.Data": the graphic class name as a short string, then the graphic's own data.
std::vector<std::uint8_t> picturePayload(std::string_view className, const std::vector<std::uint8_t>& graphicData);

}  // namespace trovelin::testing
