#include "browse/GioTrash.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <gio/gio.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "browse/EntryMove.h"

namespace trovelin::gio {

namespace {

// A record holds one percent-encoded path and a date: a few times the longest path is plenty.
constexpr std::size_t maxRecordBytes = 64 * 1024;

struct Identity {
    dev_t device;
    ino_t inode;
};

// A trash folder (with "files" and "info" in it) and the folder its records' relative paths start
// from: the top folder of its volume.
struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

struct TrashFolder {
    std::string trash;
    std::string top;
};

std::string folderPartOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

std::string nameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

std::string joined(const std::string& folder, const std::string& name)
{
    return folder.ends_with('/') ? folder + name : folder + '/' + name;
}

std::optional<std::string> readRecord(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) return std::nullopt;
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    while (text.size() <= maxRecordBytes) {
        got = ::read(descriptor, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    const int readError = errno;
    ::close(descriptor);
    errno = got < 0 ? readError : EFBIG;
    if (got < 0 || text.size() > maxRecordBytes) return std::nullopt;
    return text;
}

// Whether a call failed for a while only (a read error, no descriptor free, no permission), not
// because what it looked for is gone or is another kind of thing now.
bool failedForAWhile(int error)
{
    return error != ENOENT && error != ENOTDIR && error != ELOOP && error != EFBIG;
}

// The path with its folder's links and steps resolved, as a volume's trash records it; the path
// itself when its folder is gone.
std::string withFolderResolved(const std::string& path)
{
    const std::unique_ptr<char, decltype(&std::free)> folder(::realpath(folderPartOf(path).c_str(), nullptr),
                                                             &std::free);
    return folder ? joined(folder.get(), nameOf(path)) : path;
}

// The path a record names: its "Path=" line, percent-decoded, a relative one taken from `top`.
std::optional<std::string> recordedPath(const std::string& record, const std::string& top)
{
    if (!record.starts_with("[Trash Info]\n")) return std::nullopt;
    const std::size_t start = record.find("\nPath=");
    if (start == std::string::npos) return std::nullopt;
    const std::size_t valueStart = start + 6;
    const std::size_t end = record.find('\n', valueStart);
    if (end == std::string::npos) return std::nullopt;  // a record cut short is no record
    const std::string escaped = record.substr(valueStart, end - valueStart);
    const std::unique_ptr<char, decltype(&g_free)> decoded(g_uri_unescape_string(escaped.c_str(), nullptr), &g_free);
    if (!decoded || *decoded.get() == '\0') return std::nullopt;
    const std::string path = decoded.get();
    return path.front() == '/' ? path : joined(top, path);
}

// The top folder of the volume that holds `folder`, its links resolved; empty when unknown.
std::string volumeTopOf(const std::string& folder)
{
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(folder.c_str(), nullptr), &std::free);
    if (!resolved) return {};
    std::string top = resolved.get();
    struct stat status {};
    if (::stat(top.c_str(), &status) != 0) return {};
    const dev_t device = status.st_dev;
    while (top != "/") {
        const std::string parent = folderPartOf(top);
        if (::stat(parent.c_str(), &status) != 0 || status.st_dev != device) break;
        top = parent;
    }
    return top;
}

// Every trash an item of `path` can have gone to: the home trash, and the two a volume may have.
std::vector<TrashFolder> trashesFor(const std::string& path)
{
    std::vector<TrashFolder> trashes{{joined(g_get_user_data_dir(), "Trash"), "/"}};
    if (const std::string top = volumeTopOf(folderPartOf(path)); !top.empty()) {
        const std::string uid = std::to_string(::geteuid());
        trashes.push_back({joined(top, ".Trash/" + uid), top});
        trashes.push_back({joined(top, ".Trash-" + uid), top});
    }
    return trashes;
}

// The names in `files` of the entries that are the item `identity` (several only for hard links).
std::vector<std::string> entriesWithIdentity(const std::string& files, Identity identity)
{
    std::vector<std::string> names;
    const std::unique_ptr<DIR, FolderCloser> folder(::opendir(files.c_str()));
    if (!folder) return names;
    // Each entry is looked at: on some file systems (overlays) a listing's inode is not the entry's.
    while (const dirent* entry = ::readdir(folder.get())) {
        struct stat status {};
        if (::fstatat(::dirfd(folder.get()), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            status.st_dev == identity.device && status.st_ino == identity.inode)
            names.emplace_back(entry->d_name);
    }
    return names;
}

// GIO's reasons in our words where they are common, else in its own.
std::string reasonOf(const GError& error)
{
    if (error.domain == G_IO_ERROR) {
        switch (error.code) {
        case G_IO_ERROR_FILENAME_TOO_LONG: return "its name is too long for the trash to record";
        case G_IO_ERROR_PERMISSION_DENIED: return "Permission denied";
        case G_IO_ERROR_NO_SPACE: return "No space left on device";
        case G_IO_ERROR_NOT_FOUND: return "No such file or directory";
        case G_IO_ERROR_NOT_SUPPORTED: return "its volume has no trash";
        default: break;
        }
    }
    return error.message;
}

bool volumeIsFull(const std::string& folder)
{
    struct statvfs volume {};
    return ::statvfs(folder.c_str(), &volume) == 0 && volume.f_bavail == 0;
}

}  // namespace

TrashOutcome moveToTrash(const std::string& path)
{
    struct stat before {};
    if (::lstat(path.c_str(), &before) != 0) return {std::nullopt, std::strerror(errno)};
    // GLib takes a relative XDG_DATA_HOME or HOME from the current folder, which is the folder
    // listed: a trash would be made among the user's own files.
    if (!g_path_is_absolute(g_get_user_data_dir()) || !g_path_is_absolute(g_get_home_dir()))
        return {std::nullopt, "the home trash is unknown: XDG_DATA_HOME or HOME is not an absolute path"};
    const std::unique_ptr<GFile, decltype(&g_object_unref)> file(g_file_new_for_path(path.c_str()), &g_object_unref);
    // The path as GIO names it in the record (a volume's trash from its top folder, the links on
    // the way resolved): the records are checked against that.
    const std::unique_ptr<char, decltype(&g_free)> named(g_file_get_path(file.get()), &g_free);
    // GIO takes a ".." step by name, the system after following the link before it: GIO must
    // mean the item the system does, or another one would go.
    struct stat meant {};
    if (::lstat(named.get(), &meant) != 0 || meant.st_dev != before.st_dev || meant.st_ino != before.st_ino)
        return {std::nullopt, "its path holds \"..\" after a symbolic link, which the trash reads as another item"};
    const std::string resolved = withFolderResolved(named.get());
    GError* failure = nullptr;
    if (!g_file_trash(file.get(), nullptr, &failure)) {
        const std::unique_ptr<GError, decltype(&g_error_free)> owned(failure, &g_error_free);
        return {std::nullopt, failure != nullptr ? reasonOf(*failure) : "no trash took it"};
    }
    // GIO does not say where the item went: it is the entry of its trash with the same device and
    // inode whose record names its path. A record GIO could not write (a full volume) is empty.
    const Identity identity{before.st_dev, before.st_ino};
    std::optional<TrashedItem> unrecorded;
    for (const TrashFolder& trash : trashesFor(path)) {
        for (const std::string& name : entriesWithIdentity(trash.trash + "/files", identity)) {
            TrashedItem item{path, trash.trash + "/files/" + name, trash.trash + "/info/" + name + ".trashinfo", {},
                             before.st_dev, before.st_ino};
            const std::optional<std::string> record = readRecord(item.infoPath);
            const std::optional<std::string> recorded = record ? recordedPath(*record, trash.top) : std::nullopt;
            if (recorded && withFolderResolved(*recorded) == resolved) {
                item.info = *record;
                return {item, {}};
            }
            // Another hard link of the item, trashed before, has a record of its own path: it is
            // not this move's and stays where it is.
            if (!unrecorded && !recorded) unrecorded = item;
        }
    }
    if (!unrecorded) return {std::nullopt, "it went to the trash, but the trash holds no record of it"};
    // GIO writes a record through a temporary name six characters longer than the record's own.
    const std::size_t recordNameLength = unrecorded->infoPath.size() - folderPartOf(unrecorded->infoPath).size() - 1;
    const std::string reason = recordNameLength + 7 > NAME_MAX ? "its name is too long for the trash to record"
                               : volumeIsFull(folderPartOf(unrecorded->infoPath))
                                   ? "the trash could not keep a record of it: its volume is full"
                                   : "the trash could not keep a record of it";
    if (const std::string problem = moveEntryWithoutReplacing(unrecorded->pathInTrash, path); !problem.empty()) {
        unrecorded->info = readRecord(unrecorded->infoPath).value_or("");
        return {unrecorded, reason + ", and it stays in " + unrecorded->pathInTrash + ": " + problem};
    }
    ::unlink(unrecorded->infoPath.c_str());
    return {std::nullopt, reason};
}

RestoreOutcome restoreFromTrash(const TrashedItem& item)
{
    // A trash that cannot be looked at now may be later: only an item gone or changed ends the undo.
    struct stat now {};
    if (::lstat(item.pathInTrash.c_str(), &now) != 0) {
        if (failedForAWhile(errno)) return {RestoreOutcome::Kept, std::strerror(errno)};
        return {RestoreOutcome::Gone, "it is no longer in the trash"};
    }
    if (now.st_dev != item.device || now.st_ino != item.inode)
        return {RestoreOutcome::Gone, "the trash holds another item in its place"};
    const std::optional<std::string> record = readRecord(item.infoPath);
    if (!record && failedForAWhile(errno))
        return {RestoreOutcome::Kept, std::string("its record in the trash cannot be read: ") + std::strerror(errno)};
    if (record != item.info) return {RestoreOutcome::Gone, "the trash holds another item in its place"};
    if (const std::string problem = moveEntryWithoutReplacing(item.pathInTrash, item.path); !problem.empty())
        return {RestoreOutcome::Kept, problem};
    // Only now that the item is back: the trash must never list an item it no longer holds, nor
    // lose the record of one it still does.
    ::unlink(item.infoPath.c_str());
    return {RestoreOutcome::Restored, {}};
}

}  // namespace trovelin::gio
