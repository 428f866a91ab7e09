// The picture preview of a 1920 x 1080 picture against a plain QPainter::drawImage of the same
// pixels into a target of the same size: opening the preview (conversion and first paint), a
// repaint at 100% with nothing changed, a repaint at 400% (sharp squares, only the part in sight),
// a repaint fitted into a quarter of the size, and a zoom step with its paint. A 24-bit picture
// is converted once when it is shown, so its repaints cost what a 32-bit picture's do, while
// drawing it plainly converts every time.

#include <benchmark/benchmark.h>

#include <memory>

#include <QImage>
#include <QPainter>

#include "app/PicturePreview.h"
#include "app/PreviewView.h"
#include "framework/BitmapImage.h"
#include "panelfile/PictureList.h"
#include "streaming/Bitmap.h"
#include "streaming/DibImage.h"

namespace {

using namespace trovelin;

constexpr int width = 1920;
constexpr int height = 1080;

TBitmap picture(int bitsPerPixel)
{
    auto image = std::make_shared<DibImage>(width, height, bitsPerPixel);
    for (std::size_t b = 0; b < image->byteCount(); ++b) image->bits()[b] = static_cast<std::uint8_t>(b * 7 + b / 4099);
    if (bitsPerPixel == 32) image->makeHighBytesOpaque();
    TBitmap bitmap;
    bitmap.setImage(std::move(image));
    return bitmap;
}

void plainDrawImage(benchmark::State& state)
{
    const QImage image = toDrawableImage(picture(static_cast<int>(state.range(0))));
    QImage target(width, height, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.drawImage(0, 0, image);
    }
}
BENCHMARK(plainDrawImage)->Arg(32)->Arg(24)->Unit(benchmark::kMicrosecond)->UseRealTime();

void openPreview(benchmark::State& state)
{
    PictureList pictures;
    pictures.append(picture(static_cast<int>(state.range(0))));
    QImage target(width, height, QImage::Format_RGB32);
    for (auto _ : state) {
        PicturePreview preview(pictures);
        preview.showPicture(0);
        preview.show();
        preview.view().resize(width, height);
        preview.view().viewport()->render(&target);
    }
}
BENCHMARK(openPreview)->Arg(32)->Arg(24)->Unit(benchmark::kMicrosecond)->UseRealTime();

// (bits per pixel, zoom in percent; 0 fits the picture into a window of half the width and height)
void repaint(benchmark::State& state)
{
    PreviewView view;
    const bool fit = state.range(1) == 0;
    view.show();  // a hidden widget lays its viewport out only when shown
    view.resize(fit ? QSize(width / 2, height / 2) : QSize(width, height));
    view.setImage(toDrawableImage(picture(static_cast<int>(state.range(0)))), false);
    if (fit) view.setFitToWindow(true);
    else view.setZoom(state.range(1) / 100.0);
    QImage target(view.viewport()->size(), QImage::Format_RGB32);
    view.viewport()->render(&target);
    state.counters["viewport"] = view.viewport()->width() * 10000.0 + view.viewport()->height();
    for (auto _ : state) view.viewport()->render(&target);
}
BENCHMARK(repaint)->Args({32, 100})->Args({24, 100})->Args({32, 400})->Args({32, 0})->Unit(benchmark::kMicrosecond)->UseRealTime();

void zoomStepAndPaint(benchmark::State& state)
{
    PreviewView view;
    view.show();
    view.resize(width, height);
    view.setImage(toDrawableImage(picture(32)), false);
    QImage target(view.viewport()->size(), QImage::Format_RGB32);
    bool in = true;
    for (auto _ : state) {
        if (in) view.zoomIn();
        else view.zoomOut();
        in = !in;
        view.viewport()->render(&target);
    }
}
BENCHMARK(zoomStepAndPaint)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
