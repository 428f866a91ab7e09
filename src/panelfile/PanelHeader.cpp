#include "panelfile/PanelHeader.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "streaming/LittleEndian.h"
#include "streaming/Stream.h"

namespace trovelin {

namespace {

constexpr char smallMagic[4] = {'K', 'V', 'L', '0'};
constexpr char largeMagic[4] = {'K', 'V', 'L', 'P'};
constexpr char blcoTag[4] = {'B', 'L', 'C', 'O'};
constexpr char smthTag[4] = {'S', 'M', 'T', 'H'};

// The largest field of the header: the word tables of the large variant.
constexpr std::size_t maxFieldBytes = 2 * maxPanelChannels;

// Reads as much of a field as the file still holds; the bytes past its end read as zero.
template <std::size_t N> std::array<std::uint8_t, N> readField(Stream& stream, std::size_t count)
{
    std::array<std::uint8_t, N> bytes{};
    stream.read(bytes.data(), std::min(count, N));
    return bytes;
}

void readWords(Stream& stream, std::span<std::uint16_t> words)
{
    auto bytes = readField<maxFieldBytes>(stream, 2 * words.size());
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = readLe16(bytes.data() + 2 * i);
}

void readBitSet(Stream& stream, std::span<std::uint32_t> words)
{
    auto bytes = readField<sizeof(ChannelBitSet)>(stream, 4 * words.size());
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = readLe32(bytes.data() + 4 * i);
}

// A chunk is known only by its tag at the one place it may stand; anything else is given back.
// A file that ends inside the tag gives back only the bytes it had: stepping back a whole tag
// would hand the end of the channel word table to the title instead.
bool readChunkTag(Stream& stream, const char (&tag)[4])
{
    char bytes[4];
    std::size_t got = stream.read(bytes, sizeof bytes);
    if (got == sizeof bytes && std::memcmp(bytes, tag, sizeof bytes) == 0) return true;
    stream.seek(-static_cast<std::int64_t>(got), SeekOrigin::Current);
    return false;
}

// Files without an SMTH chunk mark the channels whose byte table entry is 1 or 2.
void deriveSmthBits(PanelHeader& header)
{
    for (int channel = 0; channel < header.channelCount; ++channel) {
        std::uint8_t entry = header.channelBytes[static_cast<std::size_t>(channel)];
        if (entry == 1 || entry == 2) header.smthBits[static_cast<std::size_t>(channel / 32)] |= 1u << (channel % 32);
    }
}

}  // namespace

bool isChannelSet(const ChannelBitSet& bits, int channel)
{
    if (channel < 0 || channel >= maxPanelChannels) return false;
    return (bits[static_cast<std::size_t>(channel / 32)] >> (channel % 32)) & 1u;
}

std::optional<PanelHeader> readPanelHeader(Stream& stream)
{
    char magic[4];
    if (stream.read(magic, sizeof magic) != sizeof magic) return std::nullopt;
    PanelHeader header;
    if (std::memcmp(magic, smallMagic, sizeof magic) == 0)
        header.variant = PanelVariant::Small;
    else if (std::memcmp(magic, largeMagic, sizeof magic) == 0)
        header.variant = PanelVariant::Large;
    else
        return std::nullopt;

    // The variant alone fixes every table size; the count only bounds the SMTH derivation.
    const bool large = header.variant == PanelVariant::Large;
    const std::size_t channels = large ? maxPanelChannels : 32;
    const std::size_t bitSetWords = channels / 32;

    auto count = readField<2>(stream, large ? 2 : 1);
    header.channelCount = std::min<std::uint16_t>(readLe16(count.data()), maxPanelChannels);

    readBitSet(stream, std::span(header.channelBits).first(bitSetWords));
    stream.read(header.channelBytes.data(), channels);
    readWords(stream, std::span(header.channelWords).first(channels));

    header.hasBlco = readChunkTag(stream, blcoTag);
    if (header.hasBlco) readWords(stream, std::span(header.blco).first(channels));
    header.hasSmth = readChunkTag(stream, smthTag);
    if (header.hasSmth)
        readBitSet(stream, std::span(header.smthBits).first(bitSetWords));
    else
        deriveSmthBits(header);

    auto titleLength = readField<1>(stream, 1);
    header.title.resize(titleLength[0]);
    header.title.resize(stream.read(header.title.data(), header.title.size()));
    return header;
}

}  // namespace trovelin
