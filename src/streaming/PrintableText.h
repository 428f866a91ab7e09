#pragma once
// Text for a terminal. Names and texts come from panel files as they are stored, and a control
// character among them (an escape sequence, a C1 control) would steer the user's terminal: every
// printer of text puts such characters through here.

#include <cstddef>
#include <string>
#include <string_view>

namespace trovelin {

// The length of the valid UTF-8 sequence of two to four bytes at `at`, or 0.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at);

// `text` with control characters written as "\x1B": bytes below 0x20 and 0x7F, and the C1
// controls. Strings hold bytes, UTF-8 (paths, wide strings) or Windows-1252 (panel texts); as the
// terminal may take either, both a UTF-8 C1 character (0xC2 0x80..0x9F, written as two escapes)
// and a byte 0x80..0x9F outside a UTF-8 sequence count as one.
std::string printableText(std::string_view text);

}  // namespace trovelin
