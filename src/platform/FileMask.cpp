#include "platform/FileMask.h"

namespace trovelin {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Greedy match with one backtracking point: the last "*" seen, which then takes one more character.
bool wildcardMatch(std::string_view name, std::string_view mask)
{
    std::size_t n = 0;
    std::size_t m = 0;
    std::size_t starMask = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == '?' || lower(mask[m]) == lower(name[n]))) {
            ++m;
            ++n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

}  // namespace

bool matchesMask(std::string_view name, std::string_view mask)
{
    if (mask.empty()) return false;
    if (wildcardMatch(name, mask)) return true;
    return mask.ends_with(".*") && name.find('.') == std::string_view::npos &&
           wildcardMatch(name, mask.substr(0, mask.size() - 2));
}

bool matchesMaskList(std::string_view name, std::string_view masks)
{
    std::size_t start = 0;
    while (start <= masks.size()) {
        std::size_t end = masks.find(';', start);
        if (end == std::string_view::npos) end = masks.size();
        if (matchesMask(name, masks.substr(start, end - start))) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace trovelin
