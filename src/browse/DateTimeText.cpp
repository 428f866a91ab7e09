#include "browse/DateTimeText.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace trovelin {

namespace {

using namespace std::chrono;

constexpr sys_days epoch = sys_days{year{1899} / December / 30};

// Days from the framework's epoch to the date; nullopt for a date that does not exist.
std::optional<long> dayNumber(int y, int m, int d)
{
    const year_month_day date{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
    if (y < 1 || y > 9999 || !date.ok()) return std::nullopt;
    return static_cast<long>((sys_days{date} - epoch).count());
}

void civilFromDays(long days, int& y, int& m, int& d)
{
    const year_month_day date{epoch + std::chrono::days{days}};
    y = static_cast<int>(date.year());
    m = static_cast<int>(static_cast<unsigned>(date.month()));
    d = static_cast<int>(static_cast<unsigned>(date.day()));
}

}  // namespace

double dateTimeValue(const SystemTime& time)
{
    const double date = static_cast<double>(dayNumber(time.year, time.month, time.day).value_or(0));
    const bool validTime = time.hour < 24 && time.minute < 60 && time.second < 60 && time.milliseconds < 1000;
    const double fraction = validTime ? (time.hour * 3600000.0 + time.minute * 60000.0 + time.second * 1000.0 +
                                         time.milliseconds) / 86400000.0
                                      : 0.0;
    return date + fraction;
}

DateTimeText isoDateTimeText()
{
    DateTimeText text;
    text.format = [](double value) {
        const double days = std::floor(value);
        int year = 0, month = 0, day = 0;
        civilFromDays(static_cast<long>(days), year, month, day);
        const long seconds = std::lround((value - days) * 86400.0);
        char out[96];
        std::snprintf(out, sizeof out, "%04d-%02d-%02d %02ld:%02ld:%02ld", year, month, day, seconds / 3600,
                      seconds / 60 % 60, seconds % 60);
        return std::string(out);
    };
    text.parse = [](const std::string& value) -> std::optional<double> {
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
        char tail = 0;
        if (std::sscanf(value.c_str(), "%d-%d-%d %d:%d:%d%c", &year, &month, &day, &hour, &minute, &second, &tail) != 6)
            return std::nullopt;
        const std::optional<long> date = dayNumber(year, month, day);
        if (!date || hour > 23 || minute > 59 || second > 59) return std::nullopt;
        return static_cast<double>(*date) + (hour * 3600 + minute * 60 + second) / 86400.0;
    };
    return text;
}

}  // namespace trovelin
