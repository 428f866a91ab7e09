// `trovelin-cli extract` as people run it, whole processes timed from start to exit on a
// generated archive: 1,000 panel files in 50 folders, 2 to 5 pictures each (a 640 x 480
// background at 8 or 24 bits, glyph strips of which most repeat across files).
// - against a shell loop of `harvest --out` per file, with the default threads and with -j 1;
// - against one `harvest --out` of the same pictures laid out flat below the 512 limit;
// - peak memory on that tree and on one ten times larger (the same files linked ten times);
// - the bytes written with --unique against without it;
// - the syncs of a run per batch of files made durable together (counted with strace);
// - `harvest --out` against `harvest` on 120 files of a 1024 x 768 background each.
// The archive lives in $TROVELIN_BENCH_DIR (default: the temporary folder) and is kept between
// runs and is made before anything is timed; each benchmark runs once, as a process run is too
// long to repeat. It belongs on the disk the pictures are meant for, not on tmpfs, where syncs
// cost nothing.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/BmpWriter.h"
#include "support/FileWriter.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"
#include "support/ShadedPanel.h"
#include "support/TimedProcess.h"

namespace {

using namespace trovelin::testing;
namespace fs = std::filesystem;

constexpr int folderCount = 50;
constexpr int filesPerFolder = 20;
constexpr int sharedGlyphs = 8;  // glyph strips common to the whole show

fs::path benchRoot()
{
    const char* chosen = std::getenv("TROVELIN_BENCH_DIR");
    return fs::path(chosen && *chosen ? chosen : fs::temp_directory_path().string()) / "trovelin-bench-extract";
}

std::vector<std::uint8_t> record(const std::string& className, const std::string& name, const char* property,
                                 const std::vector<std::uint8_t>& data)
{
    RecordWriter w;
    w.beginRecord(className, name).property(property).binary(data).end().end();
    return w.bytes();
}

// A designed background: soft gradients and a few panels, different for every file.
std::vector<std::uint8_t> background(int file)
{
    BmpContent bmp;
    bmp.width = 640;
    bmp.height = 480;
    if (file % 2 == 0) {
        bmp.bitsPerPixel = 8;
        for (int i = 0; i < 256; ++i)
            bmp.colorTable.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i / 2 + file % 64),
                                      static_cast<std::uint8_t>(255 - i), 0});
        bmp.value = [file](int x, int y) {
            const bool panel = (x / 80 + y / 60 + file) % 5 == 0;
            return static_cast<std::uint32_t>(panel ? 200 : (x / 3 + y / 4 + file) % 256);
        };
    } else {
        bmp.value = [file](int x, int y) {
            const bool panel = (x / 80 + y / 60 + file) % 5 == 0;
            if (panel) return 0x303840u;
            return static_cast<std::uint32_t>(((x / 3 + file) % 256) << 16 | ((y / 2) % 256) << 8 | ((x + y) / 5 % 256));
        };
    }
    return picturePayload("TBitmap", bitmapPayload(makeBmp(bmp)));
}

// A 64 x 16 strip of four 4-bit glyphs; the shared ones repeat across the archive.
std::vector<std::uint8_t> glyphStrip(int seed)
{
    BmpContent bmp;
    bmp.width = 64;
    bmp.height = 16;
    bmp.bitsPerPixel = 4;
    for (int i = 0; i < 16; ++i)
        bmp.colorTable.push_back({static_cast<std::uint8_t>(i * 16), static_cast<std::uint8_t>(seed * 37), static_cast<std::uint8_t>(255 - i * 16), 0});
    bmp.value = [seed](int x, int y) { return static_cast<std::uint32_t>((x * y + seed) % 16); };
    return bitmapPayload(makeBmp(bmp));
}

struct Archive {
    fs::path tree = benchRoot() / "tree";
    fs::path largeTree = benchRoot() / "tree-x10";
    fs::path flat = benchRoot() / "flat";  // the first files, up to 512 pictures, in one folder
    std::vector<fs::path> files;
    int flatPictures = 0;

    Archive()
    {
        const bool made = fs::exists(benchRoot() / "complete");
        std::vector<std::vector<std::uint8_t>> glyphs;
        for (int g = 0; g < sharedGlyphs; ++g) glyphs.push_back(glyphStrip(g));
        fs::create_directories(flat);
        int pictures = 0;
        for (int folder = 0; folder < folderCount; ++folder) {
            for (int i = 0; i < filesPerFolder; ++i) {
                const int file = folder * filesPerFolder + i;
                const fs::path path = tree / ("venue-" + std::to_string(folder)) / ("show-" + std::to_string(i) + ".kvr");
                files.push_back(path);
                const int glyphCount = 1 + file % 4;  // 2 to 5 pictures with the background
                if (!made) {
                    PanelFileContent content;
                    content.records.push_back(record("TImage", "Background", "Picture.Data", background(file)));
                    for (int g = 0; g < glyphCount; ++g) {
                        // One strip in five is the file's own.
                        const std::vector<std::uint8_t> strip = (file + g) % 5 == 0 ? glyphStrip(100 + file) : glyphs[(file + g) % sharedGlyphs];
                        content.records.push_back(record("TSpeedButton", "Button" + std::to_string(g), "Glyph.Data", strip));
                    }
                    fs::create_directories(path.parent_path());
                    writeFile(path.string(), writePanelFile(content));
                }
                if (pictures + glyphCount + 1 <= 512) {
                    pictures += glyphCount + 1;
                    flatPictures = pictures;
                    const fs::path flatName = flat / (std::to_string(folder) + "-" + std::to_string(i) + ".kvr");
                    if (!made) fs::create_hard_link(path, flatName);
                }
            }
        }
        if (made) return;
        for (int copy = 0; copy < 10; ++copy)
            for (const fs::path& path : files) {
                const fs::path link = largeTree / ("copy-" + std::to_string(copy)) / path.lexically_relative(tree);
                fs::create_directories(link.parent_path());
                fs::create_hard_link(path, link);
            }
        std::ofstream(benchRoot() / "complete") << "made\n";
    }
};

Archive& archive()
{
    static Archive made;
    return made;
}
std::uintmax_t bytesBelow(const fs::path& folder)
{
    std::uintmax_t bytes = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) bytes += entry.file_size();
    return bytes;
}

const std::string cli = TROVELIN_CLI;

fs::path freshOutput(const std::string& name)
{
    const fs::path output = benchRoot() / name;
    fs::remove_all(output);
    return output;
}

void report(benchmark::State& state, const ProcessRun& run, double files, double pictures)
{
    if (run.status != 0) state.SkipWithError("the command failed");
    state.SetIterationTime(run.seconds);
    state.counters["files_per_s"] = files / run.seconds;
    state.counters["ms_per_picture"] = run.seconds * 1000 / pictures;
    state.counters["peak_MiB"] = run.peakMiB;
}

constexpr double archivePictures = 1000 * 3.5;

void ExtractArchive(benchmark::State& state)
{
    const Archive& files = archive();
    const std::string jobs = state.range(0) == 0 ? "" : " -j " + std::to_string(state.range(0));
    for (auto _ : state) {
        const fs::path output = freshOutput("out-extract");
        const ProcessRun run = runProcess(cli + " extract -q" + jobs + " --out " + output.string() + " " + files.tree.string());
        report(state, run, 1000, archivePictures);
        state.counters["written_MiB"] = static_cast<double>(bytesBelow(output)) / (1 << 20);
    }
}
BENCHMARK(ExtractArchive)->Arg(0)->Arg(1)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// The way people do it today: one harvest process per file. A sample of the archive's files;
// the rate is per file.
void HarvestLoopPerFile(benchmark::State& state)
{
    const Archive& files = archive();
    constexpr int sample = 100;
    std::string list;
    for (int i = 0; i < sample; ++i) list += " " + files.files[static_cast<std::size_t>(i * 10)].string();
    for (auto _ : state) {
        const fs::path output = freshOutput("out-loop");
        const ProcessRun run = runProcess("n=0; for f in" + list + "; do n=$((n+1)); " + cli + " harvest -q --out " +
                                          output.string() + "/$n \"$f\" > /dev/null || exit 1; done");
        report(state, run, sample, sample * 3.5);
    }
}
BENCHMARK(HarvestLoopPerFile)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// The same pictures, one process each way: the archive's first files in one flat folder.
void FlatFolder(benchmark::State& state)
{
    const Archive& files = archive();
    const bool extract = state.range(0) == 1;
    for (auto _ : state) {
        const fs::path output = freshOutput("out-flat");
        const ProcessRun run = runProcess(cli + (extract ? " extract -q --out " : " harvest -q --out ") + output.string() +
                                          " " + files.flat.string() + " > /dev/null");
        report(state, run, static_cast<double>(std::distance(fs::directory_iterator(files.flat), {})), files.flatPictures);
    }
    state.SetLabel(extract ? "extract" : "harvest");
}
BENCHMARK(FlatFolder)->Arg(0)->Arg(1)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// Peak memory on the tree ten times larger (the 1,000-file figure is ExtractArchive's).
void ExtractLargeArchive(benchmark::State& state)
{
    const Archive& files = archive();
    for (auto _ : state) {
        const fs::path output = freshOutput("out-large");
        const ProcessRun run = runProcess(cli + " extract -q --out " + output.string() + " " + files.largeTree.string());
        report(state, run, 10000, 10 * archivePictures);
        fs::remove_all(output);
    }
}
BENCHMARK(ExtractLargeArchive)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void ExtractArchiveUnique(benchmark::State& state)
{
    const Archive& files = archive();
    for (auto _ : state) {
        const fs::path output = freshOutput("out-unique");
        const ProcessRun run =
            runProcess(cli + " extract -q --unique --out " + output.string() + " " + files.tree.string());
        report(state, run, 1000, archivePictures);
        state.counters["written_MiB"] = static_cast<double>(bytesBelow(output)) / (1 << 20);
    }
}
BENCHMARK(ExtractArchiveUnique)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// The syncs of one extract against its batches, read from an strace log of the calls in the
// order made: a batch is one run of renames, between the sync of its files and that of their names.
void SyncsPerBatch(benchmark::State& state)
{
    const Archive& files = archive();
    const fs::path log = benchRoot() / "strace.log";
    for (auto _ : state) {
        const fs::path output = freshOutput("out-syncs");
        const ProcessRun run = runProcess("strace -f -qq -e trace=fsync,fdatasync,syncfs,rename -o " + log.string() +
                                          " " + cli + " extract -q --out " + output.string() + " " +
                                          files.tree.string());
        state.SetIterationTime(run.seconds);
        if (run.status != 0) state.SkipWithError("the command failed (is strace installed?)");
        std::ifstream calls(log);
        int syncs = 0;
        int batches = 0;
        bool renaming = false;
        for (std::string line; std::getline(calls, line);) {
            if (line.find("rename(") != std::string::npos) {
                batches += renaming ? 0 : 1;
                renaming = true;
            } else if (line.find("sync") != std::string::npos && line.find("resumed") == std::string::npos) {
                ++syncs;
                renaming = false;
            }
        }
        state.counters["syncs"] = syncs;
        state.counters["batches"] = batches;
        state.counters["syncs_per_batch"] = batches ? static_cast<double>(syncs) / batches : 0;
    }
}
BENCHMARK(SyncsPerBatch)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// 120 panel files, each with a 1024 x 768 24-bit background of its own.
fs::path largePictures()
{
    const fs::path folder = benchRoot() / "large-pictures";
    if (fs::exists(folder / "complete")) return folder;
    fs::create_directories(folder);
    for (int i = 0; i < 120; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "panel-%03d.kvr", i);
        writeFile((folder / name).string(), shadedBackgroundPanel(i));
    }
    std::ofstream(folder / "complete") << "made\n";
    return folder;
}

// `harvest --out` against `harvest` of the same files, whole processes, the best of three each,
// taken in turns so that a load on the machine weighs on both alike.
void HarvestOutAgainstHarvest(benchmark::State& state)
{
    const fs::path folder = largePictures();
    const std::string files = (folder / "*.kvr").string();
    for (auto _ : state) {
        double plain = 1e9;
        double toPng = 1e9;
        double total = 0;
        for (int turn = 0; turn < 3; ++turn) {
            const ProcessRun harvest = runProcess(cli + " harvest -q " + files + " > /dev/null");
            const fs::path output = freshOutput("out-large-pictures");
            const ProcessRun harvestOut = runProcess(cli + " harvest -q --out " + output.string() + " " + files + " > /dev/null");
            if (harvest.status != 0 || harvestOut.status != 0) state.SkipWithError("the command failed");
            plain = std::min(plain, harvest.seconds);
            toPng = std::min(toPng, harvestOut.seconds);
            total += harvest.seconds + harvestOut.seconds;
        }
        state.SetIterationTime(total);
        state.counters["harvest_s"] = plain;
        state.counters["harvest_out_s"] = toPng;
        state.counters["out_over_plain"] = toPng / plain;
    }
}
BENCHMARK(HarvestOutAgainstHarvest)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
