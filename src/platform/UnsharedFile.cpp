#include "platform/UnsharedFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

#include "streaming/Errors.h"

namespace trovelin {

namespace {

using FileIdentity = std::pair<dev_t, ino_t>;

// This program's own opens of one file share its lock. The lock is there to keep other programs
// out; without sharing, two threads of this one (extract's jobs, a Python program's threads, a
// tree that holds the file twice through a link) would refuse each other, each taking the other
// for another program. The lock stays on a descriptor of its own until the last open is closed.
class HeldFiles {
public:
    // Takes the lock on `descriptor` for this program, unless another program holds it.
    bool lock(FileIdentity file, int descriptor)
    {
        const std::lock_guard guard(mutex_);
        if (const auto held = held_.find(file); held != held_.end()) {
            ++held->second.users;
            return true;
        }
        if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) return false;
        held_[file] = {::fcntl(descriptor, F_DUPFD_CLOEXEC, 0), 1};
        return true;
    }

    void leave(FileIdentity file)
    {
        const std::lock_guard guard(mutex_);
        const auto held = held_.find(file);
        if (held == held_.end() || --held->second.users > 0) return;
        if (held->second.lockDescriptor >= 0) ::close(held->second.lockDescriptor);
        held_.erase(held);
    }

private:
    struct Held {
        int lockDescriptor;
        int users;
    };
    std::mutex mutex_;
    std::map<FileIdentity, Held> held_;
};

HeldFiles& heldFiles()
{
    static HeldFiles files;
    return files;
}

class SharedLockFileStream final : public FileStream {
public:
    SharedLockFileStream(int descriptor, std::string shownName, FileIdentity file)
        : FileStream(descriptor, std::move(shownName)), file_(file)
    {
    }
    ~SharedLockFileStream() override { heldFiles().leave(file_); }
    SharedLockFileStream(const SharedLockFileStream&) = delete;
    SharedLockFileStream& operator=(const SharedLockFileStream&) = delete;

private:
    FileIdentity file_;
};

}  // namespace

std::unique_ptr<FileStream> openUnshared(const std::string& path, const std::string& shownName)
{
    // Non-blocking, so that opening a FIFO cannot wait for a writer; FileStream refuses it.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) throw EFOpenError(cannotOpenFileMessage(shownName), std::strerror(errno));
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        const int reason = errno;
        ::close(descriptor);
        throw EFOpenError(cannotOpenFileMessage(shownName), std::strerror(reason));
    }
    const FileIdentity file{status.st_dev, status.st_ino};
    if (!heldFiles().lock(file, descriptor)) {
        ::close(descriptor);
        throw EFOpenError(cannotOpenFileMessage(shownName), "Locked by another program");
    }
    try {
        return std::make_unique<SharedLockFileStream>(descriptor, shownName, file);
    } catch (...) {
        heldFiles().leave(file);
        throw;
    }
}

std::unique_ptr<FileStream> openUnshared(const std::string& path)
{
    return openUnshared(path, path);
}

}  // namespace trovelin
