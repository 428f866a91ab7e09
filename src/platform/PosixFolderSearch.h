#pragma once
// Listing one folder of this system the way the original platform's folder search reports it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace trovelin {

// The entries of `folder` whose names match one of the ";"-separated `masks`, with their
// attributes, sizes and modification times. "." and ".." come first and are left out at a drive
// root, as there; the rest follow by name without regard to letter case, so that listings do
// not depend on the order the file system keeps. Entries are looked at through symbolic links;
// a broken link is still listed (as a system entry), one that vanishes while it is listed is
// not, and neither are names with a backslash, which no drive path could name. An entry that
// may be listed but not looked at keeps the type the listing gives, with size and time 0. Fails with
// ERROR_PATH_NOT_FOUND or ERROR_ACCESS_DENIED when the folder cannot be read, and with
// ERROR_FILE_NOT_FOUND when nothing matches.
std::vector<FindData> listFolder(const std::string& folder, std::string_view masks, bool driveRoot,
                                 std::uint32_t& error);

}  // namespace trovelin
