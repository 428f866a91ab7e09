#include "platform/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "streaming/Errors.h"

namespace trovelin {

namespace {

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
int syncFolder(const std::filesystem::path& folder)
{
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return errno;
    const int error = ::fsync(descriptor) == 0 || errno == EINVAL ? 0 : errno;
    ::close(descriptor);
    return error;
}

}  // namespace

void writeFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes)
{
    const std::filesystem::path target(path);
    // A hidden name in the target's folder, so that the rename stays within one file system.
    std::string pattern = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = ::mkstemp(name.data());
    if (descriptor < 0) failWriting(path, errno);

    // The bytes are on the disk before the name points at them, so that a crash or a power loss
    // leaves the old file or the whole new one, never an empty one.
    int error = ::fchmod(descriptor, outputPermissions) == 0 ? writeAll(descriptor, bytes) : errno;
    if (error == 0 && ::fsync(descriptor) != 0) error = errno;
    if (::close(descriptor) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(name.data(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(name.data());
        failWriting(path, error);
    }
    if (const int folderError = syncFolder(target.parent_path())) failWriting(path, folderError);
}

}  // namespace trovelin
