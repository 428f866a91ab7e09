#pragma once
// Where the viewer opens: the folder that holds the program, or the panel file or folder that
// its command line names (a desktop opening a panel file passes it so).

#include <string>

namespace trovelin {

class DriveMap;
class TTrovelin;

struct StartPlace {
    enum class Kind { ProgramFolder, Folder, PanelFile };
    Kind kind = Kind::ProgramFolder;
    std::string folder;   // drive path of the folder to show (for a panel file, its folder)
    std::string file;     // drive path of the panel file
    std::string problem;  // why the path given is not opened; the status bar shows it
};

// What `argument`, a path of this system (relative to the current directory), names. A file
// counts as a panel file by its content, as the loader decides, whatever its name; checking it
// leaves the picture list alone. Anything else gives the program's folder and the problem.
StartPlace resolveStartPlace(const std::string& argument, const DriveMap& drives);

// Shows the window at `place`, loading as the user's own moves would.
void showStartPlace(TTrovelin& window, const StartPlace& place, const std::string& programFolder);

}  // namespace trovelin
