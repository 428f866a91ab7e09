#pragma once
// What the drive combo box knows and does, without a window: its entries ("My Computer", then
// each drive whose type is known), the parallel letter list, the saved index, the current drive
// and how a selection moves. The combo box widget shows it.

#include <functional>
#include <string>
#include <vector>

namespace trovelin {

// A drive as the platform reports it.
struct DriveDescription {
    char letter;
    unsigned driveType;  // 0 cannot be determined, 1 no root directory, 2 and up: a drive
    std::string displayName;
    int iconIndex = -1;
};

struct DriveEntry {
    std::string text;  // at most 260 characters
    int iconIndex;     // -1 for "My Computer"
};

class DriveSelection {
public:
    // The first entry: the drive list of the file list, letter "0".
    static constexpr char myComputer = '0';

    // BuildList: remembers the selected entry, refills the entries from `drives` (A to Z order)
    // and selects the saved entry again.
    void buildList(const std::vector<DriveDescription>& drives);
    // Selects the entry of drive `c` without a change notification; unknown letters change nothing.
    void SetDrive(char c);
    // The user picked entry `index` (-1: none): the drive follows and OnChange is raised.
    void Change(int index);
    // Moves the highlight without choosing, as the open drop-down does.
    void highlight(int index) { selected_ = index; }

    const std::vector<DriveEntry>& entries() const { return entries_; }
    char drive() const { return drive_; }
    int selectedIndex() const { return selected_; }
    int savedIndex() const { return savedIndex_; }

    std::function<void()> OnChange;
    // The selected entry moved, quietly or not, so that a view can show it.
    std::function<void()> onSelectionMoved;

private:
    void select(int index);

    std::vector<DriveEntry> entries_;
    std::string letters_;  // one letter per entry
    int savedIndex_ = 0;
    int selected_ = -1;
    char drive_ = '\0';
};

class FileSystem;
class ShellInfo;

// The drives of the logical-drive mask, A to Z, with their types and the shell's names and icons.
std::vector<DriveDescription> describeDrives(const FileSystem& fileSystem, ShellInfo& shell);

// ResetItemHeight: the larger of the font's cell height and the icon height + 2.
int driveItemHeight(int fontCellHeight, int iconHeight);

}  // namespace trovelin
