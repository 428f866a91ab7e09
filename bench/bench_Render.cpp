// `trovelin-cli render` of a hostile panel file against render of the sample panels. The hostile
// file (about 12 KB) holds 200 faders, knobs, XY fields, buttons, labels and group boxes, each
// declared 2^31 - 1 pixels wide and high: its render must cost what the image shows, not what the
// records declare (the goal: under a second, and under 256 MiB of peak memory for the whole
// process). Each run writes its PNG, as the command does, and reports the image's size and the
// process's peak resident memory over the runs.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "support/ResidentMemory.h"
#include "cli/Render.h"
#include "gallery/PanelRender.h"
#include "support/FileWriter.h"
#include "support/SamplePanels.h"

namespace {

using namespace trovelin;
using namespace trovelin::bench;
namespace fs = std::filesystem;

const fs::path folder = fs::temp_directory_path() / ("trovelin-bench-render-" + std::to_string(::getpid()));

void renderFile(benchmark::State& state, const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    fs::create_directories(folder);
    const std::string panel = (folder / name).string();
    testing::writeFile(panel, bytes);
    const std::string png = panel + ".png";
    resetPeakResident();
    for (auto _ : state) {
        std::ostringstream errors;
        cli::renderPanelToFile(panel, png, errors);
    }
    const RenderedPanel rendered = renderPanel(panel);
    state.counters["width"] = rendered.image.width();
    state.counters["height"] = rendered.image.height();
    state.counters["peak_MiB"] = static_cast<double>(residentKiB("VmHWM")) / 1024;
    state.SetLabel(name);
    fs::remove_all(folder);
}

void RenderSamples(benchmark::State& state)
{
    const auto panel = testing::samplePanels().at(static_cast<std::size_t>(state.range(0)));
    renderFile(state, panel.fileName, panel.bytes);
}
BENCHMARK(RenderSamples)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

void RenderHugeControls(benchmark::State& state)
{
    renderFile(state, "huge-controls.kvr", testing::hugeControlsPanel(200));
}
BENCHMARK(RenderHugeControls)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
