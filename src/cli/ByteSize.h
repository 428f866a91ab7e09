#pragma once
// Sizes given on the command line: plain bytes, or a number with a K, M or G suffix (powers
// of 1024, either letter case).

#include <cstdint>
#include <optional>
#include <string_view>

namespace trovelin::cli {

// The size in bytes; none for anything else, for 0, and for sizes beyond 64 bits.
std::optional<std::uint64_t> parseByteSize(std::string_view text);

}  // namespace trovelin::cli
