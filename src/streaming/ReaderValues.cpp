// The reader's byte level: read-ahead buffer, tagged values, list markers and skipping.

#include <cstring>

#include "streaming/Errors.h"
#include "streaming/LittleEndian.h"
#include "streaming/Extended.h"
#include "streaming/Reader.h"
#include "streaming/Stream.h"

namespace trovelin {

namespace {
[[noreturn]] void failReadError() { throw EReadError(messages::streamReadError); }
[[noreturn]] void failInvalidValue() { throw EReadError(messages::invalidPropertyValue); }
[[noreturn]] void failStreamFormat() { throw EReadError(messages::invalidStreamFormat); }
}  // namespace

const ClassInfo* ClassRegistry::find(std::string_view name) const
{
    for (const ClassInfo* info : classes_)
        if (sameText(info->name(), name)) return info;
    return nullptr;
}

Reader::Reader(Stream& stream, ReaderEnvironment environment)
    : stream_(stream), environment_(std::move(environment))
{
}

Reader::~Reader()
{
    handBack();
}

void Reader::handBack()
{
    std::size_t unused = bufferEnd_ - bufferPosition_;
    if (unused != 0) stream_.seek(-static_cast<std::int64_t>(unused), SeekOrigin::Current);
    bufferPosition_ = bufferEnd_ = 0;
}

void Reader::fillBuffer()
{
    bufferPosition_ = 0;
    bufferEnd_ = stream_.read(buffer_.data(), buffer_.size());
}

std::int64_t Reader::available()
{
    return static_cast<std::int64_t>(bufferEnd_ - bufferPosition_) + stream_.remaining();
}

void Reader::readBytes(void* destination, std::size_t count)
{
    if (count == 0) return;  // an empty value may come with a null destination
    auto* out = static_cast<std::uint8_t*>(destination);
    std::size_t buffered = bufferEnd_ - bufferPosition_;
    if (count <= buffered) {
        std::memcpy(out, buffer_.data() + bufferPosition_, count);
        bufferPosition_ += count;
        return;
    }
    if (buffered != 0) std::memcpy(out, buffer_.data() + bufferPosition_, buffered);
    bufferPosition_ = bufferEnd_;
    out += buffered;
    count -= buffered;
    if (count >= buffer_.size()) {
        // Large payloads go straight from the stream to their destination.
        if (stream_.read(out, count) != count) failReadError();
        return;
    }
    fillBuffer();
    if (bufferEnd_ < count) {
        bufferPosition_ = bufferEnd_;
        failReadError();
    }
    std::memcpy(out, buffer_.data(), count);
    bufferPosition_ = count;
}

void Reader::skipBytes(std::int64_t count)
{
    if (count > available()) failReadError();
    std::size_t buffered = bufferEnd_ - bufferPosition_;
    if (static_cast<std::uint64_t>(count) <= buffered) {
        bufferPosition_ += static_cast<std::size_t>(count);
        return;
    }
    bufferPosition_ = bufferEnd_;
    stream_.seek(count - static_cast<std::int64_t>(buffered), SeekOrigin::Current);
}

std::uint8_t Reader::readByte()
{
    if (bufferPosition_ == bufferEnd_) {
        fillBuffer();
        if (bufferEnd_ == 0) failReadError();
    }
    return buffer_[bufferPosition_++];
}

std::uint8_t Reader::peekByte()
{
    std::uint8_t b = readByte();
    --bufferPosition_;
    return b;
}

std::uint32_t Reader::readLength()
{
    std::uint8_t bytes[4];
    readBytes(bytes, 4);
    return fromLittleEndian<std::uint32_t>(bytes);
}

ValueTag Reader::readValue()
{
    return static_cast<ValueTag>(readByte());
}

ValueTag Reader::nextValue()
{
    return static_cast<ValueTag>(peekByte());
}

std::string Reader::readShortString()
{
    std::size_t length = readByte();
    std::string text(length, '\0');
    readBytes(text.data(), length);
    return text;
}

void Reader::readSignature()
{
    char signature[4];
    readBytes(signature, 4);
    if (std::memcmp(signature, recordSignature, 4) != 0) failStreamFormat();
}

Reader::EntryPrefix Reader::readPrefix()
{
    EntryPrefix prefix;
    std::uint8_t b = peekByte();
    if ((b & prefixMarker) == prefixMarker) {
        readByte();
        prefix.inherited = (b & prefixInherited) != 0;
        if (b & prefixChildPosition) {
            prefix.hasPosition = true;
            prefix.position = readInteger();
        }
    }
    return prefix;
}

std::int32_t Reader::readIntegerPayload(ValueTag tag)
{
    std::uint8_t bytes[4];
    switch (tag) {
    case ValueTag::Int8: readBytes(bytes, 1); return static_cast<std::int8_t>(bytes[0]);
    case ValueTag::Int16: readBytes(bytes, 2); return fromLittleEndian<std::int16_t>(bytes);
    case ValueTag::Int32: readBytes(bytes, 4); return fromLittleEndian<std::int32_t>(bytes);
    default: failInvalidValue();
    }
}

std::int32_t Reader::readInteger()
{
    return readIntegerPayload(readValue());
}

double Reader::readFloat()
{
    ValueTag tag = readValue();
    if (tag != ValueTag::Extended) return readIntegerPayload(tag);
    std::array<std::uint8_t, 10> bytes;
    readBytes(bytes.data(), bytes.size());
    return extendedToDouble(bytes);
}

float Reader::readSingle()
{
    ValueTag tag = readValue();
    if (tag != ValueTag::Single) return static_cast<float>(readIntegerPayload(tag));
    std::uint8_t bytes[4];
    readBytes(bytes, 4);
    std::uint32_t bits = fromLittleEndian<std::uint32_t>(bytes);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

std::int64_t Reader::readCurrency()
{
    ValueTag tag = readValue();
    if (tag != ValueTag::Currency) return static_cast<std::int64_t>(readIntegerPayload(tag)) * 10000;
    std::uint8_t bytes[8];
    readBytes(bytes, 8);
    return fromLittleEndian<std::int64_t>(bytes);
}

double Reader::readDate()
{
    ValueTag tag = readValue();
    if (tag != ValueTag::Date) return readIntegerPayload(tag);
    std::uint8_t bytes[8];
    readBytes(bytes, 8);
    std::uint64_t bits = fromLittleEndian<std::uint64_t>(bytes);
    double value;
    std::memcpy(&value, &bits, 8);
    return value;
}

std::string Reader::readString()
{
    ValueTag tag = readValue();
    if (tag == ValueTag::String) return readShortString();
    if (tag != ValueTag::LString) failInvalidValue();
    std::uint32_t length = readLength();
    if (length > available()) failReadError();
    std::string text(length, '\0');
    readBytes(text.data(), length);
    return text;
}

std::u16string Reader::readWideString()
{
    if (readValue() != ValueTag::WString) failInvalidValue();
    std::uint32_t count = readLength();
    if (2 * static_cast<std::int64_t>(count) > available()) failReadError();
    std::u16string text(count, u'\0');
    for (char16_t& c : text) {
        std::uint8_t bytes[2];
        readBytes(bytes, 2);
        c = static_cast<char16_t>(readLe16(bytes));
    }
    return text;
}

std::vector<std::uint8_t> Reader::readBinary()
{
    if (readValue() != ValueTag::Binary) failInvalidValue();
    std::uint32_t size = readLength();
    if (size > available()) failReadError();
    std::vector<std::uint8_t> bytes(size);
    readBytes(bytes.data(), size);
    return bytes;
}

std::string Reader::readIdent()
{
    switch (readValue()) {
    case ValueTag::Ident: return readShortString();
    case ValueTag::False: return "False";
    case ValueTag::True: return "True";
    case ValueTag::Nil: return "nil";
    case ValueTag::Null: return "Null";
    default: failInvalidValue();
    }
}

std::vector<std::string> Reader::readSet()
{
    if (readValue() != ValueTag::Set) failInvalidValue();
    std::vector<std::string> names;
    for (std::string name = readShortString(); !name.empty(); name = readShortString())
        names.push_back(std::move(name));
    return names;
}

bool Reader::readBoolean()
{
    return readValue() == ValueTag::True;
}

char Reader::readChar()
{
    if (readValue() != ValueTag::String) failInvalidValue();
    std::string text = readShortString();
    if (text.size() != 1) failInvalidValue();
    return text[0];
}

Variant Reader::readVariant()
{
    switch (nextValue()) {
    case ValueTag::Null: readValue(); return VariantNull{};
    case ValueTag::Nil: readValue(); return VariantUnassigned{};
    case ValueTag::Int8:
    case ValueTag::Int16:
    case ValueTag::Int32: return readInteger();
    case ValueTag::Extended: return readFloat();
    case ValueTag::String:
    case ValueTag::LString: return readString();
    case ValueTag::False:
    case ValueTag::True: return readBoolean();
    case ValueTag::Single: return readSingle();
    case ValueTag::Currency: return Currency{readCurrency()};
    case ValueTag::Date: return DateTime{readDate()};
    case ValueTag::WString: return readWideString();
    default: failReadError();
    }
}

void Reader::readListBegin()
{
    if (readValue() != ValueTag::List) failInvalidValue();
}

bool Reader::endOfList()
{
    return nextValue() == ValueTag::Null;
}

void Reader::readListEnd()
{
    if (readValue() != ValueTag::Null) failInvalidValue();
}

Reader::DepthGuard::DepthGuard(Reader& reader) : reader_(reader)
{
    if (++reader_.depth_ > maxNestingDepth) {
        --reader_.depth_;
        failStreamFormat();
    }
}

void Reader::skipValue()
{
    switch (readValue()) {
    case ValueTag::Null:
    case ValueTag::False:
    case ValueTag::True:
    case ValueTag::Nil: return;
    case ValueTag::List: {
        DepthGuard guard(*this);
        while (!endOfList()) skipValue();
        readByte();
        return;
    }
    case ValueTag::Int8: skipBytes(1); return;
    case ValueTag::Int16: skipBytes(2); return;
    case ValueTag::Int32:
    case ValueTag::Single: skipBytes(4); return;
    case ValueTag::Extended: skipBytes(10); return;
    case ValueTag::Currency:
    case ValueTag::Date: skipBytes(8); return;
    case ValueTag::String:
    case ValueTag::Ident: skipBytes(readByte()); return;
    case ValueTag::Binary:
    case ValueTag::LString: skipBytes(readLength()); return;
    case ValueTag::WString: skipBytes(2 * static_cast<std::int64_t>(readLength())); return;
    case ValueTag::Set:
        for (std::uint8_t length = readByte(); length != 0; length = readByte()) skipBytes(length);
        return;
    case ValueTag::Collection: {
        DepthGuard guard(*this);
        while (!endOfList()) {
            if (isIntegerTag(nextValue())) readInteger();
            if (readValue() != ValueTag::List) failStreamFormat();
            while (!endOfList()) skipProperty();
            readByte();
        }
        readByte();
        return;
    }
    }
    failStreamFormat();  // tags above 18 are not part of the format
}

void Reader::skipProperty()
{
    readShortString();
    skipValue();
}

void Reader::skipComponent(bool skipHeader)
{
    DepthGuard guard(*this);
    if (skipHeader) {
        readPrefix();
        readShortString();
        readShortString();
    }
    while (!endOfList()) skipProperty();
    readByte();
    while (!endOfList()) skipComponent(true);
    readByte();
}

}  // namespace trovelin
