#pragma once
// Builds component records from values, so that tests and seed tools never carry opaque byte
// blobs. The product only reads records; this writer exists for tests and tooling alone.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "streaming/ValueWriter.h"

namespace trovelin::testing {

// It also serves the writers of defined properties, which write through ValueWriter.
class RecordWriter : public ValueWriter {
public:
    RecordWriter& signature();  // "TPF0"
    // Prefix byte 0xF0|flags (flags: 1 inherited, 2 child position); with flag 2 the position
    // follows as the smallest integer tag that holds it.
    RecordWriter& prefix(std::uint8_t flags, std::int32_t childPosition = 0);
    RecordWriter& names(std::string_view className, std::string_view componentName);
    // signature() + names(): the start of a root record without prefix.
    RecordWriter& beginRecord(std::string_view className, std::string_view componentName);
    // A child entry header without prefix.
    RecordWriter& beginChild(std::string_view className, std::string_view componentName);
    RecordWriter& property(std::string_view name);  // a value must follow
    RecordWriter& end();  // one 0 byte: ends a property list, child list, list or collection

    // Values: each writes its tag, then its payload.
    RecordWriter& integer(std::int64_t value);  // smallest of tags 2/3/4; fails outside the int32 range
    RecordWriter& int8(std::int8_t value);
    RecordWriter& int16(std::int16_t value);
    RecordWriter& int32(std::int32_t value);
    RecordWriter& extended(double value);  // 80-bit extended, exact for every double
    RecordWriter& string(std::string_view text);
    RecordWriter& ident(std::string_view name);
    RecordWriter& boolean(bool value);
    RecordWriter& binary(std::span<const std::uint8_t> bytes);
    RecordWriter& set(std::initializer_list<std::string_view> elements);
    RecordWriter& set(const std::vector<std::string_view>& elements);
    RecordWriter& longString(std::string_view text);
    RecordWriter& nil();
    RecordWriter& null();
    RecordWriter& beginList();        // close with end()
    RecordWriter& beginCollection();  // close with end()
    RecordWriter& collectionItem();   // an item's property list; close with end()
    RecordWriter& collectionItem(std::int32_t index);
    RecordWriter& single(float value);
    RecordWriter& currency(std::int64_t scaled);  // the amount times 10000
    RecordWriter& date(double days);
    RecordWriter& wideString(std::u16string_view text);

    // Building blocks for malformed input.
    RecordWriter& tag(std::uint8_t rawTag);
    RecordWriter& raw(std::span<const std::uint8_t> bytes);
    RecordWriter& rawU32(std::uint32_t value);  // little-endian, e.g. a length field that lies

    void writeListBegin() override { beginList(); }
    void writeInteger(std::int32_t value) override { integer(value); }
    void writeListEnd() override { end(); }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    void putLittleEndian(std::uint64_t value, int byteCount);
    void putShortString(std::string_view text);
    void putLength(std::size_t length);

    std::vector<std::uint8_t> bytes_;
};

void append(std::vector<std::uint8_t>& to, const std::vector<std::uint8_t>& bytes);

}  // namespace trovelin::testing
