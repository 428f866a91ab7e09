#include "streaming/PrintableText.h"

#include <cstdio>

namespace trovelin {

namespace {

void appendEscaped(std::string& out, unsigned char byte)
{
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
    out += escaped;
}

// The range a sequence's second byte must lie in, which rules out overlong forms, surrogates
// and code points past U+10FFFF.
bool secondByteFits(unsigned char lead, unsigned char second)
{
    if (lead == 0xE0) return second >= 0xA0 && second <= 0xBF;
    if (lead == 0xED) return second >= 0x80 && second <= 0x9F;
    if (lead == 0xF0) return second >= 0x90 && second <= 0xBF;
    if (lead == 0xF4) return second >= 0x80 && second <= 0x8F;
    return (second & 0xC0) == 0x80;
}

}  // namespace

std::size_t utf8SequenceLength(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    if (length == 0 || at + length > text.size()) return 0;
    if (!secondByteFits(lead, static_cast<unsigned char>(text[at + 1]))) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
    return length;
}

std::string printableText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c >= 0x80 ? utf8SequenceLength(text, i) : 0;
        if (length == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            appendEscaped(out, c);
            appendEscaped(out, static_cast<unsigned char>(text[++i]));
        } else if (length > 0) {
            out.append(text.substr(i, length));
            i += length - 1;
        } else if (c < 0x20 || c >= 0x7F) {
            appendEscaped(out, c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace trovelin
