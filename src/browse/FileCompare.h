#pragma once
// The file list's sort order (`CompareFiles`): ".." first, then the other folders, then the
// files, in both directions, by the texts, sizes or times of the sort column.

#include <functional>
#include <optional>
#include <string>

#include "browse/FileListItem.h"

namespace trovelin {

// What sorting takes from the user's locale.
struct SortLocale {
    char thousandsSeparator = ',';
    // A time text as the framework's date-time value (days since 1899-12-30), or nullopt.
    std::function<std::optional<double>(const std::string&)> parseDateTime;
};

// Negative when `first` goes first, positive when `second` does, 0 for a tie; nullopt when the
// list is unsorted (a negative sort column), which leaves the order alone.
std::optional<int> CompareFiles(const FileListItem& first, const FileListItem& second, int sortColumn,
                                TSortDirection direction, const SortLocale& locale);

// The framework's CompareText: by character code, ASCII letters without case.
int CompareText(const std::string& first, const std::string& second);

}  // namespace trovelin
