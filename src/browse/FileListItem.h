#pragma once
// One row of the file list: an entry of the listed folder, or a drive of the drive list. The six
// sub-items are the visible columns after the name, then the full path and the kind ("dir",
// "file" or "drv"), which is how the list tells its rows apart.

#include <array>
#include <string>

namespace trovelin {

enum class TSortDirection { sdAscending, sdDescending };
enum class TMediaType { dtUnknown, dtNotExists, dtRemovable, dtFixed, dtRemote, dtCDROM, dtRAMDisk };

struct FileListItem {
    enum SubItem { size = 0, typeName = 1, modified = 2, attributes = 3, fullPath = 4, kind = 5 };

    std::string caption;
    std::array<std::string, 6> subItems;
    int imageIndex = -1;
    // This system's path of the entry (a drive's mount folder) when it was listed, so that an
    // action on the row reaches that entry even if a drive letter names another volume since;
    // empty where the file system gives none.
    std::string localPath;

    const std::string& sub(SubItem index) const { return subItems[index]; }
};

}  // namespace trovelin
