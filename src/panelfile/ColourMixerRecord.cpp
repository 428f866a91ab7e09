#include "panelfile/ColourMixerRecord.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>

#include "framework/Control.h"
#include "panelfile/ColourMixerProperties.h"
#include "panelfile/ReportedRecordError.h"
#include "streaming/LittleEndian.h"
#include "streaming/Stream.h"
#include "streaming/ValueTag.h"

namespace trovelin {

namespace {

enum class Entry { ClassName, Left, Top, Width, Height, Tag, RGBset, Cyan, Magenta, Yellow, Color };

struct KnownEntry {
    std::string_view name;
    Entry entry;
};

// The names worth testing for an entry, by its first character, in the order they are tested.
// An empty list means the character is outside the table and the entry is passed over.
std::span<const KnownEntry> candidatesFor(char first)
{
    static constexpr KnownEntry c[] = {{"Cyan", Entry::Cyan}, {"Color", Entry::Color}};
    static constexpr KnownEntry h[] = {{"Height", Entry::Height}};
    static constexpr KnownEntry l[] = {{"Left", Entry::Left}};
    static constexpr KnownEntry m[] = {{"Magenta", Entry::Magenta}};
    static constexpr KnownEntry r[] = {{"RGBset", Entry::RGBset}};
    static constexpr KnownEntry t[] = {{"Tag", Entry::Tag}, {"Top", Entry::Top}, {"TCMY", Entry::ClassName}};
    static constexpr KnownEntry w[] = {{"Width", Entry::Width}};
    static constexpr KnownEntry y[] = {{"Yellow", Entry::Yellow}};
    switch (first) {
    case 'C': return c;
    case 'H': return h;
    case 'L': return l;
    case 'M': return m;
    case 'R': return r;
    case 'T': return t;
    case 'W': return w;
    case 'Y': return y;
    default: return {};
    }
}

bool accepts(Entry entry, ValueTag tag)
{
    switch (entry) {
    // The class name's "tag" is the component name's length byte: only an empty name passes.
    case Entry::ClassName: return tag == ValueTag::Null;
    // Positions and sizes come in 8 or 16 bits; a 32-bit one is refused like any other wrong kind.
    case Entry::Left:
    case Entry::Top:
    case Entry::Width:
    case Entry::Height: return tag == ValueTag::Int8 || tag == ValueTag::Int16;
    case Entry::Tag: return isIntegerTag(tag);
    case Entry::RGBset: return tag == ValueTag::False || tag == ValueTag::True;
    case Entry::Cyan:
    case Entry::Magenta:
    case Entry::Yellow: return tag == ValueTag::String;
    case Entry::Color: return tag == ValueTag::Ident || tag == ValueTag::Int32;
    }
    return false;
}

// One walk over one record. Every refusal, the end of the file included, goes through report(),
// which puts the stream back at the record's start.
class MixerRecordWalk {
public:
    MixerRecordWalk(Stream& stream, TControl& control, ColourMixerProperties& mixer)
        : stream_(stream), start_(stream.position()), control_(control), mixer_(mixer)
    {
    }

    void run()
    {
        char signature[sizeof recordSignature];
        readBytes(signature, sizeof signature);
        if (std::memcmp(signature, recordSignature, sizeof signature) != 0) report(colourMixerMessages::format);
        // The class name is walked as the first entry, with the component name's length as its tag.
        for (;;) {
            const std::uint8_t length = readByte();
            if (length == 0) {
                if (readByte() != 0) report(colourMixerMessages::incorrectEnd);  // a child list
                return;
            }
            std::string name(length, '\0');
            readBytes(name.data(), name.size());
            readEntry(name, static_cast<ValueTag>(readByte()));
        }
    }

private:
    [[noreturn]] void report(const char* message)
    {
        stream_.setPosition(start_);
        throw ReportedRecordError(message);
    }

    // The end of the file inside the record is a record out of format.
    void readBytes(void* destination, std::size_t count)
    {
        if (stream_.read(destination, count) != count) report(colourMixerMessages::format);
    }

    std::uint8_t readByte()
    {
        std::uint8_t value = 0;
        readBytes(&value, 1);
        return value;
    }

    void passOver(std::int64_t count)
    {
        if (stream_.remaining() < count) report(colourMixerMessages::format);
        stream_.seek(count, SeekOrigin::Current);
    }

    std::int32_t readInteger(ValueTag tag)
    {
        std::uint8_t bytes[4] = {};
        switch (tag) {
        case ValueTag::Int8: readBytes(bytes, 1); return static_cast<std::int8_t>(bytes[0]);
        case ValueTag::Int16: readBytes(bytes, 2); return fromLittleEndian<std::int16_t>(bytes);
        default: readBytes(bytes, 4); return fromLittleEndian<std::int32_t>(bytes);
        }
    }

    // A colour component is a string of exactly one character.
    std::uint8_t readComponent()
    {
        if (readByte() != 1) report(colourMixerMessages::property);
        return readByte();
    }

    // Entries the mixer does not know ("Visible", "Font.Name"...) are passed over whole, payload
    // included, so that their payload is never taken for the next entry's name.
    void skipPayload()
    {
        stream_.seek(-1, SeekOrigin::Current);  // back to the tag
        try {
            Reader reader(stream_);
            reader.skipValue();
        } catch (const Exception&) {
            report(colourMixerMessages::format);
        }
    }

    void readEntry(std::string_view name, ValueTag tag)
    {
        const std::span<const KnownEntry> candidates = candidatesFor(name.front());
        if (candidates.empty()) {
            skipPayload();
            return;
        }
        const auto known = std::find_if(candidates.begin(), candidates.end(),
                                        [name](const KnownEntry& candidate) { return candidate.name == name; });
        if (known == candidates.end()) report(colourMixerMessages::property);
        if (!accepts(known->entry, tag)) report(colourMixerMessages::valueType);
        switch (known->entry) {
        case Entry::ClassName: return;
        case Entry::Left: control_.setLeft(readInteger(tag)); return;
        case Entry::Top: control_.setTop(readInteger(tag)); return;
        case Entry::Width: control_.setWidth(readInteger(tag)); return;
        case Entry::Height: control_.setHeight(readInteger(tag)); return;
        case Entry::Tag: control_.setTag(readInteger(tag)); return;
        case Entry::RGBset: mixer_.SetRGB(tag == ValueTag::True); return;
        case Entry::Cyan: mixer_.SetCyan(readComponent()); return;
        case Entry::Magenta: mixer_.SetMagenta(readComponent()); return;
        case Entry::Yellow: mixer_.SetYellow(readComponent()); return;
        case Entry::Color: passOver(tag == ValueTag::Ident ? readByte() : 4); return;
        }
    }

    Stream& stream_;
    const std::int64_t start_;
    TControl& control_;
    ColourMixerProperties& mixer_;
};

}  // namespace

void readColourMixerRecord(Stream& stream, TControl& control, ColourMixerProperties& mixer)
{
    MixerRecordWalk(stream, control, mixer).run();
}

void readColourMixerControl(Stream& stream, TControl& control, const ReaderEnvironment&)
{
    readColourMixerRecord(stream, control, dynamic_cast<ColourMixerProperties&>(control));
}

}  // namespace trovelin
