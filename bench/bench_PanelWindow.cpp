// The live panel window against `render`. Opening a sample in the window (load and first paint)
// should cost at most 1.3 times its render to memory; while a fader or the colour mixer is
// dragged, each pointer move repaints the panel, which should take at most 4 ms, measured beside
// one full paint of the same panel. HostOnly is the open without the window around the panel (its
// buttons, bars, file watch and native window): the load and first paint alone. HostileDrag opens
// the largest panel of 64 KB of one class of the loader's table (the argument: its index), or of
// all (the next index), each control declared 2^31 - 1 pixels a side, or of 100 vertical or
// horizontal faders of 1025 pixels (the last two), and drags its first control across and down:
// the goals are an open under 1 s and 256 MiB, and each step under 20 ms, counted in the GUI
// thread's processor time.

#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>

#include <QMouseEvent>
#include <QApplication>
#include <QTest>

#include "app/PanelWindow.h"
#include "framework/PaintTree.h"
#include "gallery/PanelRender.h"
#include "support/FileWriter.h"
#include "support/ResidentMemory.h"
#include "support/SamplePanels.h"
#include "widgets/ControlHostWidget.h"

namespace {

using namespace trovelin;
namespace fs = std::filesystem;

const fs::path folder = fs::temp_directory_path() / ("trovelin-bench-panel-" + std::to_string(::getpid()));

// Index 0: the console desk (faders, knobs, buttons); 1: the moving heads (XY field, colour mixer).
std::string sampleFile(std::int64_t which)
{
    const std::string name = which == 0 ? "console-desk.kvr" : "moving-heads.kvr";
    fs::create_directories(folder);
    for (const testing::SamplePanel& sample : testing::samplePanels())
        if (sample.fileName == name) testing::writeFile((folder / name).string(), sample.bytes);
    return (folder / name).string();
}

void RenderToMemory(benchmark::State& state)
{
    const std::string file = sampleFile(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(renderPanel(file).image);
    state.SetLabel(fs::path(file).filename().string());
}
BENCHMARK(RenderToMemory)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

void OpenPanelWindow(benchmark::State& state)
{
    const std::string file = sampleFile(state.range(0));
    for (auto _ : state) {
        QString problem;
        PanelWindow* window = PanelWindow::open(file, nullptr, problem);
        benchmark::DoNotOptimize(window->host()->grab());
        state.PauseTiming();
        delete window;
        state.ResumeTiming();
    }
    state.SetLabel(fs::path(file).filename().string());
}
BENCHMARK(OpenPanelWindow)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A press on the first fader (the desk) or inside the colour mixer (the heads), then moves up and
// down its travel, each painted before the next.
void DragRepaint(benchmark::State& state)
{
    const std::string file = sampleFile(state.range(0));
    QString problem;
    PanelWindow* window = PanelWindow::open(file, nullptr, problem);
    ControlHostWidget& host = *window->host();
    const QPoint origin = state.range(0) == 0 ? QPoint(36, 60) : QPoint(380, 100);
    auto send = [&host](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, host.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(&host, &event);
    };
    if (!QTest::qWaitForWindowExposed(window)) state.SkipWithError("the window was never exposed");
    send(QEvent::MouseButtonPress, origin, Qt::LeftButton);
    host.repaint();
    int step = 0;
    for (auto _ : state) {
        send(QEvent::MouseMove, origin + QPoint(step % 7, step % 60), Qt::LeftButton);
        host.repaint();
        ++step;
    }
    send(QEvent::MouseButtonRelease, origin, Qt::NoButton);
    delete window;
    state.SetLabel(fs::path(file).filename().string());
}
BENCHMARK(DragRepaint)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

void HostOnly(benchmark::State& state)
{
    const std::string file = sampleFile(state.range(0));
    for (auto _ : state) {
        LoadedPanel panel(file);
        ControlHostWidget host(panel.face());
        benchmark::DoNotOptimize(host.grab());
    }
}
BENCHMARK(HostOnly)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

void FullPaint(benchmark::State& state)
{
    LoadedPanel panel(sampleFile(state.range(0)));
    QImage image(panel.face().width(), panel.face().height(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        paintControlTree(image, panel.face(), panel.paintBudget());
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(FullPaint)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

void HostileDrag(benchmark::State& state)
{
    const std::vector<std::string_view> classes = testing::loaderClassNames();
    const auto index = static_cast<std::size_t>(state.range(0));
    // Past the mixed panel, 100 vertical and then 100 horizontal faders of 1025 pixels a side,
    // whose knobs follow the pointer.
    const bool mixed = index == classes.size();
    const std::string_view fader = index == classes.size() + 1 ? "TSlider" : "TSliderh";
    const std::int32_t side = index > classes.size() ? 1025 : 2147483647;
    const std::string_view single = index < classes.size() ? classes[index] : fader;
    fs::create_directories(folder);
    const std::string file = (folder / "hostile.kvr").string();
    // The largest panels of 64 KB at 2^31 - 1; the faders of 1025 pixels, 100 of them.
    testing::writeFile(file, side == 1025 ? testing::sizedControlsPanel({single}, 100, side)
                             : mixed      ? testing::largestSizedControlsPanel(classes, side)
                                          : testing::largestSizedControlsPanel({single}, side));
    const std::int64_t before = bench::residentKiB("VmRSS");
    bench::resetPeakResident();
    const auto threadMs = [] {
        timespec now{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    };
    const double opening = threadMs();
    QString problem;
    PanelWindow* window = PanelWindow::open(file, nullptr, problem);
    ControlHostWidget& host = *window->host();
    if (!QTest::qWaitForWindowExposed(window)) state.SkipWithError("the window was never exposed");
    host.repaint();
    QCoreApplication::processEvents();
    state.counters["open_cpu_ms"] = threadMs() - opening;
    const auto send = [&host](QEvent::Type type, QPoint at) {
        QMouseEvent event(type, at, host.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&host, &event);
    };
    send(QEvent::MouseButtonPress, {20, 5});
    QCoreApplication::processEvents();
    double slowest = 0;
    int step = 0;
    for (auto _ : state) {
        const double start = threadMs();
        ++step;
        send(QEvent::MouseMove, {20 + 9 * (step % 20), 5 + 9 * (step % 20)});
        host.repaint();
        QCoreApplication::processEvents();
        slowest = std::max(slowest, threadMs() - start);
    }
    send(QEvent::MouseButtonRelease, {20, 5});
    state.counters["slowest_step_cpu_ms"] = slowest;
    state.counters["growth_MiB"] = static_cast<double>(bench::residentKiB("VmHWM") - before) / 1024;
    delete window;
    state.SetLabel((mixed ? std::string("mixed") : std::string(single)) + (side == 1025 ? " x100" : " 64 KB") + " of " +
                   std::to_string(side));
}
BENCHMARK(HostileDrag)->DenseRange(0, 12)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
