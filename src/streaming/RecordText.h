#pragma once
// A record as a readable tree, without creating any component: what a panel file holds, for
// people and for the command-line tool. Binary values show their size, and picture payloads
// ("Picture.Data", "Glyph.Data") what they decode to.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trovelin {

class Stream;

struct RecordNode {
    std::string className;
    std::string name;
    bool inherited = false;
    std::optional<int> position;  // the child position of the entry's prefix
    std::vector<std::pair<std::string, std::string>> properties;  // name and value as text
    std::vector<RecordNode> children;
};

// A string value in the text form: characters 32..126 inside quotes ('It''s'), every other one,
// control characters and bytes past ASCII alike, as its code: 'abc'#200'def', #13#10, '' when
// empty. Wide strings take the same form with their UTF-16 code units ('caf'#233, #8364). The
// text is plain ASCII, and reads back (TextRecord.h) to the same value.
std::string quotedText(std::string_view bytes);

// Reads one record at the stream's position into `root`, filling it as it goes, so that after
// a failure (thrown like the reader's) `root` shows how far the record could be read. Pictures
// are decoded, to describe them, within the stream's pixel budget.
void readRecordTree(Stream& stream, RecordNode& root);

// The tree as indented text, names made printable (PrintableText.h):
//   object Name: TClass
//     Property = value
//     object Child: TChildClass
//     end
//   end
std::string recordToText(const RecordNode& root);

// Reads one record and returns it as text.
std::string recordToText(Stream& stream);

}  // namespace trovelin
