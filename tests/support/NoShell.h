#pragma once
// A shell that knows no icons or type names, for tests of the browsing windows that do not
// look at what the desktop would show.

#include <string>

#include "browse/ShellInfo.h"

namespace trovelin::testing {

class NoShell : public ShellInfo {
public:
    ShellFileInfo fileInfo(const std::string& path) override { return {-1, path, "File"}; }
};

}  // namespace trovelin::testing
