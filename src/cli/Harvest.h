#pragma once
// `trovelin-cli harvest`: the program's main job without a screen. Loads panel files in the
// order given, as the main window loads the files of a folder, and reports the picture list.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace trovelin::cli {

struct HarvestOptions {
    std::vector<std::string> paths;  // panel files, or folders standing for their "*.kvr" files
    std::string outputFolder;        // where NNN.png files go; empty: none are written
    bool json = false;
    bool keepGoing = false;  // an error ends the walk unless this is set
    bool quiet = false;      // no progress on the error stream
    bool progressIsTerminal = false;  // progress is shown only to a person
};

// The panel files `paths` stand for, in order: a folder gives its "*.kvr" files (letter case
// ignored) sorted by name; anything else is taken as a file.
std::vector<std::string> expandPanelPaths(const std::vector<std::string>& paths);

// The panel files of one path as above; for a folder that cannot be read, none, and `failure`
// says why.
std::vector<std::string> panelFilesOf(const std::string& path, std::string& failure);

// The status report on the file that filled the list, with the number of its pictures left out.
std::string picturesNotReadText(int pictureCount, int unread, const std::string& file);
// The status reports that end a harvest early, with the number of files left unread.
std::string pictureListFullText(int pictureCount, std::size_t unread);
std::string stoppedAtFirstErrorText(std::size_t unread);

// Runs the harvest; returns the exit status: 0, or 1 when a load failed. The table, or the
// JSON object, goes to `out`; progress, a word on each folder that holds no panel files and,
// in text mode, each event as it happens go to `progress`. With an output folder, its
// pictures.json lists the run and the numbered files an earlier run left beyond it go.
int harvest(const HarvestOptions& options, std::ostream& out, std::ostream& progress);

}  // namespace trovelin::cli
