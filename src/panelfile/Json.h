#pragma once
// Writing JSON strings: the few escapes the tool's output needs.

#include <string>
#include <string_view>

namespace trovelin {

// `text` as a quoted JSON string. Bytes that are not valid UTF-8 are taken as Windows-1252 /
// Latin-1 characters, as panel files store their text.
std::string jsonString(std::string_view text);

// `"key":"path"` for a file name; a name that is not valid UTF-8 also gets `"key_bytes"` with
// its bytes in hexadecimal, since the characters shown for them name no file.
std::string jsonPathField(std::string_view key, std::string_view path);

}  // namespace trovelin
