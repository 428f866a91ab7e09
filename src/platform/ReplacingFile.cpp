#include "platform/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/FileBatch.h"
#include "platform/TemporaryFiles.h"
#include "streaming/Errors.h"

namespace trovelin {

namespace {

[[noreturn]] void failWriting(const std::string& path, int error)
{
    throw Exception("Cannot write " + path + ": " + std::strerror(error));
}

// The caller's own file while it is being filled in place, for the handler to empty again: a
// signal that ends the write halfway must leave the caller its empty file, never a cut picture.
std::atomic<int> placeholderBeingFilled{-1};

// Writes into an open device, FIFO or socket, as a program writing to it would.
void writeIntoOpened(int descriptor, const std::string& path, std::span<const std::uint8_t> bytes)
{
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int error = errno;
        ::close(descriptor);
        failWriting(path, error);
    }
    if (const int error = writeSyncAndClose(descriptor, bytes, false)) failWriting(path, error);
}

}  // namespace

void writeFileOverName(const std::string& path, std::span<const std::uint8_t> bytes)
{
    FileBatch batch(FileBatch::Sync::EachFile);
    batch.writeOverName(path, bytes);
    if (const std::vector<FileBatchFailure> failures = batch.commit(); !failures.empty())
        throw Exception(failures.front().text);
}

void writeFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes)
{
    FileBatch batch(FileBatch::Sync::EachFile);
    batch.write(path, bytes);
    if (const std::vector<FileBatchFailure> failures = batch.commit(); !failures.empty())
        throw Exception(failures.front().text);
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
        writeFileOverName(path, bytes);
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
        writeFileOverName(path, bytes);
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

void undoWritesInFlight()
{
    if (const int placeholder = placeholderBeingFilled.exchange(-1); placeholder >= 0) {
        [[maybe_unused]] const int truncated = ::ftruncate(placeholder, 0);
    }
    removeTemporaryFiles();
}

}  // namespace trovelin
