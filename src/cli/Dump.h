#pragma once
// `trovelin-cli dump [--json] FILE`: the header and every record of a panel file as a tree, with
// what the loader does with each record, for a person finding out why a panel file misbehaves.

#include <cstdint>
#include <iosfwd>
#include <string>

#include "panelfile/PictureList.h"

namespace trovelin::cli {

// Writes the dump to `out`; returns the process exit code: 0 when the loader would read the file
// without a message or an error, else 1. A record that fails shows how far it could be read,
// then the loader's error, and the dump ends there as the load would; a record the loader
// refuses with a message is passed over as the load passes over it. Decoded pictures may take
// `pixelBudgetBytes` at once, as in a harvest.
int dumpPanelFile(const std::string& path, bool json, std::ostream& out, std::ostream& errors,
                  std::uint64_t pixelBudgetBytes = defaultPixelBudgetBytes());

}  // namespace trovelin::cli
