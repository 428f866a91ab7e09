#pragma once
// A command of the program's own for its own files (the program provides it, as the desktop
// provides its services): the first entry of a file's context menu, in bold, which Ctrl+Enter in
// the file list also runs. The browsing widgets know no file contents; the viewer gives them this.

#include <string>

#include <QString>

namespace trovelin {

class ContentCommand {
public:
    virtual ~ContentCommand() = default;
    // The entry's text for the file at `localPath` (this system's path); empty when the command
    // is not for that file.
    virtual QString title(const std::string& localPath) = 0;
    // Runs the command on the file; returns what went wrong, for the status bar, or nothing.
    virtual QString run(const std::string& localPath) = 0;
};

}  // namespace trovelin
