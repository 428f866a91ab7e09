#pragma once
// Integers stored least significant byte first, as every format this system reads stores them.

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace trovelin {

template <class T> T fromLittleEndian(const std::uint8_t* bytes)
{
    std::make_unsigned_t<T> value = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) value = static_cast<decltype(value)>((value << 8) | bytes[i]);
    return static_cast<T>(value);
}

inline std::uint16_t readLe16(const std::uint8_t* bytes) { return fromLittleEndian<std::uint16_t>(bytes); }
inline std::uint32_t readLe32(const std::uint8_t* bytes) { return fromLittleEndian<std::uint32_t>(bytes); }

}  // namespace trovelin
