#include "platform/PosixFolderSearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/FileAttributes.h"
#include "platform/FileMask.h"

namespace trovelin {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

int rank(const std::string& name) { return name == "." ? 0 : name == ".." ? 1 : 2; }

bool comesBefore(const FindData& a, const FindData& b)
{
    if (rank(a.fileName) != rank(b.fileName)) return rank(a.fileName) < rank(b.fileName);
    const auto caseless = [](char x, char y) { return upper(x) < upper(y); };
    const std::string& x = a.fileName;
    const std::string& y = b.fileName;
    if (std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), caseless)) return true;
    if (std::lexicographical_compare(y.begin(), y.end(), x.begin(), x.end(), caseless)) return false;
    return x < y;
}

}  // namespace

std::vector<FindData> listFolder(const std::string& folder, std::string_view masks, bool driveRoot,
                                 std::uint32_t& error)
{
    std::vector<FindData> entries;
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) {
        error = errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND;
        return entries;
    }
    const int dirDescriptor = ::dirfd(dir.get());
    while (const dirent* item = ::readdir(dir.get())) {
        const std::string name = item->d_name;
        const bool dotEntry = name == "." || name == "..";
        if ((dotEntry && driveRoot) || name.find('\\') != std::string::npos) continue;
        if (!matchesMaskList(name, masks)) continue;

        struct stat status {};
        if (::fstatat(dirDescriptor, name.c_str(), &status, 0) != 0 &&
            ::fstatat(dirDescriptor, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT) continue;
            // Listed but not to be looked at (a folder that may be read but not entered): the
            // listing's own type is all there is, without size or time.
            status = {};
            status.st_mode = item->d_type == DT_DIR ? S_IFDIR : item->d_type == DT_REG ? S_IFREG : 0;
        }
        const bool writable = ::faccessat(dirDescriptor, name.c_str(), W_OK, AT_EACCESS) == 0;
        FindData entry;
        entry.fileName = name;
        entry.attributes = fileAttributes(name, status.st_mode, writable);
        entry.size = S_ISREG(status.st_mode) ? static_cast<std::uint64_t>(status.st_size) : 0;
        entry.lastWriteTime = fileTimeFromUnix(status.st_mtim.tv_sec, status.st_mtim.tv_nsec);
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(), comesBefore);
    error = entries.empty() ? ERROR_FILE_NOT_FOUND : 0;
    return entries;
}

}  // namespace trovelin
