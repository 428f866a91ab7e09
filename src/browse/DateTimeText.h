#pragma once
// Date-time values of the framework (days since 30 December 1899, the time of day as the
// fraction) and their texts in the user's locale, which the file list shows and sorts by.

#include <functional>
#include <optional>
#include <string>

#include "platform/FileTime.h"

namespace trovelin {

// The value of a calendar date and time; an invalid time of day counts as midnight and an
// invalid date as the zero date, as the file list takes them.
double dateTimeValue(const SystemTime& time);

// The locale's short date and long time format, both ways.
struct DateTimeText {
    std::function<std::string(double)> format;
    std::function<std::optional<double>(const std::string&)> parse;
};

// "yyyy-mm-dd hh:mm:ss", the format when no locale supplies one.
DateTimeText isoDateTimeText();

}  // namespace trovelin
