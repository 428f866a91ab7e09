#include "platform/ReplacingFile.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "streaming/Errors.h"

namespace trovelin {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void failWriting(const std::string& path, int error)
{
    throw Exception("Cannot write " + path + ": " + std::strerror(error));
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

// The names of temporary files being written, for a signal handler to remove. A signal handler
// can reach nothing but static storage and what it points to, so the slots live in chunks that
// are linked once and never freed: a first one of 8, and more when a writer of many files at
// once asks for them. A write finding every slot taken waits for one, so that no temporary file
// is ever left out of the list.
struct TemporaryName {
    std::atomic<bool> taken{false};
    std::atomic<bool> listed{false};
    char name[PATH_MAX] = {};
};
struct TemporaryNameChunk {
    TemporaryName* slots = nullptr;
    std::size_t count = 0;
    std::atomic<TemporaryNameChunk*> next{nullptr};
};
std::array<TemporaryName, 8> firstTemporaryNames;
TemporaryNameChunk temporaryNames{firstTemporaryNames.data(), firstTemporaryNames.size()};
std::mutex temporaryNamesMutex;  // guards adding chunks and waiting for a slot, never the handler
std::condition_variable temporaryNameFreed;
// Set before the handler's sweep; no temporary file is created after it. The handler ends the
// process right after its sweep, before another thread could remove a file it was creating
// meanwhile, so the sweep waits for the creations under way to end.
std::atomic<bool> sweepingTemporaryFiles{false};
std::atomic<int> temporaryFilesBeingCreated{0};
// The caller's own file while it is being filled in place, for the handler to empty again: a
// signal that ends the write halfway must leave the caller its empty file, never a cut picture.
std::atomic<int> placeholderBeingFilled{-1};

TemporaryName* takeTemporaryName()
{
    for (TemporaryNameChunk* chunk = &temporaryNames; chunk; chunk = chunk->next.load())
        for (std::size_t i = 0; i < chunk->count; ++i) {
            bool expected = false;
            if (chunk->slots[i].taken.compare_exchange_strong(expected, true)) return &chunk->slots[i];
        }
    return nullptr;
}

// A temporary file created from a pattern, listed from before it exists until it is renamed
// or removed: mkstemp fills in the listed name before it creates the file.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& pattern)
    {
        if (pattern.size() >= PATH_MAX) {
            errno = ENAMETOOLONG;
            return;
        }
        {
            std::unique_lock lock(temporaryNamesMutex);
            temporaryNameFreed.wait(lock, [this] { return (slot_ = takeTemporaryName()) != nullptr; });
        }
        std::memcpy(slot_->name, pattern.c_str(), pattern.size() + 1);
        slot_->listed = true;
        ++temporaryFilesBeingCreated;
        if (sweepingTemporaryFiles)
            errno = EINTR;
        else
            descriptor_ = ::mkstemp(slot_->name);
        --temporaryFilesBeingCreated;
        if (descriptor_ < 0) {
            const int error = errno;
            release();
            errno = error;
        }
    }
    ~TemporaryFile() { release(); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int descriptor() const { return descriptor_; }
    const char* name() const { return slot_ ? slot_->name : ""; }
    // The file has its final name, or is gone.
    void release()
    {
        if (!slot_) return;
        slot_->listed = false;
        {
            std::lock_guard lock(temporaryNamesMutex);
            slot_->taken = false;
        }
        temporaryNameFreed.notify_one();
        slot_ = nullptr;
    }

private:
    TemporaryName* slot_ = nullptr;
    int descriptor_ = -1;
};

// The error number of a failed write, or 0.
int writeAll(int descriptor, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        if (written == 0) return EIO;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return 0;
}

// After a rename, the folder's new entry reaches the disk only with the folder. The error
// number, or 0; file systems that cannot sync a folder (EINVAL) have nothing to sync.
int syncFolder(const fs::path& folder)
{
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return errno;
    const int error = ::fsync(descriptor) == 0 || errno == EINVAL ? 0 : errno;
    ::close(descriptor);
    return error;
}

// The file a chain of symbolic links ends at, existing or not; `path` itself when it is none.
fs::path followLinks(const std::string& path)
{
    fs::path target(path);
    for (int hops = 0;; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(target, error))) return target;
        if (hops == 40) failWriting(path, ELOOP);
        const fs::path next = fs::read_symlink(target, error);
        if (error) failWriting(path, error.value());
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
}

// Writes into an open device, FIFO or socket, as a program writing to it would.
void writeIntoOpened(int descriptor, const std::string& path, std::span<const std::uint8_t> bytes)
{
    const int flags = ::fcntl(descriptor, F_GETFL);
    int error = flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0 ? errno
                                                                                   : writeAll(descriptor, bytes);
    if (::close(descriptor) != 0 && error == 0) error = errno;
    if (error != 0) failWriting(path, error);
}

// Writes into an existing file that is not a regular one, as a program writing to it would.
void writeInto(const std::string& path, std::span<const std::uint8_t> bytes)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) failWriting(path, errno);
    writeIntoOpened(descriptor, path, bytes);
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

// Writes `bytes` as a new file renamed to `target` (its name itself: a link there is replaced, not
// followed); errors name `path`.
void renameIntoPlace(const fs::path& target, const std::string& path, std::span<const std::uint8_t> bytes)
{
    const TemporaryFile temporary(temporaryPatternFor(target));
    if (temporary.descriptor() < 0) failWriting(path, errno);

    // The bytes are on the disk before the name points at them, so that a crash or a power loss
    // leaves the old file or the whole new one, never an empty one.
    const int descriptor = temporary.descriptor();
    int error = ::fchmod(descriptor, outputPermissions) == 0 ? writeAll(descriptor, bytes) : errno;
    if (error == 0 && ::fsync(descriptor) != 0) error = errno;
    if (::close(descriptor) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.name(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.name());
        failWriting(path, error);
    }
}

// Replaces whatever the name `path` is, link or file, with a new file, and syncs its folder.
void replaceName(const std::string& path, std::span<const std::uint8_t> bytes)
{
    const fs::path target(path);
    renameIntoPlace(target, path, bytes);
    if (const int error = syncFolder(target.parent_path())) failWriting(path, error);
}

}  // namespace

void writeFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes)
{
    if (writeFileReplacingInBatch(path, bytes)) syncFolderOf(path);
}

void syncFolderOf(const std::string& path)
{
    if (const int error = syncFolder(followLinks(path).parent_path())) failWriting(path, error);
}

bool writeFileReplacingInBatch(const std::string& path, std::span<const std::uint8_t> bytes)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        if (S_ISDIR(status.st_mode)) failWriting(path, EISDIR);
        writeInto(path, bytes);
        return false;
    }
    renameIntoPlace(followLinks(path), path, bytes);
    return true;
}

void writeFileFillingPlaceholder(const std::string& path, std::span<const std::uint8_t> bytes)
{
    // Not blocking: a FIFO without a reader answers at once rather than hold the open.
    constexpr int flags = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    bool followed = false;
    int descriptor = ::open(path.c_str(), flags | O_NOFOLLOW);
    if (descriptor < 0 && errno == ELOOP) {
        // A symbolic link is followed only to what is no file (/dev/stdout), as checked below.
        followed = true;
        descriptor = ::open(path.c_str(), flags);
    }
    // A FIFO without a reader is waited for, as any writer waits.
    if (descriptor < 0 && errno == ENXIO)
        descriptor = ::open(path.c_str(), (flags & ~O_NONBLOCK) | (followed ? 0 : O_NOFOLLOW));
    if (descriptor < 0) {
        if (errno != ENOENT) failWriting(path, errno);
        // A missing name, or a link to none, becomes a file of its own.
        replaceName(path, bytes);
        return;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        const int error = errno;
        ::close(descriptor);
        failWriting(path, error);
    }
    if (!S_ISREG(status.st_mode)) {
        writeIntoOpened(descriptor, path, bytes);
        return;
    }
    // Only the caller's own empty file is written into: a file reached through a link, or with a
    // second name, belongs to someone else, and a file that holds something keeps it until the
    // new one is whole.
    if (followed || status.st_nlink != 1 || status.st_size != 0) {
        ::close(descriptor);
        replaceName(path, bytes);
        return;
    }
    placeholderBeingFilled = descriptor;
    int error = writeAll(descriptor, bytes);
    if (error == 0 && ::fsync(descriptor) != 0) error = errno;
    if (error != 0) {
        // The caller then finds its file empty, as before, never a cut picture that it would show broken.
        [[maybe_unused]] const int truncated = ::ftruncate(descriptor, 0);
    }
    // Before the close, so that a handler never empties another file given the same number.
    placeholderBeingFilled = -1;
    if (::close(descriptor) != 0 && error == 0) error = errno;
    if (error != 0) failWriting(path, error);
}

void writeStandardOutput(std::span<const std::uint8_t> bytes)
{
    if (const int error = writeAll(STDOUT_FILENO, bytes))
        throw Exception(std::string("Cannot write standard output: ") + std::strerror(error));
}

void reserveTemporaryNames(std::size_t writers)
{
    std::lock_guard lock(temporaryNamesMutex);
    std::size_t slots = 0;
    TemporaryNameChunk* last = &temporaryNames;
    for (TemporaryNameChunk* chunk = last; chunk; chunk = chunk->next.load()) {
        slots += chunk->count;
        last = chunk;
    }
    if (slots >= writers) return;
    // Linked for the rest of the process: a signal handler may be walking the chunks.
    auto* chunk = new TemporaryNameChunk;
    chunk->count = writers - slots;
    chunk->slots = new TemporaryName[chunk->count];
    last->next.store(chunk);
}

void undoWritesInFlight()
{
    if (const int placeholder = placeholderBeingFilled.exchange(-1); placeholder >= 0) {
        [[maybe_unused]] const int truncated = ::ftruncate(placeholder, 0);
    }
    sweepingTemporaryFiles = true;
    // A creation interrupted on this very thread never ends: the wait is bounded.
    const timespec pause{0, 1'000'000};
    for (int waited = 0; temporaryFilesBeingCreated > 0 && waited < 100; ++waited) ::nanosleep(&pause, nullptr);
    for (TemporaryNameChunk* chunk = &temporaryNames; chunk; chunk = chunk->next.load())
        for (std::size_t i = 0; i < chunk->count; ++i)
            if (chunk->slots[i].listed) ::unlink(chunk->slots[i].name);
}

}  // namespace trovelin
