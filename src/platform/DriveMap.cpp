#include "platform/DriveMap.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>

#include "platform/WindowsPath.h"

namespace trovelin {

namespace {

bool isOneOf(std::string_view value, std::initializer_list<std::string_view> list)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool isPseudoFileSystem(std::string_view type)
{
    return isOneOf(type, {"proc", "sysfs", "cgroup", "cgroup2", "devtmpfs", "devpts", "mqueue", "debugfs", "tracefs",
                          "securityfs", "pstore", "bpf", "configfs", "fusectl", "hugetlbfs", "autofs", "binfmt_misc",
                          "efivarfs", "rpc_pipefs", "nsfs", "selinuxfs", "nfsd", "devfs", "usbfs"});
}

bool isUnder(std::string_view path, std::string_view folder)
{
    return path == folder || (path.size() > folder.size() && path.substr(0, folder.size()) == folder &&
                              path[folder.size()] == '/');
}

bool isSystemStatePath(std::string_view mountPoint)
{
    return isUnder(mountPoint, "/proc") || isUnder(mountPoint, "/sys") || isUnder(mountPoint, "/dev") ||
           isUnder(mountPoint, "/run");
}

// Components of an absolute path with "." and ".." applied; ".." at the top stays at the top.
std::optional<std::vector<std::string_view>> linuxParts(std::string_view path)
{
    if (path.empty() || path.front() != '/') return std::nullopt;
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    return parts;
}

}  // namespace

MountProbe systemMountProbe()
{
    MountProbe probe;
    probe.isFolder = [](const std::string& mountPoint) {
        struct stat status {};
        return ::stat(mountPoint.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
    };
    probe.isRemovable = [](const std::string& device) {
        char resolved[PATH_MAX];
        if (::realpath(device.c_str(), resolved) == nullptr) return false;
        const std::string_view path(resolved);
        if (path.substr(0, 5) != "/dev/") return false;
        const std::string name(path.substr(path.rfind('/') + 1));
        // A partition has no flag of its own; its sysfs folder sits inside its disk's.
        for (const std::string& flag : {"/sys/class/block/" + name + "/removable",
                                        "/sys/class/block/" + name + "/../removable"}) {
            std::ifstream file(flag);
            char value = 0;
            if (file >> value) return value == '1';
        }
        return false;
    };
    return probe;
}

MountSource systemMountSource()
{
    return {readSystemMountTable, systemMountProbe()};
}

DriveType driveTypeOf(const MountEntry& entry, const MountProbe& probe)
{
    const std::string_view type = entry.type;
    if (isOneOf(type, {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "9p", "afs", "ceph", "glusterfs", "virtiofs",
                       "davfs", "fuse.sshfs", "fuse.glusterfs", "fuse.rclone", "fuse.s3fs", "fuse.davfs2"})) {
        return DRIVE_REMOTE;
    }
    if (isOneOf(type, {"iso9660", "udf"})) return DRIVE_CDROM;
    if (isOneOf(type, {"tmpfs", "ramfs"})) return DRIVE_RAMDISK;
    if (entry.device.starts_with("/dev/") && probe.isRemovable && probe.isRemovable(entry.device)) {
        return DRIVE_REMOVABLE;
    }
    return DRIVE_FIXED;
}

DriveMap::DriveMap(const std::vector<MountEntry>& mounts, const MountProbe& probe) : DriveMap(mounts, probe, nullptr) {}

DriveMap::DriveMap(const std::vector<MountEntry>& mounts, const MountProbe& probe, const DriveMap* previous)
{
    // First the volumes, in table order; letters come after, once it is known which of the
    // previous drives are still mounted.
    std::vector<Drive> volumes{Drive{'C', "/", "", "", DRIVE_FIXED}};
    for (const MountEntry& entry : mounts) {
        if (entry.mountPoint.empty() || entry.mountPoint.front() != '/') continue;
        if (isPseudoFileSystem(entry.type) || isSystemStatePath(entry.mountPoint)) continue;
        if (entry.type == "overlay" && entry.mountPoint != "/") continue;

        const auto samePoint = std::find_if(volumes.begin(), volumes.end(),
                                            [&](const Drive& d) { return d.mountPoint == entry.mountPoint; });
        if (samePoint != volumes.end()) {
            samePoint->device = entry.device;
            samePoint->fileSystemType = entry.type;
            samePoint->type = driveTypeOf(entry, probe);
            continue;
        }
        const bool blockDevice = entry.device.starts_with("/dev/");
        const bool seen = blockDevice && std::any_of(volumes.begin(), volumes.end(),
                                                     [&](const Drive& d) { return d.device == entry.device; });
        if (seen) continue;
        if (probe.isFolder && !probe.isFolder(entry.mountPoint)) continue;
        volumes.push_back(Drive{'\0', entry.mountPoint, entry.device, entry.type, driveTypeOf(entry, probe)});
    }

    std::string taken = "C";
    if (previous != nullptr) {
        for (Drive& volume : volumes) {
            const auto before = std::find_if(previous->drives_.begin(), previous->drives_.end(),
                                             [&](const Drive& d) { return d.mountPoint == volume.mountPoint; });
            if (volume.letter == '\0' && before != previous->drives_.end() &&
                taken.find(before->letter) == std::string::npos) {
                volume.letter = before->letter;
                taken += before->letter;
            }
        }
    }
    char nextLetter = 'D';
    for (Drive& volume : volumes) {
        if (volume.letter != '\0') continue;
        while (nextLetter <= 'Z' && taken.find(nextLetter) != std::string::npos) ++nextLetter;
        if (nextLetter > 'Z') break;
        volume.letter = nextLetter;
        taken += nextLetter;
    }
    std::erase_if(volumes, [](const Drive& d) { return d.letter == '\0'; });
    std::sort(volumes.begin(), volumes.end(), [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
    drives_ = std::move(volumes);
}

DriveMap DriveMap::refreshed(const std::vector<MountEntry>& mounts, const MountProbe& probe) const
{
    return DriveMap(mounts, probe, this);
}

DriveMap::DriveMap(const MountSource& source) : DriveMap(source.readTable(), source.probe, nullptr) {}

DriveMap DriveMap::refreshed(const MountSource& source) const { return refreshed(source.readTable(), source.probe); }

const Drive* DriveMap::drive(char letter) const
{
    const char wanted = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
    for (const Drive& d : drives_) {
        if (d.letter == wanted) return &d;
    }
    return nullptr;
}

std::uint32_t DriveMap::logicalDrives() const
{
    std::uint32_t mask = 0;
    for (const Drive& d : drives_) mask |= 1u << (d.letter - 'A');
    return mask;
}

std::optional<std::string> DriveMap::toLinuxPath(std::string_view windowsPath) const
{
    const char letter = driveLetterOf(windowsPath);
    if (letter == 0 || windowsPath.size() < 3 || (windowsPath[2] != '\\' && windowsPath[2] != '/')) {
        return std::nullopt;
    }
    const Drive* target = drive(letter);
    const std::optional<std::string> canonical = canonicalPath(windowsPath);
    if (target == nullptr || !canonical) return std::nullopt;
    std::string result = target->mountPoint;
    std::string_view rest = std::string_view(*canonical).substr(3);
    if (rest.empty()) return result;
    if (result.back() != '/') result += '/';
    for (const char c : rest) result += c == '\\' ? '/' : c;
    return result;
}

std::optional<std::string> DriveMap::toWindowsPath(std::string_view linuxPath) const
{
    if (linuxPath.find('\\') != std::string_view::npos) return std::nullopt;
    const std::optional<std::vector<std::string_view>> parts = linuxParts(linuxPath);
    if (!parts) return std::nullopt;

    const Drive* best = nullptr;
    std::size_t bestDepth = 0;
    for (const Drive& d : drives_) {
        const auto mountParts = linuxParts(d.mountPoint).value_or(std::vector<std::string_view>{});
        if (mountParts.size() > parts->size() || (best != nullptr && mountParts.size() < bestDepth)) continue;
        if (!std::equal(mountParts.begin(), mountParts.end(), parts->begin())) continue;
        best = &d;
        bestDepth = mountParts.size();
    }
    if (best == nullptr) return std::nullopt;
    std::string result{best->letter, ':', '\\'};
    for (std::size_t i = bestDepth; i < parts->size(); ++i) {
        if (i > bestDepth) result += '\\';
        result += (*parts)[i];
    }
    return result;
}

}  // namespace trovelin
