#pragma once
// Builds panel files from values, for tests and seed tools (the product never writes them).
// Fields left at their defaults give a well-formed small file with empty tables, no chunks,
// an empty title and no records.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trovelin::testing {

struct PanelFileContent {
    bool large = false;                // "KVLP" with 256-channel tables, else "KVL0" with 32
    std::optional<std::string> magic;  // written instead of the variant's magic (any length)
    // Written as is: one byte in a small file (must then be below 256), two in a large one.
    std::uint16_t channelCount = 0;
    // Tables are padded with zeros to the variant's size; longer ones are a mistake of the test.
    std::vector<std::uint32_t> channelBits;  // bit-set words: channel i is bit i%32 of word i/32
    std::vector<std::uint8_t> channelBytes;
    std::vector<std::uint16_t> channelWords;
    std::optional<std::vector<std::uint16_t>> blco;  // the BLCO chunk, when set
    std::optional<std::vector<std::uint32_t>> smth;  // the SMTH chunk (bit-set words), when set
    bool smthBeforeBlco = false;                     // the wrong chunk order that some files have
    std::string title;                               // at most 255 characters
    std::vector<std::vector<std::uint8_t>> records;  // appended back to back after the title
};

std::vector<std::uint8_t> writePanelFile(const PanelFileContent& content);

// Channels per table of the variant: 32 or 256.
constexpr int panelTableChannels(bool large) { return large ? 256 : 32; }

}  // namespace trovelin::testing
