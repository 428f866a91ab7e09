// A full paint of the widget gallery's form (every skinned widget and panel control) against
// the same form with every widget hidden (the floor: the form's own face), and each widget's
// share, named by its argument: the widget's index in the form, the most expensive first in the
// report's order of cost.

#include <benchmark/benchmark.h>

#include <QImage>

#include "framework/PaintBuffer.h"
#include "framework/PaintTree.h"
#include "gallery/GalleryForm.h"

namespace {

using namespace trovelin;

void paintAll(benchmark::State& state)
{
    const auto form = buildGalleryForm();
    QImage image(form->width(), form->height(), QImage::Format_RGB32);
    PaintBufferBudget budget;
    for (auto _ : state) {
        paintControlTree(image, *form, budget);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void paintFloor(benchmark::State& state)
{
    const auto form = buildGalleryForm();
    for (TControl* child : form->controls()) child->setVisible(false);
    QImage image(form->width(), form->height(), QImage::Format_RGB32);
    PaintBufferBudget budget;
    for (auto _ : state) {
        paintControlTree(image, *form, budget);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// One widget of the form alone, painted where it sits.
void paintOne(benchmark::State& state)
{
    const auto form = buildGalleryForm();
    TControl& widget = *form->controls().at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(widget.name());
    QImage image(form->width(), form->height(), QImage::Format_RGB32);
    PaintBufferBudget budget;
    for (auto _ : state) {
        paintControlTree(image, widget, budget, {widget.left(), widget.top()});
        benchmark::DoNotOptimize(image.constBits());
    }
}

void everyWidget(benchmark::internal::Benchmark* benchmark)
{
    const auto count = static_cast<int>(buildGalleryForm()->controls().size());
    for (int i = 0; i < count; ++i) benchmark->Arg(i);
}

}  // namespace

BENCHMARK(paintAll)->Unit(benchmark::kMicrosecond);
BENCHMARK(paintFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(paintOne)->Apply(everyWidget)->Unit(benchmark::kMicrosecond);
