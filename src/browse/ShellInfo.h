#pragma once
// What the shell tells about a path: its icon, display name and type name. The desktop app asks
// Qt; tests give their own answers.

#include <string>

namespace trovelin {

struct ShellFileInfo {
    int iconIndex = -1;
    std::string displayName;
    std::string typeName;
};

class ShellInfo {
public:
    virtual ~ShellInfo() = default;
    virtual ShellFileInfo fileInfo(const std::string& path) = 0;
};

}  // namespace trovelin
