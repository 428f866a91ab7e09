#include "platform/UnsharedFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/DriveMap.h"
#include "platform/WindowsPath.h"
#include "streaming/Errors.h"

namespace trovelin {

std::unique_ptr<FileStream> openUnshared(const std::string& path)
{
    // A drive path ("C:\Shows\show.kvr", as the browsing widgets give it) names the file on its
    // drive's mount; the error message keeps the name the user knows.
    std::string nativePath = path;
    if (driveLetterOf(path) != 0) {
        const std::optional<std::string> translated = DriveMap::fromSystem().toLinuxPath(path);
        if (!translated) throw EFOpenError(cannotOpenFileMessage(path));
        nativePath = *translated;
    }
    // Non-blocking, so that opening a FIFO cannot wait for a writer; FileStream refuses it.
    const int descriptor = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) throw EFOpenError(cannotOpenFileMessage(path));
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        throw EFOpenError(cannotOpenFileMessage(path));
    }
    // Closing the descriptor, as the stream does when it goes, releases the lock.
    return std::make_unique<FileStream>(descriptor, path);
}

}  // namespace trovelin
