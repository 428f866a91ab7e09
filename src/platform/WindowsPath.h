#pragma once
// Paths in the original platform's form ("C:\Shows\Club", drive letter, backslashes). Panel
// designers and the browsing widgets think in these; the translation to this system's paths
// lives in DriveMap.

#include <optional>
#include <string>
#include <string_view>

namespace trovelin {

// The upper-case drive letter that a path starts with ("c:..." gives 'C'), or 0 when it has none.
char driveLetterOf(std::string_view path);

// The absolute, canonical form of a path as the original platform resolves it against the
// current directory: "/" counts as "\", empty and "." parts go, ".." removes the part before it
// but never climbs above the drive root, a drive root keeps its backslash ("C:\") and any other
// folder has none. "\x" is relative to the current drive's root, "D:x" to D's root unless the
// current directory is on D. Empty when the path (or the current directory it needs) is not
// usable: empty, a network path ("\\server\share"), or relative without a current directory.
std::optional<std::string> canonicalPath(std::string_view path, std::string_view currentDirectory = {});

// Whether a canonical path is a drive root such as "C:\".
bool isDriveRoot(std::string_view canonical);

}  // namespace trovelin
