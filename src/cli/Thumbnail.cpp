#include "cli/Thumbnail.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <new>
#include <ostream>
#include <sstream>
#include <thread>
#include <vector>

#include "cli/Render.h"
#include "framework/PngWriter.h"
#include "gallery/PanelRender.h"
#include "platform/ReplacingFile.h"
#include "streaming/Errors.h"
#include "streaming/PrintableText.h"

namespace trovelin::cli {

namespace {

// Ends the process with exit status 1 when the work is not done in time, whatever it is doing:
// a fault that makes some panel slow must not hold up the file manager waiting for it. It can
// fire only before finish(), and the output is written only after, so it never leaves a file.
class Deadline {
public:
    Deadline(std::chrono::milliseconds limit, std::string message)
        : message_(std::move(message)), watcher_([this, limit] { watch(limit); })
    {
    }
    ~Deadline()
    {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        wake_.notify_one();
        watcher_.join();
    }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

    // False when the time ran out first: the process is ending then.
    bool finish()
    {
        int working = 0;
        return state_.compare_exchange_strong(working, finished);
    }

private:
    static constexpr int finished = 1;
    static constexpr int timedOut = 2;

    void watch(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, limit, [this] { return stopped_; })) return;
        int working = 0;
        if (!state_.compare_exchange_strong(working, timedOut)) return;
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message_.data(), message_.size());
        ::_exit(1);
    }

    const std::string message_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopped_ = false;
    std::atomic<int> state_{0};
    std::thread watcher_;  // last, so that it starts once the rest is made
};

std::string secondsText(std::chrono::milliseconds duration)
{
    std::ostringstream text;
    text << static_cast<double>(duration.count()) / 1000.0 << " s";
    return text.str();
}

}  // namespace

QImage thumbnailOf(const QImage& panel, int longerSide)
{
    const int longer = std::max(panel.width(), panel.height());
    if (longer <= longerSide) return panel;
    // Rounded, and never below one pixel: a strip of a panel stays a visible strip.
    const auto scaledSide = [&](int side) {
        return std::max(1, static_cast<int>((static_cast<std::int64_t>(side) * longerSide + longer / 2) / longer));
    };
    // Qt's smooth scaling averages every source pixel when it shrinks, so thin lines and text
    // of the panel fade instead of vanishing or flickering as sampled pixels would.
    return panel.scaled(scaledSide(panel.width()), scaledSide(panel.height()), Qt::IgnoreAspectRatio,
                        Qt::SmoothTransformation);
}

int writePanelThumbnail(const std::string& panelFile, const std::string& outputFile, int longerSide,
                        std::ostream& errors, std::uint64_t pixelBudgetBytes, std::chrono::milliseconds timeLimit)
{
    Deadline deadline(timeLimit, printableText(panelFile) + ": error: No thumbnail within the --max-time limit of " +
                                     secondsText(timeLimit) + "\n");
    const RenderedPanel panel = renderPanel(panelFile, pixelBudgetBytes);
    reportLoadProblems(panelFile, panel.problems, errors);
    if (panel.image.isNull() || panel.failed) return 1;
    try {
        const std::vector<std::uint8_t> png = encodePng(thumbnailOf(panel.image, longerSide));
        if (!deadline.finish()) return 1;
        if (outputFile == "-")
            writeStandardOutput(png);
        else
            writeFileFillingPlaceholder(outputFile, png);
    } catch (const std::bad_alloc&) {
        errors << "Cannot write " << printableText(outputFile) << ": Out of memory\n";
        return 1;
    } catch (const Exception& error) {
        errors << printableText(error.message()) << '\n';
        return 1;
    }
    return 0;
}

}  // namespace trovelin::cli
