#pragma once
// The file system services on this system: drives from the mount table, space and volume data
// from statvfs and udev's label links, folder searches from readdir, and the process's working
// directory as the current directory.

#include <optional>
#include <shared_mutex>
#include <string>

#include "platform/DriveMap.h"
#include "platform/FileSystem.h"

namespace trovelin {

class PosixFileSystem : public FileSystem {
public:
    // The drives as `mounts` says they are mounted now; it is asked again on every refresh.
    explicit PosixFileSystem(MountSource mounts = systemMountSource());

    // The one drive map of the program: the browsing widgets list its drives and the loader
    // opens its drive paths, so a letter names the same volume for both until the next refresh.
    const DriveMap& drives() const { return drives_; }
    // This system's path of a drive path (or of a path of this system, kept on its drive).
    std::optional<std::string> localPath(std::string_view path) const override;
    // The canonical drive path ("C:\Shows") of a drive path or a path of this system.
    std::optional<std::string> drivePath(std::string_view path) const;

    void refreshDrives() override;
    std::uint32_t logicalDrives() const override;
    DriveType driveType(std::string_view root) const override;
    std::optional<DiskFreeSpace> diskFreeSpace(std::string_view root) const override;
    std::optional<VolumeInformation> volumeInformation(std::string_view root) const override;
    std::unique_ptr<FolderSearch> findFirstFile(std::string_view pattern, std::uint32_t& error) override;
    bool directoryExists(std::string_view path) const override;
    bool setCurrentDirectory(std::string_view path) override;
    std::string currentDirectory() const override;
    std::unique_ptr<FileStream> openUnshared(std::string_view path) const override;

private:
    const Drive* driveOfRoot(std::string_view root) const;
    struct Resolved {
        std::string drivePath;  // canonical
        std::string linuxPath;
    };
    std::optional<Resolved> resolve(std::string_view path) const;

    MountSource mounts_;
    DriveMap drives_;
    // A folder load opens its files on a worker thread while the GUI thread may list the drives
    // again: the refresh is the only writer, and path resolution the only reader off the GUI thread.
    mutable std::shared_mutex drivesLock_;
};

}  // namespace trovelin
