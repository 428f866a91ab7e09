// The main window's reaction time while it loads a folder of 200 panel files, about 300 MB: the
// longest gap between two turns of its event loop, with the load on a worker, against the time
// the same folder took to load on the GUI thread, where the whole load is one gap. On a busy
// machine the gaps also hold time the GUI thread waited for a processor, so the GUI thread's own
// processor time between two turns is counted beside them.

#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "app/Trovelinc.h"
#include "panelfile/PictureList.h"
#include "platform/PosixFileSystem.h"
#include "support/BmpWriter.h"
#include "support/FileWriter.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"

namespace {

using namespace trovelin;
using namespace trovelin::testing;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int fileCount = 200;
constexpr int largeEvery = 5;  // every fifth file has a 1920 x 1080 background

class NoShell : public ShellInfo {
public:
    ShellFileInfo fileInfo(const std::string& path) override { return {-1, path, "File"}; }
};

std::vector<std::uint8_t> background(int width, int height)
{
    RecordWriter w;
    w.beginRecord("TImage", "Background");
    w.property("Picture.Data").binary(picturePayload("TBitmap", bitmapPayload(makeBmp24(width, height, [](int x, int y) {
        return static_cast<std::uint32_t>((x << 12) ^ (y << 4));
    }))));
    w.end().end();
    return w.bytes();
}

struct Folder {
    fs::path path = fs::temp_directory_path() / ("trovelin-bench-folderload-" + std::to_string(::getpid()));
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
            .end()
            .end();
        RecordWriter filler;  // a record of a class the loader skips
        filler.beginRecord("TPanel", "Filler").property("Data").binary(std::vector<std::uint8_t>(160000, 7)).end().end();
        for (int i = 0; i < fileCount; ++i) {
            PanelFileContent content;
            content.records = {i % largeEvery == 0 ? large : small, button.bytes()};
            if (i % largeEvery != 0) content.records.push_back(filler.bytes());
            char name[32];
            std::snprintf(name, sizeof name, "panel-%03d.kvr", i);
            const auto panel = writePanelFile(content);
            writeFile((path / name).string(), panel);
            bytes += static_cast<std::int64_t>(panel.size());
        }
    }
    ~Folder() { fs::remove_all(path); }
};

Folder& folder()
{
    static Folder made;
    return made;
}

struct Window {
    PictureList pictures;
    PosixFileSystem fileSystem;
    NoShell shell;
    TTrovelin window{pictures, fileSystem, shell};
    std::string directory = fileSystem.drives().toWindowsPath(folder().path.string()).value();

    // Shown in the folder once, so that the file list, the fonts and the progress display are
    // ready before anything is measured.
    Window()
    {
        window.messageBox = [](const QString&, const QString&) {};
        window.show();
        window.fileList().SetDirectory(directory);
        while (window.folderLoadRunning()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
    }

    // The folder shown again: its load starts over.
    void showFolderAgain()
    {
        window.setStatusPanel(1, "");
        window.MFileExplorerChange();
    }
};

double milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

double threadProcessorMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Notes the time since the last turn of the event loop, in wall time and in the GUI thread's
// processor time.
struct Turns {
    Clock::time_point last = Clock::now();
    double lastProcessorMs = threadProcessorMs();
    double longestGapMs = 0;
    double longestWorkMs = 0;

    void turn()
    {
        const Clock::time_point now = Clock::now();
        const double processorMs = threadProcessorMs();
        longestGapMs = std::max(longestGapMs, milliseconds(now - last));
        longestWorkMs = std::max(longestWorkMs, processorMs - lastProcessorMs);
        last = now;
        lastProcessorMs = processorMs;
    }
};

// The folder shown in the window: a timer of 1 ms notes every turn of the event loop until the
// load has ended, and the longest time between two turns is the window's reaction time.
void WindowDuringFolderLoad(benchmark::State& state)
{
    Window shown;
    Turns turns;
    double longestGapMs = 0;
    double longestWorkMs = 0;
    for (auto _ : state) {
        QEventLoop loop;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            turns.turn();
            if (!shown.window.folderLoadRunning()) loop.quit();
        });
        tick.start();
        turns = {};
        shown.showFolderAgain();
        turns.turn();
        loop.exec();
        longestGapMs = std::max(longestGapMs, turns.longestGapMs);
        longestWorkMs = std::max(longestWorkMs, turns.longestWorkMs);
    }
    state.SetBytesProcessed(state.iterations() * folder().bytes);
    state.counters["pictures"] = shown.pictures.count();
    state.counters["longest_gap_ms"] = longestGapMs;
    state.counters["longest_gui_work_ms"] = longestWorkMs;
}
BENCHMARK(WindowDuringFolderLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor under those gaps on this machine: the same window's event loop for as long, idle.
void IdleWindow(benchmark::State& state)
{
    Window shown;
    Turns turns;
    for (auto _ : state) {
        QEventLoop loop;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&turns] { turns.turn(); });
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        tick.start();
        turns = {};
        loop.exec();
    }
    state.counters["longest_gap_ms"] = turns.longestGapMs;
    state.counters["longest_gui_work_ms"] = turns.longestWorkMs;
}
BENCHMARK(IdleWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The same folder loaded on the GUI thread, through the window as the loader's host, as the
// window loaded folders before: the event loop waits for the whole load.
void FolderLoadOnTheGuiThread(benchmark::State& state)
{
    Window shown;
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder().path))
        files.push_back(shown.directory + "\\" + entry.path().filename().string());
    std::sort(files.begin(), files.end());
    for (auto _ : state) {
        for (std::size_t i = 0; i < files.size(); ++i)
            if (!shown.window.LoadForm(files[i], i == 0)) break;
        QCoreApplication::processEvents();
    }
    state.SetBytesProcessed(state.iterations() * folder().bytes);
    state.counters["pictures"] = shown.pictures.count();
}
BENCHMARK(FolderLoadOnTheGuiThread)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
