#pragma once
// File times in the original platform's form: 100-nanosecond intervals since 1601-01-01 UTC.
// The file list turns them into calendar time without any time zone, as the original does.

#include <cstdint>
#include <optional>

namespace trovelin {

using FileTime = std::uint64_t;

// Times before 1601 clamp to 0.
FileTime fileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds);

struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;      // 1..12
    std::uint16_t dayOfWeek = 0;  // 0 Sunday .. 6 Saturday
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};

// The calendar date and time (UTC) of a file time; empty for values of 2^63 and more, which the
// original refuses too.
std::optional<SystemTime> fileTimeToSystemTime(FileTime time);

}  // namespace trovelin
