#pragma once
// The progress line of a long extraction, for a person watching the error stream: files done of
// files found, pictures, the rate of the last few seconds and the time left at that rate.

#include <chrono>
#include <cstddef>
#include <deque>
#include <iosfwd>
#include <string>
#include <utility>

namespace trovelin::cli {

class ExtractProgress {
public:
    using Clock = std::chrono::steady_clock;

    ExtractProgress(std::ostream& out, bool enabled, std::size_t filesFound);

    // Redraws the line when it is due: not before the run has taken a second, then at most a
    // few times a second.
    void update(std::size_t filesDone, std::size_t pictures, Clock::time_point now = Clock::now());
    // Ends the line, if one is shown, before other text goes to the stream.
    void endLine();

    // "120 of 1000 files, 410 pictures, 85 files/s, 10 s left".
    static std::string text(std::size_t filesDone, std::size_t filesFound, std::size_t pictures, double filesPerSecond);

private:
    std::ostream& out_;
    bool enabled_;
    std::size_t filesFound_;
    Clock::time_point start_;
    Clock::time_point lastDrawn_;
    bool lineOpen_ = false;
    std::deque<std::pair<Clock::time_point, std::size_t>> recent_;  // (time, files done) samples
};

}  // namespace trovelin::cli
