#pragma once
// Drive letters on this system. "C:\" is the root of the file system; every other mounted real
// volume gets the next free letter from D in the order of the mount table. What counts as a real
// volume, in order:
// - not a pseudo file system (proc, sysfs, cgroup, devpts, ...) and not an overlay away from "/"
//   (container layers are copies of a root, not volumes);
// - not mounted at or under /proc, /sys, /dev or /run (kernel, device and runtime state);
// - not a block device that already has a letter (a bind mount shows the same volume twice);
// - a folder (files bound over files, as containers do for /etc/hosts, are no drives).
// A later mount over the same point replaces what the drive shows there but keeps its letter;
// volumes beyond Z get none. Read again, the drives that are still mounted keep their letters,
// so that a path the user holds goes on naming the same folder; new volumes take free letters.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MountTable.h"

namespace trovelin {

// The original platform's drive types, value for value.
enum DriveType : std::uint32_t {
    DRIVE_UNKNOWN = 0,
    DRIVE_NO_ROOT_DIR = 1,
    DRIVE_REMOVABLE = 2,
    DRIVE_FIXED = 3,
    DRIVE_REMOTE = 4,
    DRIVE_CDROM = 5,
    DRIVE_RAMDISK = 6,
};

struct Drive {
    char letter = 'C';
    std::string mountPoint;  // "/" for C
    std::string device;
    std::string fileSystemType;  // as in the mount table, "" when the table has no root entry
    DriveType type = DRIVE_FIXED;
};

// What lettering asks of the system beyond the table; tests answer it themselves.
struct MountProbe {
    std::function<bool(const std::string& mountPoint)> isFolder;
    std::function<bool(const std::string& device)> isRemovable;  // the block device's removable flag
};

// isFolder by stat, isRemovable from /sys/class/block/<device>/removable (or its whole disk's).
MountProbe systemMountProbe();

// Where the drives come from: the mount table as it is at the moment of asking, and the probe.
struct MountSource {
    std::function<std::vector<MountEntry>()> readTable;
    MountProbe probe;
};

// /proc/self/mounts and the system's probe.
MountSource systemMountSource();

// The type a mounted volume shows as: remote for network file systems, CD-ROM for iso9660 and
// udf, RAM disk for tmpfs and ramfs, removable by the device's flag, fixed otherwise.
DriveType driveTypeOf(const MountEntry& entry, const MountProbe& probe);

class DriveMap {
public:
    DriveMap(const std::vector<MountEntry>& mounts, const MountProbe& probe);

    explicit DriveMap(const MountSource& source);

    // The drives as mounted now, with the letters of this map for the mount points still there.
    DriveMap refreshed(const std::vector<MountEntry>& mounts, const MountProbe& probe) const;
    DriveMap refreshed(const MountSource& source) const;

    const std::vector<Drive>& drives() const { return drives_; }
    // The drive of a letter (either case), or null.
    const Drive* drive(char letter) const;
    // Bit 0 for A:, bit 2 for C:, ...
    std::uint32_t logicalDrives() const;

    // "D:\a\b" to "<mount point of D>/a/b" after canonicalPath (so ".." stays on the drive). Only
    // absolute paths with a known letter translate.
    std::optional<std::string> toLinuxPath(std::string_view windowsPath) const;
    // An absolute path to the drive with the longest mount point that holds it ("/" is C). Empty
    // for relative paths and for names with a backslash, which a drive path cannot say.
    std::optional<std::string> toWindowsPath(std::string_view linuxPath) const;

private:
    DriveMap(const std::vector<MountEntry>& mounts, const MountProbe& probe, const DriveMap* previous);

    std::vector<Drive> drives_;  // C first, then in letter order
};

}  // namespace trovelin
