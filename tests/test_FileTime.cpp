// File times: from Unix times, and to calendar dates in UTC.

#include <gtest/gtest.h>

#include "platform/FileTime.h"

namespace trovelin {
namespace {

struct CalendarCase {
    std::int64_t unixSeconds;
    std::int64_t nanoseconds;
    SystemTime expected;  // year, month, day of week, day, hour, minute, second, milliseconds
};

TEST(FileTime, CalendarDatesInUtc)
{
    const CalendarCase cases[] = {
        {0, 0, {1970, 1, 4, 1, 0, 0, 0, 0}},
        {1'000'000'000, 123'456'789, {2001, 9, 0, 9, 1, 46, 40, 123}},
        {1'709'164'800, 0, {2024, 2, 4, 29, 0, 0, 0, 0}},
        {951'868'799, 999'999'999, {2000, 2, 2, 29, 23, 59, 59, 999}},
        {-11'644'473'600, 0, {1601, 1, 1, 1, 0, 0, 0, 0}},
        {4'102'444'800, 0, {2100, 1, 5, 1, 0, 0, 0, 0}},
    };
    for (const CalendarCase& c : cases) {
        const auto time = fileTimeToSystemTime(fileTimeFromUnix(c.unixSeconds, c.nanoseconds));
        ASSERT_TRUE(time) << c.unixSeconds;
        EXPECT_EQ(time->year, c.expected.year) << c.unixSeconds;
        EXPECT_EQ(time->month, c.expected.month) << c.unixSeconds;
        EXPECT_EQ(time->dayOfWeek, c.expected.dayOfWeek) << c.unixSeconds;
        EXPECT_EQ(time->day, c.expected.day) << c.unixSeconds;
        EXPECT_EQ(time->hour, c.expected.hour) << c.unixSeconds;
        EXPECT_EQ(time->minute, c.expected.minute) << c.unixSeconds;
        EXPECT_EQ(time->second, c.expected.second) << c.unixSeconds;
        EXPECT_EQ(time->milliseconds, c.expected.milliseconds) << c.unixSeconds;
    }
}

TEST(FileTime, UnixEpochAndLimits)
{
    EXPECT_EQ(fileTimeFromUnix(0, 0), 116'444'736'000'000'000u);
    EXPECT_EQ(fileTimeFromUnix(1, 150), 116'444'736'010'000'001u);
    EXPECT_EQ(fileTimeFromUnix(-20'000'000'000, 0), 0u);  // before 1601
    EXPECT_FALSE(fileTimeToSystemTime(std::uint64_t{1} << 63));
    const auto last = fileTimeToSystemTime((std::uint64_t{1} << 63) - 1);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->year, 30828);
}

}  // namespace
}  // namespace trovelin
