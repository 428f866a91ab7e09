// Painting the picture grid full of 512 pictures of 64 x 64 at 32 bits, as the main window draws
// them: decoded pictures, whose unused high bytes the decoder made opaque, are drawn straight
// from their memory; the same pixels without that mark go through a conversion on every paint,
// which is what the decoder spares. Only the cells in sight are painted, so the count of pictures
// does not matter.
// The grid full of 512 large pictures (640 x 480, 32 bits), drawn at their own size over their
// neighbours as by default, and fitted into their cells from the thumbnails made once.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QImage>

#include "app/DrawGrid.h"
#include "app/PictureThumbnails.h"
#include "framework/Canvas.h"
#include "streaming/Bitmap.h"
#include "streaming/DibImage.h"

namespace {

using namespace trovelin;

constexpr int pictureCount = 512;

std::vector<TBitmap> pictures(bool opaqueHighBytes, int side = 64, int height = 64)
{
    std::vector<TBitmap> result;
    for (int i = 0; i < pictureCount; ++i) {
        auto image = std::make_shared<DibImage>(side, height, 32);
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

void paintLargePictures(benchmark::State& state, bool fitted)
{
    const std::vector<TBitmap> list = pictures(true, 640, 480);
    TDrawGrid grid;
    grid.resize(338, 400);
    grid.setColCount(5);
    grid.setRowCount(pictureCount / 5 + 1);
    PictureThumbnails thumbnails;
    grid.onDrawCell = [&](int col, int row, const TRect& rect, unsigned, TCanvas& canvas) {
        const auto index = static_cast<std::size_t>(col + row * grid.colCount());
        if (index >= list.size()) return;
        if (fitted)
            thumbnails.drawFitted(canvas, rect, static_cast<int>(index), list[index]);
        else
            canvas.draw(rect.left + (65 - list[index].width()) / 2, rect.top + (65 - list[index].height()) / 2,
                        list[index]);
    };
    QImage target(grid.size(), QImage::Format_RGB32);
    // The thumbnails in sight are made on the first paint; later paints show them.
    grid.render(&target);
    while (thumbnails.pendingCount() > 0) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    for (auto _ : state) grid.render(&target);
    state.counters["thumbnails"] = thumbnails.madeCount();
}

void largePicturesAtOwnSize(benchmark::State& state) { paintLargePictures(state, false); }
void largePicturesFitted(benchmark::State& state) { paintLargePictures(state, true); }
BENCHMARK(largePicturesAtOwnSize)->Unit(benchmark::kMicrosecond);
BENCHMARK(largePicturesFitted)->Unit(benchmark::kMicrosecond);

// What fitting costs the first time: making the thumbnails of one screenful.
void makingThumbnailsOfAScreenful(benchmark::State& state)
{
    const std::vector<TBitmap> list = pictures(true, 640, 480);
    for (auto _ : state) {
        for (std::size_t i = 0; i < 30; ++i) benchmark::DoNotOptimize(fittedThumbnail(list[i], QSize(65, 65)));
    }
}
BENCHMARK(makingThumbnailsOfAScreenful)->Unit(benchmark::kMillisecond);

}  // namespace
