#include "platform/PosixFolderSearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>

#include "platform/FileAttributes.h"
#include "platform/FileMask.h"

namespace trovelin {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

int rank(const std::string& name) { return name == "." ? 0 : name == ".." ? 1 : 2; }

bool comesBefore(const FindData& a, const FindData& b)
{
    if (rank(a.fileName) != rank(b.fileName)) return rank(a.fileName) < rank(b.fileName);
    const auto caseless = [](char x, char y) { return upper(x) < upper(y); };
    const std::string& x = a.fileName;
    const std::string& y = b.fileName;
    if (std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), caseless)) return true;
    if (std::lexicographical_compare(y.begin(), y.end(), x.begin(), x.end(), caseless)) return false;
    return x < y;
}

// What a listing knows of its folder's volume, so that most entries need no access check of their
// own: a writable volume's entries that the user owns with the owner's write bit are writable.
struct FolderVolume {
    dev_t device;
    bool writable;
    uid_t user;  // asked once per listing rather than once per entry
};

std::optional<FolderVolume> volumeOf(int dirDescriptor)
{
    struct stat status {};
    struct statvfs volume {};
    if (::fstat(dirDescriptor, &status) != 0 || ::fstatvfs(dirDescriptor, &volume) != 0) return std::nullopt;
    return FolderVolume{status.st_dev, (volume.f_flag & ST_RDONLY) == 0, ::geteuid()};
}

// Whether the user may write the entry. Only a sure yes is taken from the entry's own data (an
// immutable file, or one on another volume, goes to the kernel like every other case), so that
// groups, ACLs and the superuser's rights stay the kernel's to judge.
bool mayWrite(int dirDescriptor, const std::string& path, const struct statx& status,
              const std::optional<FolderVolume>& volume)
{
    const bool sureYes = volume && volume->writable && makedev(status.stx_dev_major, status.stx_dev_minor) == volume->device &&
                         status.stx_uid == volume->user && (status.stx_mode & S_IWUSR) != 0 &&
                         (status.stx_attributes & STATX_ATTR_IMMUTABLE) == 0;
    return sureYes || ::faccessat(dirDescriptor, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// The entry `name` at `path` (relative to the open folder, or a whole path with AT_FDCWD), or
// nothing when it vanished. `listedType` is the type the folder listing gave (DT_UNKNOWN when the
// entry was looked up by name).
std::optional<FindData> describeEntry(int dirDescriptor, const std::string& path, std::string name,
                                      unsigned char listedType, const std::optional<FolderVolume>& volume)
{
    struct statx status {};
    constexpr unsigned wanted = STATX_TYPE | STATX_MODE | STATX_UID | STATX_SIZE | STATX_MTIME;
    const bool lookedThrough = ::statx(dirDescriptor, path.c_str(), 0, wanted, &status) == 0;
    if (!lookedThrough && ::statx(dirDescriptor, path.c_str(), AT_SYMLINK_NOFOLLOW, wanted, &status) != 0) {
        if (errno == ENOENT) return std::nullopt;
        // Listed but not to be looked at (a folder that may be read but not entered): the
        // listing's own type is all there is, without size or time.
        status = {};
        status.stx_mode = listedType == DT_DIR ? S_IFDIR : listedType == DT_REG ? S_IFREG : 0;
    }
    // A broken link's own data says nothing about the target it would write to.
    const bool writable = mayWrite(dirDescriptor, path, status, lookedThrough ? volume : std::nullopt);
    FindData entry;
    entry.attributes = fileAttributes(name, status.stx_mode, writable);
    entry.fileName = std::move(name);
    entry.size = S_ISREG(status.stx_mode) ? status.stx_size : 0;
    entry.lastWriteTime = fileTimeFromUnix(status.stx_mtime.tv_sec, status.stx_mtime.tv_nsec);
    return entry;
}

bool isPlainName(std::string_view mask)
{
    return !mask.empty() && mask.find_first_of("*?;\\/") == std::string_view::npos && mask != "." && mask != "..";
}

}  // namespace

std::vector<FindData> listFolder(const std::string& folder, std::string_view masks, bool driveRoot,
                                 std::uint32_t& error)
{
    std::vector<FindData> entries;
    // A name without wildcards finds the entry of exactly that name where there is one, without
    // reading the whole folder; only otherwise do entries differing in letter case answer.
    if (isPlainName(masks)) {
        const std::string path = folder + (folder.ends_with('/') ? "" : "/") + std::string(masks);
        if (std::optional<FindData> entry = describeEntry(AT_FDCWD, path, std::string(masks), DT_UNKNOWN, std::nullopt)) {
            entries.push_back(std::move(*entry));
            error = 0;
            return entries;
        }
    }
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) {
        error = errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND;
        return entries;
    }
    const int dirDescriptor = ::dirfd(dir.get());
    const std::optional<FolderVolume> volume = volumeOf(dirDescriptor);
    while (const dirent* item = ::readdir(dir.get())) {
        const std::string name = item->d_name;
        const bool dotEntry = name == "." || name == "..";
        if ((dotEntry && driveRoot) || name.find('\\') != std::string::npos) continue;
        if (!matchesMaskList(name, masks)) continue;
        if (std::optional<FindData> entry = describeEntry(dirDescriptor, name, name, item->d_type, volume))
            entries.push_back(std::move(*entry));
    }
    std::sort(entries.begin(), entries.end(), comesBefore);
    error = entries.empty() ? ERROR_FILE_NOT_FOUND : 0;
    return entries;
}

}  // namespace trovelin
