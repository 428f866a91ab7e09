#include "platform/FileBatch.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <system_error>

#include "platform/TemporaryFiles.h"
#include "streaming/Errors.h"

namespace trovelin {

namespace fs = std::filesystem;

namespace {

std::string failureText(const std::string& path, int error)
{
    return "Cannot write " + path + ": " + std::strerror(error);
}

// mkstemp creates files readable by the owner alone; outputs get the usual permissions. The
// umask can only be read by setting it, and a thread creating a file between the two calls, or
// a second reader doing the same, could leave it at 0 for the rest of the run: so it is read
// once, while the program starts and runs no other thread.
const mode_t outputPermissions = [] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}();

// The file a chain of symbolic links ends at, existing or not; `path` itself when it is none.
fs::path followLinks(const std::string& path)
{
    fs::path target(path);
    for (int hops = 0;; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(target, error))) return target;
        if (hops == 40) throw std::system_error(ELOOP, std::generic_category());
        const fs::path next = fs::read_symlink(target, error);
        if (error) throw std::system_error(error);
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
}

// A hidden name in the target's folder keeps the rename within one file system. The longest name
// a folder takes gives up its end to the random letters, or it could never be written.
std::string temporaryPatternFor(const fs::path& target)
{
    const std::string randomTail = ".XXXXXX";
    std::string name = "." + target.filename().string();
    name.resize(std::min(name.size(), std::size_t{NAME_MAX} - randomTail.size()));
    return (target.parent_path() / (name + randomTail)).string();
}

// Writes into an existing file that is not a regular one, as a program writing to it would.
int writeInto(const std::string& path, std::span<const std::uint8_t> bytes)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) return errno;
    return writeSyncAndClose(descriptor, bytes, false);
}

// Syncs what `path` (a folder) lies on: the folder itself, or its whole file system. The error
// number, or 0; file systems that cannot sync a folder (EINVAL) have nothing to sync.
int syncFolder(const fs::path& folder, bool wholeFileSystem)
{
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return errno;
    const int synced = wholeFileSystem ? ::syncfs(descriptor) : ::fsync(descriptor);
    const int error = synced == 0 || errno == EINVAL ? 0 : errno;
    ::close(descriptor);
    return error;
}

}  // namespace

struct FileBatch::Staged {
    std::string path;  // as the caller named it, for errors
    fs::path target;   // the name it takes
    TemporaryFile temporary;
    int error = 0;
};

FileBatch::FileBatch(Sync sync) : sync_(sync) {}
FileBatch::~FileBatch() = default;
FileBatch::FileBatch(FileBatch&& other) noexcept = default;
FileBatch& FileBatch::operator=(FileBatch&& other) noexcept = default;

std::size_t FileBatch::size() const { return staged_.size(); }

void FileBatch::write(const std::string& path, std::span<const std::uint8_t> bytes)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        const int error = S_ISDIR(status.st_mode) ? EISDIR : writeInto(path, bytes);
        if (error != 0) throw Exception(failureText(path, error));
        return;
    }
    fs::path target;
    try {
        target = followLinks(path);
    } catch (const std::system_error& error) {
        throw Exception(failureText(path, error.code().value()));
    }
    stage(path, target, bytes);
}

void FileBatch::writeOverName(const std::string& path, std::span<const std::uint8_t> bytes)
{
    stage(path, path, bytes);
}

void FileBatch::stage(const std::string& path, const fs::path& target, std::span<const std::uint8_t> bytes)
{
    auto staged = std::make_unique<Staged>(Staged{path, target, TemporaryFile(temporaryPatternFor(target)), 0});
    TemporaryFile& temporary = staged->temporary;
    if (temporary.descriptor() < 0) throw Exception(failureText(path, errno));
    const int descriptor = temporary.descriptor();
    temporary.closeDescriptor();
    int error = ::fchmod(descriptor, outputPermissions) == 0 ? 0 : errno;
    if (error != 0)
        ::close(descriptor);
    else
        error = writeSyncAndClose(descriptor, bytes, sync_ == Sync::EachFile);
    if (error != 0) throw Exception(failureText(path, error));  // the temporary file goes with `staged`
    staged_.push_back(std::move(staged));
}

void FileBatch::take(FileBatch&& other)
{
    for (std::unique_ptr<Staged>& staged : other.staged_) staged_.push_back(std::move(staged));
    other.staged_.clear();
}

std::vector<FileBatchFailure> FileBatch::commit()
{
    std::vector<std::unique_ptr<Staged>> staged = std::move(staged_);
    staged_.clear();
    const bool wholeFileSystem = sync_ == Sync::WholeFileSystem;
    // What each file's sync goes through: its folder, or the first folder met on its file system.
    std::map<std::string, fs::path> syncs;
    std::vector<std::string> keys;
    for (const std::unique_ptr<Staged>& file : staged) {
        const fs::path folder = file->target.parent_path();
        struct stat status {};
        std::string key = folder.string();
        if (wholeFileSystem && ::stat(folder.empty() ? "." : folder.c_str(), &status) == 0)
            key = "device " + std::to_string(status.st_dev);
        syncs.try_emplace(key, folder);
        keys.push_back(std::move(key));
    }
    // Each sync runs once; its error fails every file it stands for that had none yet.
    const auto syncAll = [&] {
        std::map<std::string, int> errors;
        for (const auto& [key, folder] : syncs) errors[key] = syncFolder(folder, wholeFileSystem);
        for (std::size_t i = 0; i < staged.size(); ++i)
            if (staged[i]->error == 0) staged[i]->error = errors[keys[i]];
    };

    // The bytes are on the disk before any name points at them, so that a crash or a power loss
    // leaves the old file or the whole new one, never an empty one (each file was synced as it
    // was written otherwise).
    if (wholeFileSystem) syncAll();
    for (const std::unique_ptr<Staged>& file : staged) {
        if (file->error == 0 && ::rename(file->temporary.name(), file->target.c_str()) != 0) file->error = errno;
        if (file->error == 0) file->temporary.keep();
    }
    // After a rename, the folder's new entry reaches the disk only with the folder.
    syncAll();

    std::vector<FileBatchFailure> failures;
    for (const std::unique_ptr<Staged>& file : staged)
        if (file->error != 0) failures.push_back({file->path, failureText(file->path, file->error)});
    return failures;
}

}  // namespace trovelin
