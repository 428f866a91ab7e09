#pragma once
// The texts the file list shows and the path steps it takes: sizes with thousands separators,
// attribute letters, media type names, volume serials, and the way one level up.

#include <cstdint>
#include <optional>
#include <string>

#include "browse/FileListItem.h"

namespace trovelin {

// "###,###,##0": at least one digit, groups of three joined by `thousandsSeparator`.
std::string formatThousands(std::int64_t value, char thousandsSeparator);
// "A" archive, "R" read-only, "H" hidden, "S" system, in that order, from the attribute bits.
std::string attributeLetters(std::uint32_t attributes);
// "Fixed", "Removable", "<unknown>", ...
std::string GetMediaTypeStr(TMediaType mediaType);
// The serial as eight upper-case hex digits in two groups: "1A2B-3C4D".
std::string serialText(std::uint32_t serial);

// The path with a backslash at its end.
std::string withTrailingBackslash(std::string path);
// The part of a path after its last backslash.
std::string namePart(const std::string& path);

// The pseudo-directory of the drive list.
inline constexpr const char* drivesDirectory = "Drives";
bool isDrivesDirectory(const std::string& directory);  // letter case ignored

// Where `OneLevelUp` goes from `directory`: the parent folder with its trailing backslash, the
// drive list from a drive root, and nowhere (nullopt) from the drive list.
std::optional<std::string> levelUpFrom(const std::string& directory);

}  // namespace trovelin
