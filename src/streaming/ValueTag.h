#pragma once
// The value tags of the component record format: one byte before every value.

#include <cstdint>

namespace trovelin {

enum class ValueTag : std::uint8_t {
    Null = 0,        // also ends property lists, child lists and lists
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,    // 80-bit extended precision
    String = 6,      // short string
    Ident = 7,
    False = 8,
    True = 9,
    Binary = 10,
    Set = 11,
    LString = 12,
    Nil = 13,
    Collection = 14,
    Single = 15,
    Currency = 16,   // signed 64-bit, amount times 10000
    Date = 17,       // IEEE double
    WString = 18,
};

inline constexpr bool isIntegerTag(ValueTag tag)
{
    return tag == ValueTag::Int8 || tag == ValueTag::Int16 || tag == ValueTag::Int32;
}

inline constexpr char recordSignature[4] = {'T', 'P', 'F', '0'};

// The prefix byte before a class name: high nibble set, low nibble flags.
inline constexpr std::uint8_t prefixMarker = 0xF0;
inline constexpr std::uint8_t prefixInherited = 0x01;
inline constexpr std::uint8_t prefixChildPosition = 0x02;

}  // namespace trovelin
