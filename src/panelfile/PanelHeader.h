#pragma once
// The header of a panel file: its variant, per-channel tables, the two optional chunks and the
// title. The loader keeps these values for the file being loaded; nothing interprets them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace trovelin {

class Stream;

enum class PanelVariant { Small, Large };  // "KVL0" with 32-channel tables, "KVLP" with 256

inline constexpr int maxPanelChannels = 256;

// Channel i is bit i%32 of word i/32.
using ChannelBitSet = std::array<std::uint32_t, maxPanelChannels / 32>;

bool isChannelSet(const ChannelBitSet& bits, int channel);  // false outside 0..255

struct PanelHeader {
    PanelVariant variant = PanelVariant::Small;
    std::uint16_t channelCount = 0;  // 0..256
    // A small file fills the first 32 entries of every table; the rest stay zero.
    ChannelBitSet channelBits{};
    std::array<std::uint8_t, maxPanelChannels> channelBytes{};
    std::array<std::uint16_t, maxPanelChannels> channelWords{};
    std::array<std::uint16_t, maxPanelChannels> blco{};  // all zero without a BLCO chunk
    ChannelBitSet smthBits{};  // from the SMTH chunk, else derived from the channel byte table
    std::string title;
    bool hasBlco = false;  // which of the optional chunks the file holds
    bool hasSmth = false;

    bool operator==(const PanelHeader&) const = default;
};

// Reads the header at the stream's position; nullopt when the magic is not a panel file's.
// On success the stream stands on the first byte of the background record. A file that ends
// inside the header is not an error here: what could not be read stays zero, and the record
// read that follows fails instead.
std::optional<PanelHeader> readPanelHeader(Stream& stream);

}  // namespace trovelin
