#include "support/RecordWriter.h"

#include <array>
#include <bit>
#include <limits>
#include <stdexcept>

#include "streaming/ValueTag.h"

namespace trovelin::testing {

namespace {

std::uint8_t tagByte(ValueTag tag)
{
    return static_cast<std::uint8_t>(tag);
}

// Every double fits an 80-bit extended exactly: the 52 fraction bits move up under the explicit
// integer bit, and subnormal doubles are normalised, since the wider exponent reaches them.
std::array<std::uint8_t, 10> doubleToExtended(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);

    constexpr int doubleBias = 1023;
    constexpr int extendedBias = 16383;
    constexpr std::uint64_t integerBit = std::uint64_t{1} << 63;
    std::uint64_t mantissa = 0;
    unsigned extendedExponent = 0;
    if (exponent == 0x7FF) {
        extendedExponent = 0x7FFF;
        mantissa = integerBit | (fraction << 11);
    } else if (exponent == 0 && fraction == 0) {
        // zero: exponent and mantissa stay 0
    } else if (exponent == 0) {
        int unbiased = 1 - doubleBias;
        while ((fraction & (std::uint64_t{1} << 52)) == 0) {
            fraction <<= 1;
            --unbiased;
        }
        extendedExponent = static_cast<unsigned>(unbiased + extendedBias);
        mantissa = fraction << 11;
    } else {
        extendedExponent = static_cast<unsigned>(exponent - doubleBias + extendedBias);
        mantissa = integerBit | (fraction << 11);
    }
    if (negative) extendedExponent |= 0x8000;

    std::array<std::uint8_t, 10> out{};
    for (std::size_t i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    out[8] = static_cast<std::uint8_t>(extendedExponent);
    out[9] = static_cast<std::uint8_t>(extendedExponent >> 8);
    return out;
}

}  // namespace

void append(std::vector<std::uint8_t>& to, const std::vector<std::uint8_t>& bytes)
{
    to.insert(to.end(), bytes.begin(), bytes.end());
}

void RecordWriter::putLittleEndian(std::uint64_t value, int byteCount)
{
    for (int i = 0; i < byteCount; ++i) bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void RecordWriter::putShortString(std::string_view text)
{
    if (text.size() > 255) throw std::length_error("a short string holds at most 255 characters");
    bytes_.push_back(static_cast<std::uint8_t>(text.size()));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

void RecordWriter::putLength(std::size_t length)
{
    if (length > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("length exceeds 32 bits");
    putLittleEndian(length, 4);
}

RecordWriter& RecordWriter::signature()
{
    bytes_.insert(bytes_.end(), std::begin(recordSignature), std::end(recordSignature));
    return *this;
}

RecordWriter& RecordWriter::prefix(std::uint8_t flags, std::int32_t childPosition)
{
    bytes_.push_back(static_cast<std::uint8_t>(prefixMarker | flags));
    if (flags & prefixChildPosition) integer(childPosition);
    return *this;
}

RecordWriter& RecordWriter::names(std::string_view className, std::string_view componentName)
{
    putShortString(className);
    putShortString(componentName);
    return *this;
}

RecordWriter& RecordWriter::beginRecord(std::string_view className, std::string_view componentName)
{
    return signature().names(className, componentName);
}

RecordWriter& RecordWriter::beginChild(std::string_view className, std::string_view componentName)
{
    return names(className, componentName);
}

RecordWriter& RecordWriter::property(std::string_view name)
{
    putShortString(name);
    return *this;
}

RecordWriter& RecordWriter::end()
{
    bytes_.push_back(0);
    return *this;
}

RecordWriter& RecordWriter::integer(std::int64_t value)
{
    if (value >= std::numeric_limits<std::int8_t>::min() && value <= std::numeric_limits<std::int8_t>::max())
        return int8(static_cast<std::int8_t>(value));
    if (value >= std::numeric_limits<std::int16_t>::min() && value <= std::numeric_limits<std::int16_t>::max())
        return int16(static_cast<std::int16_t>(value));
    if (value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max())
        return int32(static_cast<std::int32_t>(value));
    throw std::out_of_range("records store integers of at most 32 bits");
}

RecordWriter& RecordWriter::int8(std::int8_t value)
{
    bytes_.push_back(tagByte(ValueTag::Int8));
    putLittleEndian(static_cast<std::uint8_t>(value), 1);
    return *this;
}

RecordWriter& RecordWriter::int16(std::int16_t value)
{
    bytes_.push_back(tagByte(ValueTag::Int16));
    putLittleEndian(static_cast<std::uint16_t>(value), 2);
    return *this;
}

RecordWriter& RecordWriter::int32(std::int32_t value)
{
    bytes_.push_back(tagByte(ValueTag::Int32));
    putLittleEndian(static_cast<std::uint32_t>(value), 4);
    return *this;
}

RecordWriter& RecordWriter::extended(double value)
{
    bytes_.push_back(tagByte(ValueTag::Extended));
    auto payload = doubleToExtended(value);
    bytes_.insert(bytes_.end(), payload.begin(), payload.end());
    return *this;
}

RecordWriter& RecordWriter::string(std::string_view text)
{
    bytes_.push_back(tagByte(ValueTag::String));
    putShortString(text);
    return *this;
}

RecordWriter& RecordWriter::ident(std::string_view name)
{
    bytes_.push_back(tagByte(ValueTag::Ident));
    putShortString(name);
    return *this;
}

RecordWriter& RecordWriter::boolean(bool value)
{
    bytes_.push_back(tagByte(value ? ValueTag::True : ValueTag::False));
    return *this;
}

RecordWriter& RecordWriter::binary(std::span<const std::uint8_t> bytes)
{
    bytes_.push_back(tagByte(ValueTag::Binary));
    putLength(bytes.size());
    return raw(bytes);
}

RecordWriter& RecordWriter::set(std::initializer_list<std::string_view> elements)
{
    return set(std::vector<std::string_view>(elements));
}

RecordWriter& RecordWriter::set(const std::vector<std::string_view>& elements)
{
    bytes_.push_back(tagByte(ValueTag::Set));
    for (std::string_view element : elements) {
        // An empty name would end the set early and desynchronise everything after it.
        if (element.empty()) throw std::invalid_argument("set elements need a name");
        putShortString(element);
    }
    bytes_.push_back(0);
    return *this;
}

RecordWriter& RecordWriter::longString(std::string_view text)
{
    bytes_.push_back(tagByte(ValueTag::LString));
    putLength(text.size());
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
}

RecordWriter& RecordWriter::nil()
{
    return tag(tagByte(ValueTag::Nil));
}

RecordWriter& RecordWriter::null()
{
    return tag(tagByte(ValueTag::Null));
}

RecordWriter& RecordWriter::beginList()
{
    return tag(tagByte(ValueTag::List));
}

RecordWriter& RecordWriter::beginCollection()
{
    return tag(tagByte(ValueTag::Collection));
}

RecordWriter& RecordWriter::collectionItem()
{
    return tag(tagByte(ValueTag::List));
}

RecordWriter& RecordWriter::collectionItem(std::int32_t index)
{
    return integer(index).collectionItem();
}

RecordWriter& RecordWriter::single(float value)
{
    bytes_.push_back(tagByte(ValueTag::Single));
    putLittleEndian(std::bit_cast<std::uint32_t>(value), 4);
    return *this;
}

RecordWriter& RecordWriter::currency(std::int64_t scaled)
{
    bytes_.push_back(tagByte(ValueTag::Currency));
    putLittleEndian(static_cast<std::uint64_t>(scaled), 8);
    return *this;
}

RecordWriter& RecordWriter::date(double days)
{
    bytes_.push_back(tagByte(ValueTag::Date));
    putLittleEndian(std::bit_cast<std::uint64_t>(days), 8);
    return *this;
}

RecordWriter& RecordWriter::wideString(std::u16string_view text)
{
    bytes_.push_back(tagByte(ValueTag::WString));
    putLength(text.size());
    for (char16_t c : text) putLittleEndian(c, 2);
    return *this;
}

RecordWriter& RecordWriter::tag(std::uint8_t rawTag)
{
    bytes_.push_back(rawTag);
    return *this;
}

RecordWriter& RecordWriter::raw(std::span<const std::uint8_t> bytes)
{
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

RecordWriter& RecordWriter::rawU32(std::uint32_t value)
{
    putLittleEndian(value, 4);
    return *this;
}

}  // namespace trovelin::testing
