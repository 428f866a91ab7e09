#pragma once
// Moving an entry to a new name without ever replacing another: renaming in the file list and
// taking an item back from the trash must not destroy whatever took the name meanwhile.

#include <string>

namespace trovelin {

// Moves `from` to `to` (paths of this system, on one volume) only while `to` names nothing.
// Empty on success, else the reason for people ("an item of that name exists").
std::string moveEntryWithoutReplacing(const std::string& from, const std::string& to);

// Why `name` cannot be the new name of an entry in a folder, or empty when it can: it must not be
// empty, ".", "..", or hold a separator or a control character.
std::string newNameProblem(const std::string& name);

}  // namespace trovelin
