#include "streaming/TextRecord.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <string>

#include "streaming/Errors.h"
#include "streaming/ValueTag.h"

namespace trovelin {
namespace {

[[noreturn]] void failValue() { throw EReadError(messages::invalidPropertyValue); }

void putByte(std::vector<std::uint8_t>& out, std::uint8_t byte) { out.push_back(byte); }

void putTag(std::vector<std::uint8_t>& out, ValueTag tag) { putByte(out, static_cast<std::uint8_t>(tag)); }

void putLittleEndian(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) putByte(out, static_cast<std::uint8_t>(value >> (8 * i)));
}

void putShortString(std::vector<std::uint8_t>& out, std::string_view text)
{
    if (text.size() > 255) failValue();
    putByte(out, static_cast<std::uint8_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

void putInteger(std::vector<std::uint8_t>& out, std::int64_t value)
{
    if (value >= -128 && value <= 127) {
        putTag(out, ValueTag::Int8);
        putLittleEndian(out, static_cast<std::uint64_t>(value), 1);
    } else if (value >= -32768 && value <= 32767) {
        putTag(out, ValueTag::Int16);
        putLittleEndian(out, static_cast<std::uint64_t>(value), 2);
    } else {
        putTag(out, ValueTag::Int32);
        putLittleEndian(out, static_cast<std::uint64_t>(value), 4);
    }
}

bool isIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

class ValueParser {
public:
    ValueParser(std::string_view text, std::vector<std::uint8_t>& out) : text_(text), out_(out) {}

    void parseWhole()
    {
        value();
        skipSpaces();
        if (at_ != text_.size()) failValue();
    }

private:
    void skipSpaces()
    {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
    }
    bool peek(char c)
    {
        skipSpaces();
        return at_ < text_.size() && text_[at_] == c;
    }
    std::string_view identifier()
    {
        skipSpaces();
        const std::size_t start = at_;
        if (at_ == text_.size() || !isIdentStart(text_[at_])) failValue();
        while (at_ < text_.size() && isIdentChar(text_[at_])) ++at_;
        return text_.substr(start, at_ - start);
    }

    void value()
    {
        skipSpaces();
        if (at_ == text_.size()) failValue();
        const char c = text_[at_];
        if (c == '\'' || c == '#') return quotedOrCodes();
        if (c == '(') return list();
        if (c == '[') return set();
        if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) return integer();
        const std::string_view name = identifier();
        if (name == "True" || name == "False") return putTag(out_, name == "True" ? ValueTag::True : ValueTag::False);
        putTag(out_, ValueTag::Ident);
        putShortString(out_, name);
    }

    // Quoted runs ('it''s') and character codes (#13, #200, #8364), side by side with nothing
    // between them, make one string. Codes above 255 make it a wide string.
    void quotedOrCodes()
    {
        std::u16string text;
        while (at_ < text_.size() && (text_[at_] == '\'' || text_[at_] == '#')) {
            if (text_[at_] == '#')
                text += characterCode();
            else
                quotedRun(text);
        }
        const bool wide = std::any_of(text.begin(), text.end(), [](char16_t c) { return c > 0xFF; });
        if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) failValue();
        if (wide) {
            putTag(out_, ValueTag::WString);
            putLittleEndian(out_, text.size(), 4);
            for (char16_t c : text) putLittleEndian(out_, c, 2);
            return;
        }
        const std::string bytes(text.begin(), text.end());
        if (bytes.size() <= 255) {
            putTag(out_, ValueTag::String);
            putShortString(out_, bytes);
            return;
        }
        putTag(out_, ValueTag::LString);
        putLittleEndian(out_, bytes.size(), 4);
        out_.insert(out_.end(), bytes.begin(), bytes.end());
    }

    // The bytes of a quoted run, each one character, with '' standing for one quote.
    void quotedRun(std::u16string& text)
    {
        for (++at_;; ++at_) {
            if (at_ == text_.size()) failValue();
            if (text_[at_] != '\'') {
                text += static_cast<char16_t>(static_cast<unsigned char>(text_[at_]));
                continue;
            }
            if (at_ + 1 < text_.size() && text_[at_ + 1] == '\'') {
                text += u'\'';
                ++at_;
                continue;
            }
            ++at_;
            return;
        }
    }

    // "#" and a decimal code of 0..65535.
    char16_t characterCode()
    {
        const std::size_t start = ++at_;
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
        unsigned code = 0;
        const auto [end, error] = std::from_chars(text_.data() + start, text_.data() + at_, code);
        if (error != std::errc() || end != text_.data() + at_ || code > 0xFFFF) failValue();
        return static_cast<char16_t>(code);
    }

    void integer()
    {
        const std::size_t start = at_;
        if (text_[at_] == '-') ++at_;
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
        std::int64_t number = 0;
        const auto [end, error] = std::from_chars(text_.data() + start, text_.data() + at_, number);
        if (error != std::errc() || end != text_.data() + at_ || number < std::numeric_limits<std::int32_t>::min() ||
            number > std::numeric_limits<std::int32_t>::max())
            failValue();
        putInteger(out_, number);
    }

    void list()
    {
        if (++depth_ > maxListDepth) failValue();
        ++at_;
        putTag(out_, ValueTag::List);
        while (!peek(')')) value();
        ++at_;
        putByte(out_, 0);
        --depth_;
    }

    void set()
    {
        ++at_;
        putTag(out_, ValueTag::Set);
        for (bool first = true; !peek(']'); first = false) {
            if (!first) {
                if (!peek(',')) failValue();
                ++at_;
            }
            putShortString(out_, identifier());
        }
        ++at_;
        putByte(out_, 0);
    }

    std::string_view text_;
    static constexpr int maxListDepth = 64;
    std::size_t at_ = 0;
    int depth_ = 0;
    std::vector<std::uint8_t>& out_;
};

void appendEntry(std::vector<std::uint8_t>& out, const RecordNode& node)
{
    putShortString(out, node.className);
    putShortString(out, node.name);
    for (const auto& [name, value] : node.properties) {
        putShortString(out, name);
        appendTextValue(out, value);
    }
    putByte(out, 0);
    for (const RecordNode& child : node.children) appendEntry(out, child);
    putByte(out, 0);
}

}  // namespace

void appendTextValue(std::vector<std::uint8_t>& record, std::string_view text)
{
    ValueParser(text, record).parseWhole();
}

std::vector<std::uint8_t> recordFromText(const RecordNode& root)
{
    std::vector<std::uint8_t> record(std::begin(recordSignature), std::end(recordSignature));
    appendEntry(record, root);
    return record;
}

}  // namespace trovelin
