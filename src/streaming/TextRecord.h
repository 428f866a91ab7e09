#pragma once
// The other way from RecordText: a record written from its text form, so that people (and the
// widget gallery) can state components in the words the dump prints and have them read by the
// real reader. Values are integers, True and False, identifiers (named constants and
// enumeration values), strings in quotes and character codes ('it''s', 'abc'#200'def', #13#10,
// #8364 in a wide string), sets ([a, b]) and lists of these in parentheses (such as
// "Items.Strings = ('One' 'Two')").

#include <cstdint>
#include <string_view>
#include <vector>

#include "streaming/RecordText.h"

namespace trovelin {

// The record of `root` and its children. A value that is none of the forms above fails with
// "Invalid property value".
std::vector<std::uint8_t> recordFromText(const RecordNode& root);

// Appends one value in its tagged form.
void appendTextValue(std::vector<std::uint8_t>& record, std::string_view text);

}  // namespace trovelin
