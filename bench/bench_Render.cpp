// `trovelin-cli render` of a hostile panel file against render of the sample panels. The hostile
// file (about 12 KB) holds 200 faders, knobs, XY fields, buttons, labels and group boxes, each
// declared 2^31 - 1 pixels wide and high: its render must cost what the image shows, not what the
// records declare (the goal: under a second, and under 256 MiB of peak memory for the whole
// process). Each run writes its PNG, as the command does, and reports the image's size and the
// process's peak resident memory over the runs.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/Render.h"
#include "gallery/PanelRender.h"
#include "support/FileWriter.h"
#include "support/SamplePanels.h"

namespace {

using namespace trovelin;
namespace fs = std::filesystem;

// A field of /proc/self/status in KiB: "VmRSS" (now) or "VmHWM" (the peak).
std::int64_t residentKiB(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0) return std::stoll(line.substr(field.size() + 1));
    return 0;
}

// Lets the next peak start from what the process holds now.
void resetPeakResident()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

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
