#pragma once
// The original platform's file system services that the browsing widgets and the loader call,
// behind an interface so that their logic runs against a fake in tests. Paths are in the
// original form ("C:\Shows\*.kvr"); relative paths go from the current directory. A path that
// starts with "/" is one of this system ("/home/me/*.kvr"), which is how callers outside the
// widgets name files; the widgets' own root-relative paths start with a backslash.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/DriveMap.h"
#include "platform/FileTime.h"
#include "streaming/Stream.h"

namespace trovelin {

// The original platform's error codes that a folder search reports.
inline constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr std::uint32_t ERROR_PATH_NOT_FOUND = 3;
inline constexpr std::uint32_t ERROR_ACCESS_DENIED = 5;
inline constexpr std::uint32_t ERROR_NO_MORE_FILES = 18;

// Volume capabilities (file system flags).
inline constexpr std::uint32_t FILE_CASE_SENSITIVE_SEARCH = 0x1;
inline constexpr std::uint32_t FILE_CASE_PRESERVED_NAMES = 0x2;
inline constexpr std::uint32_t FILE_UNICODE_ON_DISK = 0x4;
inline constexpr std::uint32_t FILE_PERSISTENT_ACLS = 0x8;

struct DiskFreeSpace {
    // The cluster figures, each capped at 2^32 - 1 as the original caps them on large volumes.
    std::uint32_t sectorsPerCluster = 0;
    std::uint32_t bytesPerSector = 0;
    std::uint32_t numberOfFreeClusters = 0;
    std::uint32_t totalNumberOfClusters = 0;
    // The exact byte figures.
    std::uint64_t freeBytesAvailable = 0;  // to the calling user
    std::uint64_t totalNumberOfBytes = 0;
    std::uint64_t totalNumberOfFreeBytes = 0;
};

struct VolumeInformation {
    std::string volumeName;  // empty when the volume has no label
    std::uint32_t serialNumber = 0;
    std::uint32_t maximumComponentLength = 0;
    std::uint32_t fileSystemFlags = 0;
    std::string fileSystemName;  // "EXT4", "VFAT", "NFS4"
};

// One entry that a folder search found.
struct FindData {
    std::string fileName;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;  // 0 for folders
    FileTime lastWriteTime = 0;
};

// An open folder search; closing it is destroying it.
class FolderSearch {
public:
    virtual ~FolderSearch() = default;
    // The next entry, or false when there is none left.
    virtual bool next(FindData& entry) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Reads the drives again, as they are mounted now; drives still mounted keep their letters.
    // Systems whose drives never change need not do anything.
    virtual void refreshDrives() {}
    // Bit 0 for A:, bit 2 for C:, ...
    virtual std::uint32_t logicalDrives() const = 0;
    // For a root such as "C:\" (or "C:"): DRIVE_NO_ROOT_DIR for a letter without a drive.
    virtual DriveType driveType(std::string_view root) const = 0;
    // Empty when the drive does not exist or is not ready.
    virtual std::optional<DiskFreeSpace> diskFreeSpace(std::string_view root) const = 0;
    virtual std::optional<VolumeInformation> volumeInformation(std::string_view root) const = 0;

    // Opens a search over a folder path ending in a mask or a ";"-separated list of masks
    // ("C:\Shows\*.kvr"); the search then yields the matches, "." and ".." first where the folder
    // has them. Null with an ERROR_* code in `error` when nothing matches or the folder cannot be
    // read.
    virtual std::unique_ptr<FolderSearch> findFirstFile(std::string_view pattern, std::uint32_t& error) = 0;

    // This system's path of a path ("/home/me/Shows" for "C:\Shows"), fixed at the time of the
    // call; empty where the system has none to give.
    virtual std::optional<std::string> localPath(std::string_view path) const
    {
        static_cast<void>(path);
        return std::nullopt;
    }

    virtual bool directoryExists(std::string_view path) const = 0;
    // False, with the current directory unchanged, when the path names no reachable folder.
    virtual bool setCurrentDirectory(std::string_view path) = 0;
    // Canonical: "C:\" for a drive root, "C:\Shows\Club" otherwise; empty when the process's
    // current directory has no drive path (it was removed, or its name holds a backslash).
    virtual std::string currentDirectory() const = 0;

    // Opens a file for reading alone, as the loader does for a whole load: fails with "Cannot
    // open file %s" (the path as given) while another opener holds it, or when it is missing.
    virtual std::unique_ptr<FileStream> openUnshared(std::string_view path) const = 0;
};

}  // namespace trovelin
