#include "browse/DriveSelection.h"

#include <algorithm>

#include "browse/ShellInfo.h"
#include "platform/FileSystem.h"

namespace trovelin {

namespace {
constexpr std::size_t maxDisplayName = 260;
}  // namespace

void DriveSelection::buildList(const std::vector<DriveDescription>& drives)
{
    if (!entries_.empty()) {
        if (selected_ >= 0) savedIndex_ = selected_;
        entries_.clear();
        letters_.clear();
    }
    entries_.push_back({"My Computer", -1});
    letters_ += myComputer;
    for (const DriveDescription& drive : drives) {
        if (drive.driveType <= 1) continue;
        entries_.push_back({drive.displayName.substr(0, maxDisplayName), drive.iconIndex});
        letters_ += drive.letter;
    }
    // A saved entry that is gone leaves the selection where it was.
    if (savedIndex_ >= 0 && static_cast<std::size_t>(savedIndex_) < letters_.size()) SetDrive(letters_[savedIndex_]);
}

void DriveSelection::SetDrive(char c)
{
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c == drive_) {
        select(savedIndex_ == -1 ? 0 : savedIndex_);
        return;
    }
    const std::size_t found = letters_.find(c);
    if (found == std::string::npos) return;
    drive_ = c;
    savedIndex_ = static_cast<int>(found);
    select(savedIndex_);
}

void DriveSelection::select(int index)
{
    selected_ = index;
    if (onSelectionMoved) onSelectionMoved();
}

void DriveSelection::Change(int index)
{
    if (index >= 0) savedIndex_ = index;
    if (savedIndex_ >= 0 && static_cast<std::size_t>(savedIndex_) < letters_.size()) SetDrive(letters_[savedIndex_]);
    if (OnChange) OnChange();
}

std::vector<DriveDescription> describeDrives(const FileSystem& fileSystem, ShellInfo& shell)
{
    std::vector<DriveDescription> drives;
    const std::uint32_t mask = fileSystem.logicalDrives();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (!(mask & (1u << (letter - 'A')))) continue;
        const std::string root = std::string(1, letter) + ":\\";
        const ShellFileInfo info = shell.fileInfo(root);
        drives.push_back({letter, static_cast<unsigned>(fileSystem.driveType(root)), info.displayName, info.iconIndex});
    }
    return drives;
}

int driveItemHeight(int fontCellHeight, int iconHeight)
{
    return std::max(fontCellHeight, iconHeight + 2);
}

}  // namespace trovelin
