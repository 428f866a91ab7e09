// The Python package as people run it, whole processes timed from start to exit:
// - every picture of 120 panel files of 1024 x 768 read into NumPy arrays (one at a time, and
//   all kept), against
//   `trovelin-cli harvest` loading the same files; the interpreter's start (with and without
//   importing trovelin) is timed on its own, so that it can be taken out of the comparison;
// - trovelin.dask.extract on a local cluster of 2 worker processes, against
//   `trovelin-cli extract -j 2`, on a tree of 400 files of 640 x 480 (the cluster's start is
//   inside the figure, as a script pays it).
// The archives live in $TROVELIN_BENCH_DIR (default: the temporary folder), kept between runs.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/TimedProcess.h"

namespace {

using namespace trovelin::testing;
namespace fs = std::filesystem;

const std::string cli = TROVELIN_CLI;
const std::string python = std::string("PYTHONPATH=") + TROVELIN_PYTHON_PATH + " " + TROVELIN_PYTHON;

fs::path benchRoot()
{
    const char* chosen = std::getenv("TROVELIN_BENCH_DIR");
    return fs::path(chosen && *chosen ? chosen : fs::temp_directory_path().string()) / "trovelin-bench-python";
}

// FOLDERS x FILES panel files of WIDTH x HEIGHT below the bench folder, made once.
fs::path archive(const std::string& name, int folders, int files, int width, int height)
{
    const fs::path root = benchRoot() / name;
    if (!fs::exists(root / "complete")) {
        fs::remove_all(root);
        const std::string make = std::string(TROVELIN_MAKE_ARCHIVE) + " " + root.string() + " " + std::to_string(folders) +
                                 " " + std::to_string(files) + " " + std::to_string(width) + " " + std::to_string(height);
        if (runProcess(make).status != 0) return {};
        fs::create_directories(root / "complete");
    }
    return root;
}

fs::path largeFiles() { return archive("large-120", 1, 120, 1024, 768) / "venue-0"; }
fs::path tree() { return archive("tree-400", 4, 100, 640, 480); }

void report(benchmark::State& state, const ProcessRun& run)
{
    if (run.status != 0) state.SkipWithError("the command failed");
    state.SetIterationTime(run.seconds);
    state.counters["peak_MiB"] = run.peakMiB;
}

void InterpreterStart(benchmark::State& state)
{
    const bool importing = state.range(0) == 1;
    for (auto _ : state) report(state, runProcess(python + (importing ? " -c 'import trovelin'" : " -c pass")));
    state.SetLabel(importing ? "python3 -c 'import trovelin'" : "python3 -c pass");
}
BENCHMARK(InterpreterStart)->Arg(0)->Arg(1)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// Each array handed to a step that takes its pixels (a sum), as a script that goes through an
// archive does; or all of them kept at once, which costs the memory of 4 bytes a pixel.
void PicturesIntoNumpy(benchmark::State& state)
{
    const fs::path files = largeFiles();
    const bool keepAll = state.range(0) == 1;
    const std::string script =
        keepAll ? "import sys, trovelin; "
                  "arrays = [p.to_numpy() for f in sorted(sys.argv[1:]) for p in trovelin.open(f).pictures]"
                : "import sys, trovelin; "
                  "total = sum(int(p.to_numpy()[0, 0, 0]) for f in sorted(sys.argv[1:]) for p in trovelin.open(f).pictures)";
    for (auto _ : state) report(state, runProcess(python + " -c '" + script + "' " + files.string() + "/*.kvr"));
    state.SetLabel(keepAll ? "120 files of 1024 x 768, every array kept" : "120 files of 1024 x 768, one array at a time");
}
BENCHMARK(PicturesIntoNumpy)->Arg(0)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void HarvestCli(benchmark::State& state)
{
    const fs::path files = largeFiles();
    for (auto _ : state) report(state, runProcess(cli + " harvest -q " + files.string() + " > /dev/null"));
    state.SetLabel("120 files of 1024 x 768");
}
BENCHMARK(HarvestCli)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void ExtractOnDask(benchmark::State& state)
{
    const fs::path root = tree();
    const fs::path out = benchRoot() / "out-dask";
    const std::string script = "import sys, trovelin.dask; "
                               "sys.exit(0 if trovelin.dask.extract([sys.argv[1]], sys.argv[2]).ok else 1)";
    for (auto _ : state) {
        fs::remove_all(out);
        report(state, runProcess(python + " -c '" + script + "' " + root.string() + " " + out.string() + " 2>/dev/null"));
    }
    state.SetLabel("400 files, 2 local worker processes");
}
BENCHMARK(ExtractOnDask)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

void ExtractCli(benchmark::State& state)
{
    const fs::path root = tree();
    const fs::path out = benchRoot() / "out-cli";
    for (auto _ : state) {
        fs::remove_all(out);
        report(state, runProcess(cli + " extract -q -j 2 --out " + out.string() + " " + root.string()));
    }
    state.SetLabel("400 files, -j 2");
}
BENCHMARK(ExtractCli)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
