#include "platform/PosixFileSystem.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/PosixFolderSearch.h"
#include "platform/UnsharedFile.h"
#include "platform/VolumeLabel.h"
#include "platform/WindowsPath.h"
#include "streaming/Errors.h"

namespace trovelin {

namespace {

class SnapshotSearch : public FolderSearch {
public:
    explicit SnapshotSearch(std::vector<FindData> entries) : entries_(std::move(entries)) {}

    bool next(FindData& entry) override
    {
        if (position_ >= entries_.size()) return false;
        entry = entries_[position_++];
        return true;
    }

private:
    std::vector<FindData> entries_;
    std::size_t position_ = 0;
};

std::uint32_t capped(std::uint64_t value)
{
    return value > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(value);
}

std::uint64_t bytes(std::uint64_t count, std::uint64_t unit)
{
    return unit != 0 && count > UINT64_MAX / unit ? UINT64_MAX : count * unit;
}

bool isFatFamily(const std::string& type)
{
    return type == "vfat" || type == "msdos" || type == "exfat" || type == "ntfs" || type == "ntfs3";
}

std::string upperCased(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

}  // namespace

PosixFileSystem::PosixFileSystem(MountSource mounts) : mounts_(std::move(mounts)), drives_(mounts_) {}

void PosixFileSystem::refreshDrives()
{
    DriveMap refreshed = drives_.refreshed(mounts_);
    const std::unique_lock lock(drivesLock_);
    drives_ = std::move(refreshed);
}

const Drive* PosixFileSystem::driveOfRoot(std::string_view root) const
{
    const char letter = driveLetterOf(root);
    const bool rootForm = root.size() == 2 || (root.size() == 3 && (root[2] == '\\' || root[2] == '/'));
    return letter != 0 && rootForm ? drives_.drive(letter) : nullptr;
}

std::optional<PosixFileSystem::Resolved> PosixFileSystem::resolve(std::string_view path) const
{
    // Going through the drive path keeps ".." of a Linux path from leaving the drive too.
    // Only a relative path needs the current directory, which costs a system call to read.
    std::optional<std::string> drivePath;
    if (path.starts_with('/')) {
        const std::shared_lock lock(drivesLock_);
        drivePath = drives_.toWindowsPath(path);
    }
    else if (driveLetterOf(path) != 0 && path.size() > 2 && (path[2] == '\\' || path[2] == '/'))
        drivePath = canonicalPath(path);
    else
        drivePath = canonicalPath(path, currentDirectory());
    if (!drivePath) return std::nullopt;
    std::optional<std::string> linuxPath;
    {
        const std::shared_lock lock(drivesLock_);
        linuxPath = drives_.toLinuxPath(*drivePath);
    }
    if (!linuxPath) return std::nullopt;
    return Resolved{*drivePath, std::move(*linuxPath)};
}

std::optional<std::string> PosixFileSystem::localPath(std::string_view path) const
{
    std::optional<Resolved> resolved = resolve(path);
    return resolved ? std::optional(std::move(resolved->linuxPath)) : std::nullopt;
}

std::optional<std::string> PosixFileSystem::drivePath(std::string_view path) const
{
    std::optional<Resolved> resolved = resolve(path);
    return resolved ? std::optional(std::move(resolved->drivePath)) : std::nullopt;
}

std::uint32_t PosixFileSystem::logicalDrives() const { return drives_.logicalDrives(); }

DriveType PosixFileSystem::driveType(std::string_view root) const
{
    const Drive* drive = driveOfRoot(root);
    return drive != nullptr ? drive->type : DRIVE_NO_ROOT_DIR;
}

std::optional<DiskFreeSpace> PosixFileSystem::diskFreeSpace(std::string_view root) const
{
    const Drive* drive = driveOfRoot(root);
    struct statvfs volume {};
    if (drive == nullptr || ::statvfs(drive->mountPoint.c_str(), &volume) != 0) return std::nullopt;

    const std::uint64_t blockSize = volume.f_frsize != 0 ? volume.f_frsize : volume.f_bsize;
    DiskFreeSpace space;
    // Sectors of 512 bytes where the block size allows, so a cluster is a block.
    space.bytesPerSector = blockSize % 512 == 0 ? 512 : capped(blockSize);
    space.sectorsPerCluster = space.bytesPerSector != 0 ? capped(blockSize / space.bytesPerSector) : 0;
    space.numberOfFreeClusters = capped(volume.f_bavail);
    space.totalNumberOfClusters = capped(volume.f_blocks);
    space.freeBytesAvailable = bytes(volume.f_bavail, blockSize);
    space.totalNumberOfBytes = bytes(volume.f_blocks, blockSize);
    space.totalNumberOfFreeBytes = bytes(volume.f_bfree, blockSize);
    return space;
}

std::optional<VolumeInformation> PosixFileSystem::volumeInformation(std::string_view root) const
{
    const Drive* drive = driveOfRoot(root);
    struct statvfs volume {};
    struct stat status {};
    if (drive == nullptr || ::statvfs(drive->mountPoint.c_str(), &volume) != 0 ||
        ::stat(drive->mountPoint.c_str(), &status) != 0) {
        return std::nullopt;
    }
    VolumeInformation information;
    if (drive->device.starts_with("/dev/")) information.volumeName = volumeLabelOf(drive->device);
    // The file system id is stable across boots where the file system has a UUID; the device
    // number stands in where it is 0 (tmpfs and the like).
    const std::uint64_t id = volume.f_fsid != 0 ? volume.f_fsid : status.st_dev;
    information.serialNumber = static_cast<std::uint32_t>(id ^ (id >> 32));
    information.maximumComponentLength = capped(volume.f_namemax);
    information.fileSystemFlags = isFatFamily(drive->fileSystemType)
                                      ? FILE_CASE_PRESERVED_NAMES | FILE_UNICODE_ON_DISK
                                      : FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES;
    information.fileSystemName = upperCased(drive->fileSystemType);
    return information;
}

std::unique_ptr<FolderSearch> PosixFileSystem::findFirstFile(std::string_view pattern, std::uint32_t& error)
{
    const std::size_t separator = pattern.find_last_of("\\/");
    std::string_view folder;
    std::string_view masks = pattern;
    if (separator != std::string_view::npos) {
        folder = pattern.substr(0, separator + 1);
        masks = pattern.substr(separator + 1);
    } else if (driveLetterOf(pattern) != 0) {
        folder = pattern.substr(0, 2);
        masks = pattern.substr(2);
    }
    const std::optional<Resolved> resolved = resolve(folder.empty() ? "." : folder);
    if (!resolved) {
        error = ERROR_PATH_NOT_FOUND;
        return nullptr;
    }
    std::vector<FindData> entries = listFolder(resolved->linuxPath, masks, isDriveRoot(resolved->drivePath), error);
    if (entries.empty()) return nullptr;
    error = 0;
    return std::make_unique<SnapshotSearch>(std::move(entries));
}

bool PosixFileSystem::directoryExists(std::string_view path) const
{
    const std::optional<Resolved> resolved = resolve(path);
    struct stat status {};
    return resolved && ::stat(resolved->linuxPath.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool PosixFileSystem::setCurrentDirectory(std::string_view path)
{
    const std::optional<Resolved> resolved = resolve(path);
    return resolved && ::chdir(resolved->linuxPath.c_str()) == 0;
}

std::string PosixFileSystem::currentDirectory() const
{
    const std::unique_ptr<char, decltype(&std::free)> working(::getcwd(nullptr, 0), &std::free);
    if (!working) return {};
    const std::shared_lock lock(drivesLock_);
    return drives_.toWindowsPath(working.get()).value_or(std::string{});
}

std::unique_ptr<FileStream> PosixFileSystem::openUnshared(std::string_view path) const
{
    // Messages keep the name the user knows.
    const std::string shownName(path);
    const std::optional<Resolved> resolved = resolve(path);
    if (!resolved) throw EFOpenError(cannotOpenFileMessage(shownName));
    return trovelin::openUnshared(resolved->linuxPath, shownName);
}

}  // namespace trovelin
