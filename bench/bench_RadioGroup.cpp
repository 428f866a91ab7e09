// A radio group of n lines: building its n buttons, painting the group with them, and destroying
// them again, each of which should take time in proportion to n.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include <QImage>

#include "framework/PaintBuffer.h"
#include "framework/PaintTree.h"
#include "framework/WinControl.h"
#include "skin/Wradiogroup.h"

namespace {

using namespace trovelin;

std::vector<std::string> lines(std::int64_t count)
{
    std::vector<std::string> all;
    for (std::int64_t i = 0; i < count; ++i) all.push_back("Line " + std::to_string(i));
    return all;
}

void buildAndDestroy(benchmark::State& state)
{
    const std::vector<std::string> items = lines(state.range(0));
    TWinControl form(nullptr);
    TWRadioGroup group(nullptr);
    group.setParent(&form);
    for (auto _ : state) {
        group.setItems(items);
        group.setItems({});
    }
    state.SetComplexityN(state.range(0));
}

void paintWithButtons(benchmark::State& state)
{
    TWinControl form(nullptr);
    TWRadioGroup group(nullptr);
    group.setParent(&form);
    group.setItems(lines(state.range(0)));
    QImage image(group.width(), group.height(), QImage::Format_RGB32);
    PaintBufferBudget budget;
    for (auto _ : state) {
        paintControlTree(image, group, budget);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(buildAndDestroy)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(paintWithButtons)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity()->Unit(benchmark::kMillisecond);
