#include "streaming/RecordText.h"

#include <cstdint>
#include <cstdio>
#include <type_traits>

#include "streaming/Errors.h"
#include "streaming/PictureSummary.h"
#include "streaming/PrintableText.h"
#include "streaming/Reader.h"
#include "streaming/Stream.h"
#include "streaming/TypeInfo.h"

namespace trovelin {

namespace {

// Characters 32..126 stand inside quotes, every other one as its code, in runs that need no
// separator between them.
template <class CodeUnits> std::string quotedCodes(const CodeUnits& text)
{
    if (text.empty()) return "''";
    std::string out;
    bool inQuotes = false;
    for (const auto unit : text) {
        const auto code = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<decltype(unit)>>(unit));
        const bool plain = code >= 0x20 && code < 0x7F;
        if (plain != inQuotes) {
            out += '\'';
            inQuotes = plain;
        }
        if (!plain) {
            out += '#';
            out += std::to_string(code);
        } else {
            if (code == '\'') out += '\'';
            out += static_cast<char>(code);
        }
    }
    if (inQuotes) out += '\'';
    return out;
}

// Joins pieces; used instead of "literal" + string, which GCC 12 misreports as overlapping.
std::string concat(std::initializer_list<std::string_view> pieces)
{
    std::string out;
    for (std::string_view piece : pieces) out += piece;
    return out;
}

// Appends `item` to a separated list.
void appendItem(std::string& list, std::string_view separator, std::string_view item)
{
    if (!list.empty()) list += separator;
    list += item;
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// "Picture.Data" holds a picture payload, "Glyph.Data" a bitmap's: both are summarised as
// what they decode to, or why they do not.
std::string binarySummary(std::string_view property, const std::vector<std::uint8_t>& bytes, PixelBudget* budget)
{
    std::string text = concat({"{", std::to_string(bytes.size()), " bytes"});
    const auto endsWith = [property](std::string_view suffix) {
        return property.size() >= suffix.size() && sameText(property.substr(property.size() - suffix.size()), suffix);
    };
    if (endsWith("Picture.Data")) text += concat({": ", picturePayloadSummary(bytes, budget)});
    else if (endsWith("Glyph.Data")) text += concat({": ", bitmapPayloadSummary(bytes, budget)});
    return text + "}";
}

class TreeReader {
public:
    explicit TreeReader(Stream& stream) : reader_(stream), pixelBudget_(stream.pixelBudget()) {}

    void record(RecordNode& root)
    {
        reader_.readSignature();
        component(0, root);
    }

private:
    void component(int depth, RecordNode& node)
    {
        enter(depth);
        Reader::EntryPrefix prefix = reader_.readPrefix();
        node.inherited = prefix.inherited;
        if (prefix.hasPosition) node.position = prefix.position;
        node.className = reader_.readShortString();
        node.name = reader_.readShortString();
        while (!reader_.endOfList()) {
            std::string property = reader_.readShortString();
            std::string text = value(depth + 1, property);
            node.properties.emplace_back(std::move(property), std::move(text));
        }
        reader_.readValue();
        while (!reader_.endOfList()) component(depth + 1, node.children.emplace_back());
        reader_.readValue();
    }

    std::string value(int depth, std::string_view property)
    {
        switch (reader_.nextValue()) {
        case ValueTag::List: {
            enter(depth);
            reader_.readListBegin();
            std::string items;
            while (!reader_.endOfList()) appendItem(items, " ", value(depth + 1, property));
            reader_.readListEnd();
            return concat({"(", items, ")"});
        }
        case ValueTag::Int8:
        case ValueTag::Int16:
        case ValueTag::Int32: return std::to_string(reader_.readInteger());
        case ValueTag::Extended: return number(reader_.readFloat());
        case ValueTag::String:
        case ValueTag::LString: return quotedText(reader_.readString());
        case ValueTag::Ident:
        case ValueTag::False:
        case ValueTag::True:
        case ValueTag::Nil:
        case ValueTag::Null: return reader_.readIdent();
        case ValueTag::Binary: return binarySummary(property, reader_.readBinary(), pixelBudget_);
        case ValueTag::Set: {
            std::string elements;
            for (const std::string& element : reader_.readSet()) appendItem(elements, ", ", element);
            return concat({"[", elements, "]"});
        }
        case ValueTag::Collection: return collection(depth);
        case ValueTag::Single: return number(reader_.readSingle());
        case ValueTag::Currency: {
            std::int64_t scaled = reader_.readCurrency();
            std::uint64_t magnitude = scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
            char text[40];
            std::snprintf(text, sizeof text, "%s%llu.%04llu", scaled < 0 ? "-" : "",
                          static_cast<unsigned long long>(magnitude / 10000),
                          static_cast<unsigned long long>(magnitude % 10000));
            return text;
        }
        case ValueTag::Date: return concat({"date ", number(reader_.readDate())});
        case ValueTag::WString: return quotedCodes(reader_.readWideString());
        }
        throw EReadError(messages::invalidStreamFormat);
    }

    std::string collection(int depth)
    {
        enter(depth);
        reader_.readValue();
        std::string items;
        while (!reader_.endOfList()) {
            if (isIntegerTag(reader_.nextValue()))
                items += concat({"[", std::to_string(reader_.readInteger()), "] "});
            reader_.readListBegin();
            std::string properties;
            while (!reader_.endOfList()) {
                std::string name = reader_.readShortString();
                appendItem(properties, " ", concat({name, " = ", value(depth + 1, name)}));
            }
            reader_.readListEnd();
            items += concat({"item ", properties, " end "});
        }
        reader_.readListEnd();
        return concat({"<", items, ">"});
    }

    // The same nesting limit as the reader's, so that hostile nesting cannot exhaust the stack.
    static void enter(int depth)
    {
        if (depth >= maxNestingDepth) throw EReadError(messages::invalidStreamFormat);
    }

    Reader reader_;
    PixelBudget* pixelBudget_;
};

void writeNode(const RecordNode& node, int depth, std::string& out)
{
    auto line = [&out](int indent, std::string_view text) {
        out.append(static_cast<std::size_t>(2 * indent), ' ');
        out += text;
        out += '\n';
    };
    const std::string position = node.position ? concat({" [", std::to_string(*node.position), "]"}) : "";
    line(depth, concat({node.inherited ? "inherited " : "object ", printableText(node.name), ": ",
                        printableText(node.className), position}));
    for (const auto& [name, value] : node.properties)
        line(depth + 1, concat({printableText(name), " = ", printableText(value)}));
    for (const RecordNode& child : node.children) writeNode(child, depth + 1, out);
    line(depth, "end");
}

}  // namespace

std::string quotedText(std::string_view bytes)
{
    return quotedCodes(bytes);
}

void readRecordTree(Stream& stream, RecordNode& root)
{
    TreeReader(stream).record(root);
}

std::string recordToText(const RecordNode& root)
{
    std::string out;
    writeNode(root, 0, out);
    return out;
}

std::string recordToText(Stream& stream)
{
    RecordNode root;
    readRecordTree(stream, root);
    return recordToText(root);
}

}  // namespace trovelin
