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

// mkstemp creates files readable by the owner alone; outputs get the usual permissions.
mode_t permissionsFromUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

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

    int error = ::fchmod(descriptor, permissionsFromUmask()) == 0 ? writeAll(descriptor, bytes) : errno;
    if (::close(descriptor) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(name.data(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(name.data());
        failWriting(path, error);
    }
}

}  // namespace trovelin
