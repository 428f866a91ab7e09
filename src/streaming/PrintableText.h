#pragma once
// Text for a terminal or a pipe. Names and texts come from panel files as they are stored, and a
// control character among them (an escape sequence, a C1 control) would steer the user's
// terminal, while a byte that is not UTF-8 breaks the readers of the output: every printer of
// text puts such characters through here.

#include <cstddef>
#include <string>
#include <string_view>

namespace trovelin {

// The length of the valid UTF-8 sequence of two to four bytes at `at`, or 0. Overlong forms,
// surrogates and code points beyond U+10FFFF are not valid.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at);

// `text` as valid UTF-8 without control characters: bytes below 0x20 and 0x7F, the C1 controls
// (0xC2 0x80..0x9F, written as two escapes) and every byte outside a valid UTF-8 sequence (a
// Windows-1252 letter of a panel text, a lone 0x9B) are written as "\x1B". Valid UTF-8 (paths,
// wide strings) stays as it is.
std::string printableText(std::string_view text);

}  // namespace trovelin
