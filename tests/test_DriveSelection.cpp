// The drive combo box's entries and selection rules, without a window.

#include <gtest/gtest.h>

#include "browse/DriveSelection.h"

namespace trovelin {
namespace {

const std::vector<DriveDescription> machine{{'A', 1, "Floppy", 1}, {'C', 3, "System (C:)", 2},
                                            {'D', 5, "Disc (D:)", 3}, {'E', 0, "Unknown", 4}};

TEST(DriveSelection, MyComputerComesFirstAndOnlyDrivesOfAKnownTypeFollow)
{
    DriveSelection drives;
    drives.buildList(machine);
    ASSERT_EQ(drives.entries().size(), 3u);
    EXPECT_EQ(drives.entries()[0].text, "My Computer");
    EXPECT_EQ(drives.entries()[0].iconIndex, -1);
    EXPECT_EQ(drives.entries()[2].text, "Disc (D:)");
    EXPECT_EQ(drives.drive(), '0');  // the saved index 0 is selected at first
    EXPECT_EQ(drives.selectedIndex(), 0);
}

TEST(DriveSelection, SetDriveSelectsQuietlyAndChangeNotifies)
{
    DriveSelection drives;
    int changes = 0;
    drives.OnChange = [&changes] { ++changes; };
    drives.buildList(machine);
    drives.SetDrive('c');
    EXPECT_EQ(drives.drive(), 'C');
    EXPECT_EQ(drives.selectedIndex(), 1);
    drives.SetDrive('Q');  // not listed: nothing changes
    EXPECT_EQ(drives.drive(), 'C');
    drives.highlight(2);
    drives.SetDrive('C');  // the current drive re-selects the saved entry
    EXPECT_EQ(drives.selectedIndex(), 1);
    EXPECT_EQ(changes, 0);

    drives.Change(2);
    EXPECT_EQ(drives.drive(), 'D');
    EXPECT_EQ(changes, 1);
    drives.SetDrive('0');
    EXPECT_EQ(drives.selectedIndex(), 0);

    // A rebuild (after a font change) keeps the selected drive.
    drives.SetDrive('D');
    drives.buildList(machine);
    EXPECT_EQ(drives.drive(), 'D');
    EXPECT_EQ(drives.selectedIndex(), 2);
    EXPECT_EQ(driveItemHeight(13, 16), 18);
    EXPECT_EQ(driveItemHeight(20, 16), 20);
}

}  // namespace
}  // namespace trovelin
