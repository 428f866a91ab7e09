#include "platform/FileTime.h"

namespace trovelin {

namespace {

constexpr std::int64_t ticksPerSecond = 10'000'000;
constexpr std::int64_t secondsFrom1601To1970 = 11'644'473'600;
constexpr std::int64_t daysFrom1601To1970 = 134'774;

}  // namespace

FileTime fileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds)
{
    if (seconds < -secondsFrom1601To1970) return 0;
    const auto since1601 = static_cast<std::uint64_t>(seconds + secondsFrom1601To1970);
    const std::uint64_t limit = (UINT64_MAX - 9'999'999) / ticksPerSecond;
    if (since1601 > limit) return UINT64_MAX;
    return since1601 * ticksPerSecond + static_cast<std::uint64_t>(nanoseconds / 100);
}

std::optional<SystemTime> fileTimeToSystemTime(FileTime time)
{
    if (time >= (std::uint64_t{1} << 63)) return std::nullopt;
    const std::uint64_t totalSeconds = time / ticksPerSecond;
    const auto days = static_cast<std::int64_t>(totalSeconds / 86'400);
    const std::uint64_t secondOfDay = totalSeconds % 86'400;

    // Civil date from a day count (days since 1970-01-01), by 400-year eras starting in March.
    const std::int64_t z = days - daysFrom1601To1970 + 719'468;
    const std::int64_t era = (z >= 0 ? z : z - 146'096) / 146'097;
    const std::int64_t dayOfEra = z - era * 146'097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const std::int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

    SystemTime result;
    result.year = static_cast<std::uint16_t>(year);
    result.month = static_cast<std::uint16_t>(month);
    result.day = static_cast<std::uint16_t>(day);
    result.dayOfWeek = static_cast<std::uint16_t>((days + 1) % 7);  // 1601-01-01 was a Monday
    result.hour = static_cast<std::uint16_t>(secondOfDay / 3600);
    result.minute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
    result.second = static_cast<std::uint16_t>(secondOfDay % 60);
    result.milliseconds = static_cast<std::uint16_t>(time % ticksPerSecond / 10'000);
    return result;
}

}  // namespace trovelin
