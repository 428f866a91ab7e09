// The folder walk on a folder of 200 panel files, about 300 MB, from the page cache: harvest
// throughput against reading the same bytes with plain read calls, and the walk's peak memory
// against the pictures it keeps. Then the picture files: on 120 panel files with 1024 x 768
// 24-bit backgrounds, the harvest alone, the harvest writing PNG files, and writing the same
// pixels as raw bytes.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <filesystem>
#include <sstream>
#include <string>

#include "support/ResidentMemory.h"
#include "cli/Harvest.h"
#include "framework/PngWriter.h"
#include "panelfile/RecordingLoaderHost.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/Loader.h"
#include "panelfile/PictureList.h"
#include "support/BmpWriter.h"
#include "support/FileWriter.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"
#include "support/SamplePanels.h"
#include "support/ShadedPanel.h"
#include "streaming/Errors.h"

namespace {

using namespace trovelin;
using namespace trovelin::bench;
using namespace trovelin::testing;
namespace fs = std::filesystem;

constexpr int fileCount = 200;
constexpr int largeEvery = 5;  // every fifth file has a 1920 x 1080 background

struct Folder {
    fs::path path = fs::temp_directory_path() / ("trovelin-bench-harvest-" + std::to_string(::getpid()));
    std::vector<std::string> files;
    std::int64_t bytes = 0;

    Folder()
    {
        fs::create_directories(path);
        const auto large = background(1920, 1080);
        const auto small = background(320, 200);
        RecordWriter button;
        button.beginRecord("TSpeedButton", "Button1")
            .property("Glyph.Data")
            .binary(bitmapPayload(makeBmp24(64, 16, [](int x, int y) { return static_cast<std::uint32_t>(x * y); })))
            .property("NumGlyphs")
            .integer(4)
            .end()
            .end();
        for (int i = 0; i < fileCount; ++i) {
            PanelFileContent content;
            content.title = "Bench " + std::to_string(i);
            content.records = {i % largeEvery == 0 ? large : small, button.bytes()};
            // Filler records of a class the loader skips bring the small files to about 300 kB.
            for (int k = 0; k < 4 && i % largeEvery != 0; ++k) content.records.push_back(filler(k));
            char name[32];
            std::snprintf(name, sizeof name, "panel-%03d.kvr", i);
            const auto bytes = writePanelFile(content);
            writeFile((path / name).string(), bytes);
            files.push_back((path / name).string());
            this->bytes += static_cast<std::int64_t>(bytes.size());
        }
    }
    ~Folder() { fs::remove_all(path); }

    static std::vector<std::uint8_t> background(int width, int height)
    {
        RecordWriter w;
        w.beginRecord("TImage", "Background");
        w.property("Picture.Data").binary(picturePayload("TBitmap", bitmapPayload(makeBmp24(width, height, [](int x, int y) {
            return static_cast<std::uint32_t>((x << 12) ^ (y << 4));
        }))));
        w.end().end();
        return w.bytes();
    }
    static std::vector<std::uint8_t> filler(int k)
    {
        RecordWriter w;
        w.beginRecord("TPanel", "Filler" + std::to_string(k));
        w.property("Data").binary(std::vector<std::uint8_t>(40000, static_cast<std::uint8_t>(k)));
        w.end().end();
        return w.bytes();
    }
};

Folder& folder()
{
    static Folder made;
    return made;
}

void HarvestFolder(benchmark::State& state)
{
    const Folder& files = folder();
    RecordingLoaderHost window;
    std::int64_t peakGrowthKiB = 0;
    std::int64_t keptPixelBytes = 0;
    for (auto _ : state) {
        pictureList().clear();
        state.PauseTiming();
        resetPeakResident();
        const std::int64_t before = residentKiB("VmRSS");
        state.ResumeTiming();
        PanelLoader loader(window, pictureList(), panelLoaderClasses());
        for (std::size_t i = 0; i < files.files.size(); ++i)
            if (!loader.LoadForm(files.files[i], i == 0)) break;
        state.PauseTiming();
        peakGrowthKiB = std::max(peakGrowthKiB, residentKiB("VmHWM") - before);
        keptPixelBytes = 0;
        for (int p = 0; p < pictureList().count(); ++p)
            if (!pictureList().at(p).empty()) keptPixelBytes += static_cast<std::int64_t>(pictureList().at(p).image()->byteCount());
        state.ResumeTiming();
    }
    pictureList().clear();
    state.SetBytesProcessed(state.iterations() * files.bytes);
    state.counters["pictures_MiB"] = static_cast<double>(keptPixelBytes) / (1 << 20);
    state.counters["peak_growth_MiB"] = static_cast<double>(peakGrowthKiB) / 1024;
    state.counters["bound_MiB"] = static_cast<double>(keptPixelBytes) / (1 << 20) + 64;
}
BENCHMARK(HarvestFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor under any harvest of this folder: fresh memory for the pictures it keeps, filled
// once. The first touch of each page costs the kernel a fault and a page of zeros.
void FillFreshPictureMemory(benchmark::State& state)
{
    std::vector<std::size_t> sizes;
    for (int i = 0; i < fileCount; ++i) {
        sizes.push_back(i % largeEvery == 0 ? 5760 * 1080 : 960 * 200);  // the background's rows
        sizes.push_back(192 * 16);                                         // the glyph strip's
    }
    const std::vector<std::uint8_t> source(sizes.front(), 1);
    for (auto _ : state) {
        std::vector<std::unique_ptr<std::uint8_t[]>> kept;
        for (std::size_t size : sizes) {
            kept.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(size));
            std::memcpy(kept.back().get(), source.data(), size);
        }
        benchmark::DoNotOptimize(kept.back().get());
    }
}
BENCHMARK(FillFreshPictureMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

void PlainReadFolder(benchmark::State& state)
{
    const Folder& files = folder();
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        for (const std::string& file : files.files) {
            const int descriptor = ::open(file.c_str(), O_RDONLY);
            while (::read(descriptor, buffer.data(), buffer.size()) > 0) {
            }
            ::close(descriptor);
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * files.bytes);
}
BENCHMARK(PlainReadFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 60 KB file whose 512 glyphs declare 8000 x 8000 pixels at 32 bits and hold none: the load
// stops at the default budget with "Out of memory", having touched next to nothing.
void LoadDeclaredOnlyGlyphs(benchmark::State& state)
{
    const fs::path path = fs::temp_directory_path() / ("trovelin-declared-" + std::to_string(::getpid()) + ".kvr");
    writeFile(path.string(), declaredOnlyGlyphsPanel(512));
    RecordingLoaderHost window;
    std::int64_t peakGrowthKiB = 0;
    int kept = 0;
    for (auto _ : state) {
        state.PauseTiming();
        pictureList().clear();
        resetPeakResident();
        const std::int64_t before = residentKiB("VmRSS");
        state.ResumeTiming();
        PanelLoader loader(window, pictureList(), panelLoaderClasses());
        try {
            loader.LoadForm(path.string(), true);
        } catch (const Exception&) {
        }
        state.PauseTiming();
        peakGrowthKiB = std::max(peakGrowthKiB, residentKiB("VmHWM") - before);
        kept = pictureList().count();
        state.ResumeTiming();
    }
    pictureList().clear();
    fs::remove(path);
    state.counters["pictures_kept"] = kept;
    state.counters["budget_MiB"] = static_cast<double>(pictureList().pixelBudget().limit()) / (1 << 20);
    state.counters["peak_growth_MiB"] = static_cast<double>(peakGrowthKiB) / 1024;
}
BENCHMARK(LoadDeclaredOnlyGlyphs)->Unit(benchmark::kMillisecond)->UseRealTime();

// 120 panel files, each with a 1024 x 768 24-bit background of its own.
struct PictureFolder {
    static constexpr int count = 120;
    fs::path path = fs::temp_directory_path() / ("trovelin-bench-pictures-" + std::to_string(::getpid()));
    fs::path output = path / "out";

    PictureFolder()
    {
        fs::create_directories(path);
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "panel-%03d.kvr", i);
            writeFile((path / name).string(), shadedBackgroundPanel(i));
        }
    }
    ~PictureFolder() { fs::remove_all(path); }
};

PictureFolder& pictureFolder()
{
    static PictureFolder made;
    return made;
}

void harvestPictures(const std::string& outputFolder)
{
    cli::HarvestOptions options;
    options.paths = {pictureFolder().path.string()};
    options.outputFolder = outputFolder;
    options.quiet = true;
    std::ostringstream table;
    if (cli::harvest(options, table, table) != 0) throw std::runtime_error(table.str());
}

// The folder is made before the clock starts: its 120 files take as long to write as a harvest.
void HarvestPictures(benchmark::State& state)
{
    pictureFolder();
    for (auto _ : state) harvestPictures("");
}
BENCHMARK(HarvestPictures)->Unit(benchmark::kMillisecond)->UseRealTime();

void HarvestPicturesToPng(benchmark::State& state)
{
    const std::string output = pictureFolder().output.string();
    for (auto _ : state) harvestPictures(output);
    std::uintmax_t bytes = 0;
    for (const fs::directory_entry& file : fs::directory_iterator(pictureFolder().output)) bytes += file.file_size();
    state.counters["png_MiB"] = static_cast<double>(bytes) / (1 << 20);
}
BENCHMARK(HarvestPicturesToPng)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor under any picture output: the harvest's pixels written to files as they are.
void WritePicturePixelsRaw(benchmark::State& state)
{
    const PictureFolder& folder = pictureFolder();
    RecordingLoaderHost window;
    PictureList pictures;
    PanelLoader loader(window, pictures, panelLoaderClasses());
    for (const std::string& file : cli::expandPanelPaths({folder.path.string()})) loader.LoadForm(file, false);
    fs::create_directories(folder.output);
    for (auto _ : state) {
        for (int i = 0; i < pictures.count(); ++i) {
            const DibImage& image = *pictures.at(i).image();
            const std::string name = (folder.output / (std::to_string(i) + ".raw")).string();
            const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (::write(descriptor, image.bits(), image.byteCount()) != static_cast<ssize_t>(image.byteCount()))
                state.SkipWithError("short write");
            ::close(descriptor);
        }
    }
    for (int i = 0; i < pictures.count(); ++i) fs::remove(folder.output / (std::to_string(i) + ".raw"));
}
BENCHMARK(WritePicturePixelsRaw)->Unit(benchmark::kMillisecond)->UseRealTime();

// One picture's share of the PNG output, on one core.
void EncodeOnePng(benchmark::State& state)
{
    const PictureFolder& folder = pictureFolder();
    RecordingLoaderHost window;
    PictureList pictures;
    PanelLoader loader(window, pictures, panelLoaderClasses());
    loader.LoadForm(cli::expandPanelPaths({folder.path.string()}).front(), false);
    PngEncoder encoder;
    for (auto _ : state) benchmark::DoNotOptimize(encoder.encode(*pictures.at(0).image()));
}
BENCHMARK(EncodeOnePng)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
