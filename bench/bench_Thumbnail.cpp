// `trovelin-cli thumbnail` as the desktop's thumbnail service runs it: one whole process per
// panel file, start-up included, for each sample panel. The goal: under 0.5 s for every sample.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/FileWriter.h"
#include "support/SamplePanels.h"

extern char** environ;

namespace {

using namespace trovelin;
namespace fs = std::filesystem;

const fs::path folder = fs::temp_directory_path() / ("trovelin-bench-thumbnail-" + std::to_string(::getpid()));

// The exit status of `trovelin-cli thumbnail -s 128 panel png`; -1 when it did not run.
int runThumbnail(const std::string& panel, const std::string& png)
{
    const std::string program = TROVELIN_CLI;
    std::string command = "thumbnail", option = "-s", size = "128", input = panel, output = png;
    std::string name = program;
    char* arguments[] = {name.data(), command.data(), option.data(), size.data(), input.data(), output.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments, environ) != 0) return -1;
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ThumbnailSamples(benchmark::State& state)
{
    const auto panel = testing::samplePanels().at(static_cast<std::size_t>(state.range(0)));
    fs::create_directories(folder);
    const std::string input = (folder / panel.fileName).string();
    testing::writeFile(input, panel.bytes);
    for (auto _ : state)
        if (runThumbnail(input, input + ".png") != 0) state.SkipWithError("trovelin-cli thumbnail failed");
    state.SetLabel(panel.fileName);
    fs::remove_all(folder);
}
BENCHMARK(ThumbnailSamples)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
