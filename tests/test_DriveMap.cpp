// Drive letters from mount tables: what gets a letter, in which order, with which type, and the
// translation of paths both ways.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/DriveMap.h"

namespace trovelin {
namespace {

// Every mount point is a folder except /etc/hosts; only sdb's partitions are removable.
MountProbe testProbe()
{
    MountProbe probe;
    probe.isFolder = [](const std::string& mountPoint) { return mountPoint != "/etc/hosts"; };
    probe.isRemovable = [](const std::string& device) { return device.starts_with("/dev/sdb"); };
    return probe;
}

// A desktop's table: pseudo file systems, runtime tmpfs, a USB stick, a DVD, a network share.
constexpr const char* desktopTable =
    "sysfs /sys sysfs rw,nosuid 0 0\n"
    "proc /proc proc rw 0 0\n"
    "udev /dev devtmpfs rw 0 0\n"
    "tmpfs /run tmpfs rw 0 0\n"
    "/dev/sda2 / ext4 rw,relatime 0 0\n"
    "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
    "/dev/sda3 /home ext4 rw 0 0\n"
    "tmpfs /tmp tmpfs rw 0 0\n"
    "/dev/sda1 /boot/efi vfat rw 0 0\n"
    "tmpfs /run/user/1000 tmpfs rw 0 0\n"
    "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n"
    "/dev/sdb1 /media/me/USB\\040STICK vfat rw 0 0\n"
    "/dev/sr0 /media/me/DVD iso9660 ro 0 0\n"
    "server:/export /mnt/share nfs4 rw 0 0\n"
    "//nas/music /mnt/music cifs rw 0 0\n"
    "binfmt_misc /proc/sys/fs/binfmt_misc binfmt_misc rw 0 0\n";

TEST(DriveMap, LettersRealVolumesInTableOrderWithTheirTypes)
{
    const DriveMap map(parseMountTable(desktopTable), testProbe());
    struct Expected {
        char letter;
        const char* mountPoint;
        const char* fileSystemType;
        DriveType type;
    };
    const Expected expected[] = {
        {'C', "/", "ext4", DRIVE_FIXED},
        {'D', "/home", "ext4", DRIVE_FIXED},
        {'E', "/tmp", "tmpfs", DRIVE_RAMDISK},
        {'F', "/boot/efi", "vfat", DRIVE_FIXED},
        {'G', "/media/me/USB STICK", "vfat", DRIVE_REMOVABLE},
        {'H', "/media/me/DVD", "iso9660", DRIVE_CDROM},
        {'I', "/mnt/share", "nfs4", DRIVE_REMOTE},
        {'J', "/mnt/music", "cifs", DRIVE_REMOTE},
    };
    ASSERT_EQ(map.drives().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const Drive& drive = map.drives()[i];
        EXPECT_EQ(drive.letter, expected[i].letter);
        EXPECT_EQ(drive.mountPoint, expected[i].mountPoint);
        EXPECT_EQ(drive.fileSystemType, expected[i].fileSystemType);
        EXPECT_EQ(drive.type, expected[i].type) << drive.letter;
    }
    EXPECT_EQ(map.logicalDrives(), 0b11'1111'1100u);  // C..J
    EXPECT_EQ(map.drive('g'), &map.drives()[4]);
    EXPECT_EQ(map.drive('K'), nullptr);
    EXPECT_EQ(map.drive('A'), nullptr);
}

// A container's table: overlay root, files bound over files, the host disk bound twice.
TEST(DriveMap, SkipsDuplicatesOfVolumesAndFilesBoundOverFiles)
{
    const DriveMap map(parseMountTable("overlay / overlay rw,lowerdir=/a 0 0\n"
                                       "proc /proc proc rw 0 0\n"
                                       "/dev/vda1 /etc/hosts ext4 rw 0 0\n"
                                       "/dev/vda1 /data ext4 rw 0 0\n"
                                       "/dev/vda1 /data-again ext4 rw 0 0\n"
                                       "overlay /var/lib/docker/overlay2/x/merged overlay rw 0 0\n"
                                       "shm /dev/shm tmpfs rw 0 0\n"
                                       "/dev/vdb /srv xfs rw 0 0\n"),
                       testProbe());
    ASSERT_EQ(map.drives().size(), 3u);
    EXPECT_EQ(map.drives()[0].fileSystemType, "overlay");
    EXPECT_EQ(map.drives()[1].letter, 'D');
    EXPECT_EQ(map.drives()[1].mountPoint, "/data");
    EXPECT_EQ(map.drives()[2].letter, 'E');
    EXPECT_EQ(map.drives()[2].mountPoint, "/srv");
}

TEST(DriveMap, AMountOverAnotherKeepsTheLetterAndShowsTheLaterVolume)
{
    const DriveMap map(parseMountTable("/dev/sda1 / ext4 rw 0 0\n"
                                       "/dev/sdc1 /mnt/x ext4 rw 0 0\n"
                                       "overlay / overlay rw 0 0\n"
                                       "/dev/sdb1 /mnt/x vfat rw 0 0\n"
                                       "/dev/sdd1 /mnt/y ext4 rw 0 0\n"),
                       testProbe());
    ASSERT_EQ(map.drives().size(), 3u);
    EXPECT_EQ(map.drives()[0].fileSystemType, "overlay");
    EXPECT_EQ(map.drives()[1].mountPoint, "/mnt/x");
    EXPECT_EQ(map.drives()[1].type, DRIVE_REMOVABLE);
    EXPECT_EQ(map.drives()[2].letter, 'E');
}

TEST(DriveMap, CExistsWithoutARootEntryAndLettersStopAtZ)
{
    std::string table;
    for (int i = 0; i < 30; ++i) table += "/dev/vd" + std::to_string(i) + " /v" + std::to_string(i) + " ext4 rw 0 0\n";
    const DriveMap map(parseMountTable(table), testProbe());
    ASSERT_EQ(map.drives().size(), 24u);  // C and D..Z
    EXPECT_EQ(map.drives().front().mountPoint, "/");
    EXPECT_EQ(map.drives().back().letter, 'Z');
    EXPECT_EQ(map.drives().back().mountPoint, "/v22");
    EXPECT_EQ(map.logicalDrives(), 0x3FFFFFCu);
}

// Unplugging the first of two sticks must not move the second to its letter, and a new stick
// takes the first free letter rather than one a mounted volume holds.
TEST(DriveMap, ReadAgainDrivesStillMountedKeepTheirLetters)
{
    const DriveMap before(parseMountTable("/dev/sda1 / ext4 rw 0 0\n"
                                          "/dev/sdb1 /media/one vfat rw 0 0\n"
                                          "/dev/sdb2 /media/two vfat rw 0 0\n"
                                          "/dev/sda3 /home ext4 rw 0 0\n"),
                          testProbe());
    ASSERT_EQ(before.drive('F')->mountPoint, "/home");
    const DriveMap after = before.refreshed(parseMountTable("/dev/sda1 / ext4 rw 0 0\n"
                                                            "/dev/sdc1 /media/three vfat rw 0 0\n"
                                                            "/dev/sdb2 /media/two vfat rw 0 0\n"
                                                            "/dev/sda3 /home ext4 rw 0 0\n"
                                                            "/dev/sdd1 /media/four vfat rw 0 0\n"),
                                            testProbe());
    ASSERT_EQ(after.drives().size(), 5u);
    EXPECT_EQ(after.drive('E')->mountPoint, "/media/two");
    EXPECT_EQ(after.drive('F')->mountPoint, "/home");
    EXPECT_EQ(after.drive('D')->mountPoint, "/media/three");
    EXPECT_EQ(after.drive('G')->mountPoint, "/media/four");
    EXPECT_EQ(after.drives()[1].letter, 'D');  // still in letter order
    EXPECT_EQ(after.toWindowsPath("/home/me"), "F:\\me");
}

TEST(DriveMap, MountTableFieldsAreUnescapedAndShortLinesSkipped)
{
    const auto entries = parseMountTable("a\\134b /x\\011y\\012z t 0 0\nbroken line\n\n  /dev/q   /q  ext4\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].device, "a\\b");
    EXPECT_EQ(entries[0].mountPoint, "/x\ty\nz");
    EXPECT_EQ(entries[1].mountPoint, "/q");
}

struct PathCase {
    const char* windows;
    const char* posix;
};

TEST(DriveMap, TranslatesDrivePathsToMountPoints)
{
    const DriveMap map(parseMountTable(desktopTable), testProbe());
    const PathCase cases[] = {
        {"C:\\", "/"},
        {"c:\\home\\me\\x.kvr", "/home/me/x.kvr"},
        {"D:\\me\\x.kvr", "/home/me/x.kvr"},
        {"D:\\", "/home"},
        {"G:\\Shows\\a b.kvr", "/media/me/USB STICK/Shows/a b.kvr"},
        {"D:\\..\\..\\etc", "/home/etc"},
        {"C:/usr//lib/./x", "/usr/lib/x"},
    };
    for (const PathCase& c : cases) EXPECT_EQ(map.toLinuxPath(c.windows).value_or("<none>"), c.posix) << c.windows;
    for (const char* refused : {"K:\\x", "relative\\x", "C:relative", "", "\\\\server\\share"}) {
        EXPECT_FALSE(map.toLinuxPath(refused)) << refused;
    }
}

TEST(DriveMap, TranslatesPathsToTheDriveWithTheLongestMountPoint)
{
    const DriveMap map(parseMountTable(desktopTable), testProbe());
    const PathCase cases[] = {
        {"C:\\", "/"},
        {"C:\\etc\\fstab", "/etc/fstab"},
        {"D:\\", "/home"},
        {"D:\\me\\x.kvr", "/home/me/x.kvr"},
        {"C:\\homework", "/homework"},
        {"G:\\", "/media/me/USB STICK/"},
        {"C:\\media\\me", "/media/me"},
        {"F:\\EFI", "/boot//efi/./EFI"},
        {"C:\\boot", "/boot/efi/.."},
    };
    for (const PathCase& c : cases) EXPECT_EQ(map.toWindowsPath(c.posix).value_or("<none>"), c.windows) << c.posix;
    for (const char* refused : {"relative/x", "", "/home/me/back\\slash"}) EXPECT_FALSE(map.toWindowsPath(refused));
}

TEST(DriveMap, EveryDrivePathRoundTrips)
{
    const DriveMap map(parseMountTable(desktopTable), testProbe());
    for (const Drive& drive : map.drives()) {
        const std::string root{drive.letter, ':', '\\'};
        for (const std::string& path : {root, root + "a", root + "a\\b c\\d.kvr"}) {
            const auto posix = map.toLinuxPath(path);
            ASSERT_TRUE(posix) << path;
            EXPECT_EQ(map.toWindowsPath(*posix).value_or("<none>"), path);
        }
    }
}

}  // namespace
}  // namespace trovelin
