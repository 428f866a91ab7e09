#include "panelfile/Json.h"

#include <cstdio>

#include "streaming/PrintableText.h"

namespace trovelin {

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (const std::size_t length = utf8SequenceLength(text, i)) {
            out.append(text.substr(i, length));
            i += length - 1;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));  // a Latin-1 byte as UTF-8
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out + "\"";
}

std::string jsonPathField(std::string_view key, std::string_view path)
{
    std::string field = "\"" + std::string(key) + "\":" + jsonString(path);
    bool validUtf8 = true;
    for (std::size_t at = 0; at < path.size() && validUtf8;) {
        const auto byte = static_cast<unsigned char>(path[at]);
        const std::size_t length = byte < 0x80 ? 1 : utf8SequenceLength(path, at);
        validUtf8 = length != 0;
        at += length;
    }
    if (validUtf8) return field;
    static const char digits[] = "0123456789abcdef";
    field += ",\"" + std::string(key) + "_bytes\":\"";
    for (const char character : path) {
        const auto byte = static_cast<unsigned char>(character);
        field += digits[byte >> 4];
        field += digits[byte & 15];
    }
    return field + "\"";
}

}  // namespace trovelin
