#pragma once
// A record as readable text, without creating any component: what a panel file holds,
// for people and for the command-line tool.

#include <string>

namespace trovelin {

class Stream;

// Reads one record at the stream's position and returns it as indented text:
//   object Name: TClass
//     Property = value
//     object Child: TChildClass
//     end
//   end
// Fails like the reader on a malformed record.
std::string recordToText(Stream& stream);

}  // namespace trovelin
