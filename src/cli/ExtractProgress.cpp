#include "cli/ExtractProgress.h"

#include <cmath>
#include <ostream>

#include "cli/Interruption.h"

namespace trovelin::cli {

namespace {

constexpr auto progressDelay = std::chrono::seconds(1);
constexpr auto redrawInterval = std::chrono::milliseconds(200);
// The rate is that of this last stretch of the run, so that it follows a change of pace.
constexpr auto rateWindow = std::chrono::seconds(5);

std::string durationText(double seconds)
{
    const auto whole = static_cast<long long>(std::ceil(seconds));
    if (whole < 60) return std::to_string(whole) + " s";
    if (whole < 3600) return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
    return std::to_string(whole / 3600) + " h " + std::to_string(whole % 3600 / 60) + " min";
}

}  // namespace

ExtractProgress::ExtractProgress(std::ostream& out, bool enabled, std::size_t filesFound)
    : out_(out), enabled_(enabled), filesFound_(filesFound), start_(Clock::now()), lastDrawn_(start_)
{
}

void ExtractProgress::update(std::size_t filesDone, std::size_t pictures, Clock::time_point now)
{
    if (!enabled_) return;
    recent_.emplace_back(now, filesDone);
    while (recent_.size() > 2 && now - recent_.front().first > rateWindow) recent_.pop_front();
    if (now - start_ <= progressDelay || (lineOpen_ && now - lastDrawn_ < redrawInterval && filesDone < filesFound_))
        return;
    const double seconds = std::chrono::duration<double>(now - recent_.front().first).count();
    const double rate = seconds > 0 ? static_cast<double>(filesDone - recent_.front().second) / seconds : 0;
    lastDrawn_ = now;
    lineOpen_ = true;
    setProgressLineOpen(true);
    // Spaces clear what a longer line before left.
    out_ << '\r' << text(filesDone, filesFound_, pictures, rate) << "   " << std::flush;
}

void ExtractProgress::endLine()
{
    if (!lineOpen_) return;
    out_ << '\n';
    lineOpen_ = false;
    setProgressLineOpen(false);
}

std::string ExtractProgress::text(std::size_t filesDone, std::size_t filesFound, std::size_t pictures,
                                  double filesPerSecond)
{
    std::string line = std::to_string(filesDone) + " of " + std::to_string(filesFound) + " files, " +
                       std::to_string(pictures) + (pictures == 1 ? " picture" : " pictures");
    if (filesPerSecond <= 0) return line;
    const auto rate = static_cast<long long>(std::llround(filesPerSecond));
    line += ", " + (rate > 0 ? std::to_string(rate) : std::string("<1")) + " files/s";
    if (filesDone < filesFound)
        line += ", " + durationText(static_cast<double>(filesFound - filesDone) / filesPerSecond) + " left";
    return line;
}

}  // namespace trovelin::cli
