#include "support/PaintedBitmap.h"

#include <cstdint>
#include <memory>

namespace trovelin::testing {

TBitmap paintedBitmap(int width, int height, int bitsPerPixel, const std::function<QColor(int, int)>& colourOf)
{
    auto image = std::make_shared<DibImage>(width, height, bitsPerPixel);
    const int bytesPerPixel = bitsPerPixel / 8;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const QColor colour = colourOf(x, y);
            std::uint8_t* p = image->scanLine(y) + bytesPerPixel * x;
            p[0] = static_cast<std::uint8_t>(colour.blue());
            p[1] = static_cast<std::uint8_t>(colour.green());
            p[2] = static_cast<std::uint8_t>(colour.red());
        }
    TBitmap bitmap;
    bitmap.setImage(std::move(image));
    return bitmap;
}

}  // namespace trovelin::testing
