#pragma once
// What the benchmark process holds in memory, from /proc: the figure now and the peak since the
// last reset, so that a benchmark can report how much a run grew it.

#include <cstdint>
#include <fstream>
#include <string>

namespace trovelin::bench {

// A field of /proc/self/status in KiB: "VmRSS" (now) or "VmHWM" (the peak).
inline std::int64_t residentKiB(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0) return std::stoll(line.substr(field.size() + 1));
    return 0;
}

// Lets the next peak start from what the process holds now.
inline void resetPeakResident()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace trovelin::bench
