#include "platform/WindowsPath.h"

#include <vector>

namespace trovelin {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Applies the parts of `relative` to `parts`, which already hold the folders below a drive root.
void appendParts(std::vector<std::string_view>& parts, std::string_view relative)
{
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = start;
        while (end < relative.size() && !isSeparator(relative[end])) ++end;
        const std::string_view part = relative.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
}

std::string join(char drive, const std::vector<std::string_view>& parts)
{
    std::string result{drive, ':', '\\'};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) result += '\\';
        result += parts[i];
    }
    return result;
}

}  // namespace

char driveLetterOf(std::string_view path)
{
    if (path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':') return upper(path[0]);
    return 0;
}

std::optional<std::string> canonicalPath(std::string_view path, std::string_view currentDirectory)
{
    if (path.empty()) return std::nullopt;
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) return std::nullopt;

    std::vector<std::string_view> parts;
    const char drive = driveLetterOf(path);
    const char currentDrive = driveLetterOf(currentDirectory);
    const bool currentUsable = currentDrive != 0 && currentDirectory.size() >= 3 && isSeparator(currentDirectory[2]);
    std::string_view rest = path;
    char resultDrive = drive;
    if (drive != 0) {
        rest = path.substr(2);
        const bool driveRelative = rest.empty() || !isSeparator(rest.front());
        if (driveRelative && currentUsable && currentDrive == drive) appendParts(parts, currentDirectory.substr(3));
    } else {
        if (!currentUsable) return std::nullopt;
        resultDrive = currentDrive;
        if (!isSeparator(rest.front())) appendParts(parts, currentDirectory.substr(3));
    }
    appendParts(parts, rest);
    return join(resultDrive, parts);
}

bool isDriveRoot(std::string_view canonical)
{
    return canonical.size() == 3 && driveLetterOf(canonical) != 0 && canonical[2] == '\\';
}

}  // namespace trovelin
