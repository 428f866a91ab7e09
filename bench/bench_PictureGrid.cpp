// Painting the picture grid full of 512 pictures of 64 x 64 at 32 bits, as the main window draws
// them: decoded pictures, whose unused high bytes the decoder made opaque, are drawn straight
// from their memory; the same pixels without that mark go through a conversion on every paint,
// which is what the decoder spares. Only the cells in sight are painted, so the count of pictures
// does not matter.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include <QImage>

#include "app/DrawGrid.h"
#include "framework/Canvas.h"
#include "streaming/Bitmap.h"
#include "streaming/DibImage.h"

namespace {

using namespace trovelin;

constexpr int pictureCount = 512;

std::vector<TBitmap> pictures(bool opaqueHighBytes)
{
    std::vector<TBitmap> result;
    for (int i = 0; i < pictureCount; ++i) {
        auto image = std::make_shared<DibImage>(64, 64, 32);
        for (std::size_t b = 0; b < image->byteCount(); ++b) image->bits()[b] = static_cast<std::uint8_t>(b * 7 + i);
        if (opaqueHighBytes) image->makeHighBytesOpaque();
        TBitmap bitmap;
        bitmap.setImage(std::move(image));
        result.push_back(std::move(bitmap));
    }
    return result;
}

void paintGrid(benchmark::State& state, bool opaqueHighBytes)
{
    const std::vector<TBitmap> list = pictures(opaqueHighBytes);
    TDrawGrid grid;
    grid.resize(338, 400);
    grid.setColCount(5);
    grid.setRowCount(pictureCount / 5 + 1);
    grid.onDrawCell = [&list, &grid](int col, int row, const TRect& rect, unsigned, TCanvas& canvas) {
        const auto index = static_cast<std::size_t>(col + row * grid.colCount());
        if (index < list.size()) canvas.draw(rect.left, rect.top, list[index]);
    };
    QImage target(grid.size(), QImage::Format_RGB32);
    for (auto _ : state) grid.render(&target);
}

void decodedPictures(benchmark::State& state) { paintGrid(state, true); }
void picturesConvertedOnEveryPaint(benchmark::State& state) { paintGrid(state, false); }
BENCHMARK(decodedPictures)->Unit(benchmark::kMicrosecond);
BENCHMARK(picturesConvertedOnEveryPaint)->Unit(benchmark::kMicrosecond);

}  // namespace
