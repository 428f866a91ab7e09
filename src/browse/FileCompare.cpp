#include "browse/FileCompare.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

#include "streaming/TypeInfo.h"

namespace trovelin {

namespace {

using Int64 = std::int64_t;
// Size keys with folder offsets reach beyond 64 bits; they are compared exactly in 128.
__extension__ using Wide = __int128;
constexpr Int64 int64Max = std::numeric_limits<Int64>::max();

bool isFolder(const FileListItem& item) { return sameText(item.sub(FileListItem::kind), "dir"); }
bool isParent(const FileListItem& item) { return item.caption == ".."; }

std::string columnText(const FileListItem& item, int column)
{
    const std::string& text = column == 0 ? item.caption : item.subItems[static_cast<std::size_t>(column - 1)];
    return text.empty() ? " " : text;
}

// Folders sort ahead of files by a leading character below (ascending) or above (descending)
// every character a name can start with, ".." ahead of the other folders.
std::string withFolderPrefix(const FileListItem& item, std::string text, bool ascending)
{
    if (!isFolder(item)) return text;
    const char prefix = isParent(item) ? (ascending ? '\x00' : '\xFF') : (ascending ? '\x01' : '\xFE');
    return prefix + text;
}

std::optional<Int64> parseInt64(const std::string& text)
{
    Int64 value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + (text.starts_with('+') ? 1 : 0), end, value);
    if (error != std::errc() || stop != end || text.empty()) return std::nullopt;
    return value;
}

// Sizes: folders get offsets that put them ahead whatever their base value; the sums are
// compared exactly, as they may leave the 64-bit range.
Wide sizeKey(const FileListItem& item, const std::string& text, char separator, bool ascending)
{
    std::string digits = text;
    std::erase(digits, separator);
    const std::optional<Int64> parsed = digits == " " ? std::nullopt : parseInt64(digits);
    Wide value = parsed.value_or(ascending ? 0 : int64Max);
    if (isFolder(item)) {
        const Wide lowest = -static_cast<Wide>(int64Max) - 1;
        if (ascending) value += isParent(item) ? lowest + 1 : lowest + 2;
        else value += isParent(item) ? int64Max : int64Max - 1;
    }
    return value;
}

double timeKey(const FileListItem& item, const std::string& text, const SortLocale& locale, bool ascending)
{
    const std::optional<double> parsed = locale.parseDateTime ? locale.parseDateTime(text) : std::nullopt;
    double value = parsed.value_or(ascending ? 0.0 : 2147483647.0);
    if (isFolder(item)) value += (ascending ? -1.0 : 1.0) * (isParent(item) ? 131070.0 : 65535.0);
    return value;
}

}  // namespace

int CompareText(const std::string& first, const std::string& second)
{
    const auto upper = [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code >= 'a' && code <= 'z' ? code - 32 : code;
    };
    const std::size_t common = std::min(first.size(), second.size());
    for (std::size_t i = 0; i < common; ++i)
        if (const int difference = upper(first[i]) - upper(second[i])) return difference;
    return static_cast<int>(first.size()) - static_cast<int>(second.size());
}

std::optional<int> CompareFiles(const FileListItem& first, const FileListItem& second, int sortColumn,
                                TSortDirection direction, const SortLocale& locale)
{
    if (sortColumn < 0) return std::nullopt;
    const bool ascending = direction == TSortDirection::sdAscending;
    int result = 0;
    if (sortColumn <= 5) {
        const std::string text1 = columnText(first, sortColumn);
        const std::string text2 = columnText(second, sortColumn);
        switch (sortColumn) {
        case 0:
        case 2:
        case 4:
            result = CompareText(withFolderPrefix(first, text1, ascending), withFolderPrefix(second, text2, ascending));
            break;
        case 1:
            result = sizeKey(first, text1, locale.thousandsSeparator, ascending) <
                             sizeKey(second, text2, locale.thousandsSeparator, ascending)
                         ? -1
                         : 1;
            break;
        case 3:
            result = timeKey(first, text1, locale, ascending) - timeKey(second, text2, locale, ascending) < 0 ? -1 : 1;
            break;
        default: result = 0;
        }
    }
    return ascending ? result : -result;
}

}  // namespace trovelin
