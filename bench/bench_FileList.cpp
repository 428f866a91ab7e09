// Browsing a folder of 10,000 panel files: the file list's refresh (listing, shell type names
// and icons, sorting, and the report view filled and drawn once) against `ls -l` on the same
// folder, which lists, stats and formats every entry too. Wall time on a shared machine holds
// the waits for a processor as well, so each also reports the processor time it took: the
// kernel's count for the whole `ls` process, the process's own for the refresh.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>


#include "app/LocaleTexts.h"
#include "app/QtShellInfo.h"
#include "browse/FileListView.h"
#include "browse/Mfileexplorer.h"
#include "platform/PosixFileSystem.h"

extern char** environ;

namespace {

using namespace trovelin;
namespace fs = std::filesystem;

constexpr int fileCount = 10'000;

struct Folder {
    fs::path path = fs::temp_directory_path() / ("trovelin-bench-filelist-" + std::to_string(::getpid()));

    Folder()
    {
        fs::create_directories(path);
        for (int i = 0; i < fileCount; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "show-%05d.kvr", i);
            std::ofstream(path / name) << "KVR panel " << i;
        }
    }
    ~Folder() { fs::remove_all(path); }
};

const Folder& folder()
{
    static const Folder instance;
    return instance;
}

void lsLong(benchmark::State& state)
{
    const std::string path = folder().path.string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    char* const argv[] = {const_cast<char*>("ls"), const_cast<char*>("-l"), const_cast<char*>(path.c_str()), nullptr};
    double processorSeconds = 0;
    for (auto _ : state) {
        pid_t child = 0;
        if (posix_spawnp(&child, "ls", &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("ls cannot be started");
            break;
        }
        int status = 0;
        struct rusage usage {};
        ::wait4(child, &status, 0, &usage);
        processorSeconds += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    posix_spawn_file_actions_destroy(&actions);
    state.counters["cpu_ms"] = benchmark::Counter(processorSeconds * 1e3, benchmark::Counter::kAvgIterations);
}
BENCHMARK(lsLong)->Unit(benchmark::kMillisecond)->UseRealTime();

// The refresh as the main window runs it: "*.kvr" in report style, rows shown in the view.
void fileListRefresh(benchmark::State& state)
{
    PosixFileSystem fileSystem;
    QtShellInfo shell(fileSystem);
    TMFileExplorer list(fileSystem, shell, localeDateTimeText(), localeThousandsSeparator());
    FileListView view(list, [&shell](int index) { return shell.icon(index); });
    view.resize(300, 400);
    view.show();
    list.SetFileType(1u << ftReadOnly | 1u << ftHidden | 1u << ftSystem | 1u << ftArchive | 1u << ftNormal);
    list.SetMask("*.kvr");
    list.SetViewStyle(TViewStyle::vsReport);
    list.SetDirectory(fileSystem.drives().toWindowsPath(folder().path.string()).value());
    view.repaint();  // the first paint loads fonts and styles once for the program's life
    for (auto _ : state) {
        list.UpdateFileList();
        view.repaint();
    }
    state.counters["rows"] = static_cast<double>(list.items().size());
}
BENCHMARK(fileListRefresh)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// The same without a window: listing, shell answers, texts and sorting alone.
void fileListRefreshLogic(benchmark::State& state)
{
    PosixFileSystem fileSystem;
    QtShellInfo shell(fileSystem);
    TMFileExplorer list(fileSystem, shell, localeDateTimeText(), localeThousandsSeparator());
    list.SetFileType(1u << ftReadOnly | 1u << ftHidden | 1u << ftSystem | 1u << ftArchive | 1u << ftNormal);
    list.SetMask("*.kvr");
    list.SetDirectory(fileSystem.drives().toWindowsPath(folder().path.string()).value());
    for (auto _ : state) list.UpdateFileList();
}
BENCHMARK(fileListRefreshLogic)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace
