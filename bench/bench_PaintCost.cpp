// What a hostile panel costs `trovelin-cli render` and `thumbnail -s 256`, each run as a child
// process and measured by the kernel (CPU time and peak resident memory, from wait4). The panels
// hold as many controls as fit in 64 KB, of one class of the loader's table (the first argument:
// its index) or of all classes in turn (the last index), each declared 2^31 - 1 pixels a side or
// of a size about the limits, or of the window's size stacked on one another (the second
// argument). The goal for any panel file of at most 64 KB: under 0.5 s of CPU and under 128 MiB
// at peak. TROVELIN_CLI in the environment measures another build of the command (one from before
// a change, say).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/ChildCost.h"
#include "support/FileWriter.h"
#include "support/SamplePanels.h"

namespace {

using namespace trovelin;
namespace fs = std::filesystem;

const fs::path folder = fs::temp_directory_path() / ("trovelin-bench-cost-" + std::to_string(::getpid()));
constexpr std::int32_t huge = 2147483647;

std::string cli()
{
    const char* other = std::getenv("TROVELIN_CLI");
    return other != nullptr && *other != '\0' ? other : TROVELIN_CLI;
}

// The sides of the second argument: the largest, about the ellipse rasteriser's extent, and the
// window's with every control at the top left.
struct Layout {
    std::int32_t side;
    bool stacked;
};
constexpr Layout layouts[] = {{huge, false}, {1025, false}, {4097, false}, {800, true}};

// The panel of the arguments' class and layout; its label names them.
std::string hostilePanel(benchmark::State& state)
{
    const std::vector<std::string_view> classes = testing::loaderClassNames();
    const auto index = static_cast<std::size_t>(state.range(0));
    const Layout layout = layouts[static_cast<std::size_t>(state.range(1))];
    const bool mixed = index >= classes.size();
    const std::string name = mixed ? std::string("mixed") : std::string(classes[index]);
    fs::create_directories(folder);
    const std::string file = (folder / (name + ".kvr")).string();
    testing::writeFile(file, testing::largestSizedControlsPanel(mixed ? classes : std::vector{classes[index]},
                                                                layout.side, layout.stacked));
    state.SetLabel(name + " " + std::to_string(layout.side) + (layout.stacked ? " stacked" : ""));
    return file;
}

void measure(benchmark::State& state, const std::vector<std::string>& arguments)
{
    double cpu = 0, peak = 0;
    int failed = 0;
    for (auto _ : state) {
        const testing::ChildCost cost = testing::runMeasured(cli(), arguments);
        cpu = std::max(cpu, cost.cpuSeconds);
        peak = std::max(peak, static_cast<double>(cost.peakKiB) / 1024);
        failed += cost.status != 0;
    }
    state.counters["cpu_s"] = cpu;
    state.counters["peak_MiB"] = peak;
    state.counters["failed"] = failed;
    fs::remove_all(folder);
}

void Render(benchmark::State& state)
{
    const std::string panel = hostilePanel(state);
    measure(state, {"render", panel, "--out", panel + ".png"});
}
BENCHMARK(Render)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 10, 1), {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

void Thumbnail(benchmark::State& state)
{
    const std::string panel = hostilePanel(state);
    measure(state, {"thumbnail", "-s", "256", panel, panel + ".png"});
}
BENCHMARK(Thumbnail)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 10, 1), {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
