#pragma once
// Writes bytes to a file, for the tools that make seeds and samples.

#include <cstdint>
#include <string>
#include <vector>

namespace trovelin::testing {

// True when the whole file was written.
bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace trovelin::testing
