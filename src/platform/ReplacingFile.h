#pragma once
// Writing a whole output file so that readers only ever see the old file or the complete new
// one: the bytes go to a temporary file in the same folder, which is renamed into place once
// everything is written. A failed write leaves no partial or empty file under the final name.

#include <cstdint>
#include <span>
#include <string>

namespace trovelin {

// Writes `bytes` as the file `path`, replacing any file of that name. Fails with
// "Cannot write %s: <reason>"; then the temporary file is gone and an older file of that name
// is unchanged.
void writeFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace trovelin
