// Drawing the colour mixer's 136-pixel disc, the default size: from the per-pixel table that is
// built once per size, against computing every pixel's arc cosine again; the table's building;
// and a full paint of the default control.

#include <benchmark/benchmark.h>

#include <QImage>

#include "framework/Canvas.h"
#include "framework/WinControl.h"
#include "panelctl/Cmy.h"
#include "panelctl/CmyDisc.h"
#include "panelctl/CmyGeometry.h"

namespace {

using namespace trovelin;

constexpr int side = 136;

void discFromTable(benchmark::State& state)
{
    CmyDisc disc;
    disc.resize(side);
    QImage bitmap(side, side, QImage::Format_RGB32);
    for (auto _ : state) {
        disc.paint(bitmap);
        benchmark::DoNotOptimize(bitmap.constBits());
    }
}

void discComputedPerPixel(benchmark::State& state)
{
    QImage bitmap(side, side, QImage::Format_RGB32);
    for (auto _ : state) {
        for (int y = 0; y < side; ++y) {
            auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
            for (int x = 0; x < side; ++x) {
                const std::uint32_t c = cmyDiscPixel(x, y, side);
                line[x] = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
            }
        }
        benchmark::DoNotOptimize(bitmap.constBits());
    }
}

void discTableBuilt(benchmark::State& state)
{
    for (auto _ : state) {
        CmyDisc disc;
        disc.resize(side);
        benchmark::DoNotOptimize(disc.side());
    }
}

void defaultMixerPainted(benchmark::State& state)
{
    TWinControl panel{nullptr};
    TCMY mixer{nullptr};
    mixer.setParent(&panel);
    mixer.SetCyan(200);
    QImage target(mixer.width(), mixer.height(), QImage::Format_RGB32);
    for (auto _ : state) {
        TCanvas canvas(target);
        mixer.paint(canvas);
    }
}

BENCHMARK(discFromTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(discComputedPerPixel)->Unit(benchmark::kMicrosecond);
BENCHMARK(discTableBuilt)->Unit(benchmark::kMicrosecond);
BENCHMARK(defaultMixerPainted)->Unit(benchmark::kMicrosecond);

}  // namespace
