#include "streaming/Metafile.h"

#include <algorithm>
#include <array>

#include "streaming/ClassInfo.h"
#include "streaming/Errors.h"
#include "streaming/LittleEndian.h"
#include "streaming/Stream.h"

namespace trovelin {

namespace {

constexpr std::size_t emfHeaderSize = 100;
constexpr std::uint32_t emfHeaderRecordType = 1;
constexpr std::uint32_t emfSignature = 0x464D4520;  // " EMF"
constexpr std::size_t placeableHeaderSize = 22;
constexpr std::uint32_t placeableKey = 0x9AC6CDD7;
// The length L counts itself and the placeable header.
constexpr std::int32_t minimumWmfLength = 4 + placeableHeaderSize;
constexpr int defaultUnitsPerInch = 96;
constexpr int hundredthsOfMmPerInch = 2540;
constexpr int screenPixelsPerInch = 96;

[[noreturn]] void refuse() { throw EInvalidGraphic(messages::metafileIsNotValid); }

// a * b / c rounded to the nearest integer, halves away from zero.
int mulDivRounded(std::int64_t a, std::int64_t b, std::int64_t c)
{
    const std::int64_t product = a * b;
    const std::int64_t half = c / 2;
    const std::int64_t quotient = product >= 0 ? (product + half) / c : (product - half) / c;
    return static_cast<int>(quotient);
}

// Reads up to `count` bytes; missing bytes at the end of the stream stay zero.
template <std::size_t N> std::array<std::uint8_t, N> readPlain(Stream& stream)
{
    std::array<std::uint8_t, N> bytes{};
    stream.read(bytes.data(), bytes.size());
    return bytes;
}

}  // namespace

const ClassInfo& TMetafile::staticClassInfo()
{
    static const ClassInfo info{"TMetafile", nullptr, {}};
    return info;
}

void TMetafile::readData(Stream& stream)
{
    const std::int32_t length = static_cast<std::int32_t>(readLe32(readPlain<4>(stream).data()));
    std::vector<std::uint8_t> records;
    if (stream.remaining() > static_cast<std::int64_t>(emfHeaderSize)) {
        std::array<std::uint8_t, emfHeaderSize> header = readPlain<emfHeaderSize>(stream);
        stream.seek(-static_cast<std::int64_t>(emfHeaderSize), SeekOrigin::Current);
        if (readLe32(header.data()) == emfHeaderRecordType && readLe32(header.data() + 40) == emfSignature) {
            const std::uint32_t byteCount = readLe32(header.data() + 48);
            if (byteCount < emfHeaderSize) refuse();
            if (byteCount > static_cast<std::uint64_t>(stream.remaining()))
                throw EReadError(messages::streamReadError);
            records.resize(byteCount);
            stream.readExact(records.data(), byteCount);
            const auto frame = [&](int offset) {
                return static_cast<std::int64_t>(static_cast<std::int32_t>(readLe32(header.data() + offset)));
            };
            install(std::move(records), true, static_cast<std::int32_t>(frame(32) - frame(24)),
                    static_cast<std::int32_t>(frame(36) - frame(28)));
            return;
        }
    }
    const std::array<std::uint8_t, placeableHeaderSize> header = readPlain<placeableHeaderSize>(stream);
    std::uint16_t checksum = 0;
    for (std::size_t offset = 0; offset < 20; offset += 2) checksum ^= readLe16(header.data() + offset);
    if (readLe32(header.data()) != placeableKey || checksum != readLe16(header.data() + 20)) refuse();
    if (length < minimumWmfLength) refuse();
    const auto recordBytes = std::min<std::int64_t>(length - minimumWmfLength, stream.remaining());
    records.resize(static_cast<std::size_t>(recordBytes));
    stream.read(records.data(), records.size());
    const auto coordinate = [&](int offset) { return static_cast<std::int16_t>(readLe16(header.data() + offset)); };
    const int unitsPerInch = readLe16(header.data() + 14) == 0 ? defaultUnitsPerInch : readLe16(header.data() + 14);
    install(std::move(records), false,
            mulDivRounded(coordinate(10) - coordinate(6), hundredthsOfMmPerInch, unitsPerInch),
            mulDivRounded(coordinate(12) - coordinate(8), hundredthsOfMmPerInch, unitsPerInch));
}

void TMetafile::install(std::vector<std::uint8_t> records, bool enhanced, int mmWidth, int mmHeight)
{
    records_ = std::move(records);
    enhanced_ = enhanced;
    mmWidth_ = mmWidth;
    mmHeight_ = mmHeight;
    changed();
}

int TMetafile::width() const
{
    return mulDivRounded(mmWidth_, screenPixelsPerInch, hundredthsOfMmPerInch);
}

int TMetafile::height() const
{
    return mulDivRounded(mmHeight_, screenPixelsPerInch, hundredthsOfMmPerInch);
}

std::unique_ptr<TGraphic> TMetafile::clone() const
{
    auto copy = std::make_unique<TMetafile>();
    copy->install(records_, enhanced_, mmWidth_, mmHeight_);
    return copy;
}

}  // namespace trovelin
