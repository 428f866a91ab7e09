#pragma once
// What the shell tells about a path: its icon, display name and type name. The desktop app asks
// Qt; tests give their own answers.

#include <cstdint>
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
    // The same for an entry that a folder search has just found with `attributes`, which say
    // whether it is a folder, so that a shell need not look at the entry again.
    virtual ShellFileInfo entryInfo(const std::string& path, std::uint32_t attributes)
    {
        static_cast<void>(attributes);
        return fileInfo(path);
    }
};

}  // namespace trovelin
