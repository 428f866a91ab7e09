#include "platform/FileAttributes.h"

#include <sys/stat.h>

namespace trovelin {

std::uint32_t fileAttributes(std::string_view name, mode_t mode, bool writable)
{
    std::uint32_t attributes = 0;
    if (S_ISDIR(mode)) {
        attributes |= faDirectory;
    } else if (S_ISREG(mode)) {
        attributes |= faArchive;
    } else {
        attributes |= faSysFile;
    }
    if (!writable) attributes |= faReadOnly;
    if (name.starts_with('.') && name != "." && name != "..") attributes |= faHidden;
    return attributes;
}

}  // namespace trovelin
