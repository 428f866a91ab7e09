#include "browse/FileListText.h"

#include <cstdio>

#include "streaming/TypeInfo.h"

namespace trovelin {

std::string formatThousands(std::int64_t value, char thousandsSeparator)
{
    const bool negative = value < 0;
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string digits;
    int count = 0;
    do {
        if (count > 0 && count % 3 == 0) digits.insert(digits.begin(), thousandsSeparator);
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
        ++count;
    } while (magnitude != 0);
    return negative ? "-" + digits : digits;
}

std::string attributeLetters(std::uint32_t attributes)
{
    std::string letters;
    if (attributes & 0x20) letters += 'A';
    if (attributes & 0x01) letters += 'R';
    if (attributes & 0x02) letters += 'H';
    if (attributes & 0x04) letters += 'S';
    return letters;
}

std::string GetMediaTypeStr(TMediaType mediaType)
{
    switch (mediaType) {
    case TMediaType::dtUnknown: return "<unknown>";
    case TMediaType::dtNotExists: return "<not exists>";
    case TMediaType::dtRemovable: return "Removable";
    case TMediaType::dtFixed: return "Fixed";
    case TMediaType::dtRemote: return "Remote";
    case TMediaType::dtCDROM: return "CDROM";
    case TMediaType::dtRAMDisk: return "RAM";
    }
    return "<unknown>";
}

std::string serialText(std::uint32_t serial)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04X-%04X", serial >> 16, serial & 0xFFFF);
    return text;
}

std::string withTrailingBackslash(std::string path)
{
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

std::string namePart(const std::string& path)
{
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isDrivesDirectory(const std::string& directory)
{
    return sameText(directory, drivesDirectory);
}

std::optional<std::string> levelUpFrom(const std::string& directory)
{
    if (isDrivesDirectory(directory)) return std::nullopt;
    std::string path = withTrailingBackslash(directory);
    if (path.size() >= 2 && path[path.size() - 2] == ':') return std::string(drivesDirectory);
    path.pop_back();
    // Without any backslash the parent is empty, which names no folder and so changes nothing.
    const std::size_t lastSlash = path.rfind('\\');
    return lastSlash == std::string::npos ? std::string() : path.substr(0, lastSlash + 1);
}

}  // namespace trovelin
