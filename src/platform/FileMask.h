#pragma once
// File name masks as the original platform's folder search matches them: "*" any run of
// characters, "?" exactly one, everything else itself without regard to (ASCII) letter case.
// As there, a mask ending in ".*" also takes names without any dot, so "*.*" takes every name.

#include <string_view>

namespace trovelin {

bool matchesMask(std::string_view name, std::string_view mask);

// A ";"-separated list of masks takes a name that one of them takes; an empty mask takes none.
bool matchesMaskList(std::string_view name, std::string_view masks);

}  // namespace trovelin
