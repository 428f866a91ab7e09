#include "support/MetafileWriter.h"

#include <algorithm>

#include "support/BmpWriter.h"

namespace trovelin::testing {

std::vector<std::uint8_t> placeableMetafileData(std::int16_t left, std::int16_t top, std::int16_t right,
                                                std::int16_t bottom, std::uint16_t unitsPerInch,
                                                const std::vector<std::uint8_t>& records)
{
    std::vector<std::uint8_t> header;
    putU32(header, 0x9AC6CDD7);
    putU16(header, 0);
    for (std::int16_t v : {left, top, right, bottom}) putU16(header, static_cast<std::uint16_t>(v));
    putU16(header, unitsPerInch);
    putU32(header, 0);
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2) checksum ^= static_cast<std::uint16_t>(header[i] | (header[i + 1] << 8));
    putU16(header, checksum);
    std::vector<std::uint8_t> data;
    putU32(data, static_cast<std::uint32_t>(4 + header.size() + records.size()));
    data.insert(data.end(), header.begin(), header.end());
    data.insert(data.end(), records.begin(), records.end());
    return data;
}

std::vector<std::uint8_t> enhancedMetafileData(std::uint32_t byteCount, std::array<std::int32_t, 4> frame,
                                               std::uint32_t storedBytes)
{
    std::vector<std::uint8_t> data;
    putU32(data, 0);
    std::vector<std::uint8_t> emf(std::max<std::uint32_t>(storedBytes, 101), 0);
    patchU32(emf, 0, 1);
    for (std::size_t i = 0; i < 4; ++i) patchU32(emf, 24 + 4 * i, static_cast<std::uint32_t>(frame[i]));
    patchU32(emf, 40, 0x464D4520);
    patchU32(emf, 48, byteCount);
    data.insert(data.end(), emf.begin(), emf.end());
    return data;
}

}  // namespace trovelin::testing
