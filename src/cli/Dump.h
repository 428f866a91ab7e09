#pragma once
// `trovelin-cli dump FILE`: the header and every record of a panel file, as text.

#include <iosfwd>
#include <string>

namespace trovelin::cli {

// Writes the dump to `out`; returns the process exit code (0, or 1 after a reported error).
int dumpPanelFile(const std::string& path, std::ostream& out, std::ostream& errors);

}  // namespace trovelin::cli
