#pragma once
// Builds metafile data as "Picture.Data" stores it after the class name "TMetafile".

#include <array>
#include <cstdint>
#include <vector>

namespace trovelin::testing {

// L, the 22-byte placeable header (with its checksum) for the bounds in units of
// `unitsPerInch`, then `records`.
std::vector<std::uint8_t> placeableMetafileData(std::int16_t left, std::int16_t top, std::int16_t right,
                                                std::int16_t bottom, std::uint16_t unitsPerInch,
                                                const std::vector<std::uint8_t>& records);

// L (unused by this form), then an EMF header saying `byteCount` bytes and the frame (left,
// top, right, bottom), zero-padded to `storedBytes` (at least 101, so that the form is recognised).
std::vector<std::uint8_t> enhancedMetafileData(std::uint32_t byteCount, std::array<std::int32_t, 4> frame,
                                               std::uint32_t storedBytes);

}  // namespace trovelin::testing
