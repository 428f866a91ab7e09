#include "platform/UnsharedFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "streaming/Errors.h"

namespace trovelin {

std::unique_ptr<FileStream> openUnshared(const std::string& path, const std::string& shownName)
{
    // Non-blocking, so that opening a FIFO cannot wait for a writer; FileStream refuses it.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) throw EFOpenError(cannotOpenFileMessage(shownName), std::strerror(errno));
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        throw EFOpenError(cannotOpenFileMessage(shownName), "Locked by another program");
    }
    // Closing the descriptor, as the stream does when it goes, releases the lock.
    return std::make_unique<FileStream>(descriptor, shownName);
}

std::unique_ptr<FileStream> openUnshared(const std::string& path)
{
    return openUnshared(path, path);
}

}  // namespace trovelin
