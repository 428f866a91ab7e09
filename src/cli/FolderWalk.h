#pragma once
// The panel files of whole folder trees, for `extract`: every "*.kvr" file (letter case ignored)
// below each path, in bytewise order of their paths, each with the folder its pictures go to.
// Symbolic links to folders are not followed; a folder reached twice (a bind mount of an
// ancestor), one that cannot be read or entered and an entry that cannot be looked at are
// reported and passed over.

#include <string>
#include <vector>

#include "panelfile/PictureManifest.h"

namespace trovelin::cli {

struct FoundPanelFile {
    std::string path;          // as the loader opens it: the argument joined with the names below it
    std::string outputFolder;  // relative, '/'-separated; unique among the files of one walk
};

struct PanelFileWalk {
    std::vector<FoundPanelFile> files;
    std::vector<LoadEvent> problems;          // unreadable folders and entries ("error"), loops ("status")
    std::vector<std::string> emptyArguments;  // folders given, read whole, that hold no panel file
};

// Each argument in the order given. A folder's files go below its own last name, so that two
// arguments' trees never meet: `shows/a/b.kvr` under the argument `shows` goes to
// `shows/a/b`. A file given by name goes to its name without the extension. Where two files
// would share a folder (`x.kvr` and `x.KVR`, two arguments named `shows`), the later one's
// name gets "~2", "~3" and so on. So does a name that is no folder of its own (`.kvr`, `..kvr`
// and `...kvr` leave "", "." and "..") or that a picture's file could take (`000.png.kvr`): no
// output folder is outside its parent's, or one with another file's pictures. A name of 255
// bytes gives up its last ones to the suffix.
PanelFileWalk walkPanelFiles(const std::vector<std::string>& arguments);

}  // namespace trovelin::cli
