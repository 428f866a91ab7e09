#include "platform/MountTable.h"

#include <fstream>
#include <sstream>

namespace trovelin {

namespace {

bool isOctalDigit(char c) { return c >= '0' && c <= '7'; }

std::string unescape(std::string_view field)
{
    std::string result;
    result.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool escape = field[i] == '\\' && i + 3 < field.size() && isOctalDigit(field[i + 1]) &&
                            isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3]);
        if (escape) {
            const int value = ((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0');
            result += static_cast<char>(value);
            i += 3;
        } else {
            result += field[i];
        }
    }
    return result;
}

std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> result;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) result.push_back(line.substr(start, i - start));
    }
    return result;
}

}  // namespace

std::vector<MountEntry> parseMountTable(std::string_view text)
{
    std::vector<MountEntry> entries;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::vector<std::string_view> parts = fields(text.substr(start, end - start));
        if (parts.size() >= 3) entries.push_back({unescape(parts[0]), unescape(parts[1]), unescape(parts[2])});
        start = end + 1;
    }
    return entries;
}

std::vector<MountEntry> readSystemMountTable()
{
    std::ifstream file("/proc/self/mounts");
    if (!file) return {};
    std::ostringstream text;
    text << file.rdbuf();
    return parseMountTable(text.str());
}

}  // namespace trovelin
