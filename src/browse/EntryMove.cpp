#include "browse/EntryMove.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace trovelin {

namespace {

std::string reasonOf(int error)
{
    return error == EEXIST || error == ENOTEMPTY ? "an item of that name exists" : std::strerror(error);
}

}  // namespace

std::string moveEntryWithoutReplacing(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    if (errno != EINVAL && errno != ENOSYS) return reasonOf(errno);
    // A file system without the atomic test: the check and the move are two steps there.
    struct stat status {};
    if (::lstat(to.c_str(), &status) == 0) return reasonOf(EEXIST);
    if (std::rename(from.c_str(), to.c_str()) == 0) return {};
    return reasonOf(errno);
}

std::string newNameProblem(const std::string& name)
{
    if (name.empty()) return "a name cannot be empty";
    if (name == "." || name == "..") return "\"" + name + "\" names a folder, not an item";
    // A backslash separates the drive paths that the list shows, a slash this system's.
    if (name.find_first_of("/\\") != std::string::npos) return "a name cannot hold \"/\" or \"\\\"";
    if (std::ranges::any_of(name, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
        return "a name cannot hold control characters";
    return {};
}

}  // namespace trovelin
