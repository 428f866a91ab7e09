#pragma once
// The viewer's command line: `trovelin [PATH]`, `trovelin --panel FILE` or `trovelin --gallery`, with
// `--help` and `--version`. Parsed before the application connects to a display, so that those two
// work without one.

#include <optional>
#include <string>
#include <vector>

namespace trovelin {

struct ViewerCommandLine {
    enum class Action { Run, ShowPanel, ShowGallery, ShowHelp, ShowVersion, UsageError };
    Action action = Action::Run;
    std::optional<std::string> path;  // as given: a panel file or a folder of this system; the panel file of ShowPanel
    std::string error;                // what was wrong, for a usage error
};

// `arguments` without the program's name. Help and version win wherever they stand before "--",
// so that they are answered even beside options that only the GUI toolkit knows.
ViewerCommandLine parseViewerCommandLine(const std::vector<std::string>& arguments);

std::string viewerHelpText();
std::string viewerVersionText();

}  // namespace trovelin
