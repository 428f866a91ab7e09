#pragma once
// Text in records is single-byte Windows-1252 text.

#include <string_view>

#include <QString>

namespace trovelin {

// Bytes 0x80..0x9F take their Windows-1252 meaning (0x80 is the euro sign); the five codes that
// have none stay the control characters of the same number, as the original platform kept them.
QString fromWindows1252(std::string_view text);

}  // namespace trovelin
