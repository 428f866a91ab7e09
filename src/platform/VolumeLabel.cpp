#include "platform/VolumeLabel.h"

#include <dirent.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <optional>

namespace trovelin {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

std::optional<std::string> resolved(const std::string& path)
{
    char buffer[PATH_MAX];
    if (::realpath(path.c_str(), buffer) == nullptr) return std::nullopt;
    return std::string(buffer);
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string decodeUdevName(const std::string& name)
{
    std::string result;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && hexValue(name[i + 2]) >= 0 &&
            hexValue(name[i + 3]) >= 0) {
            result += static_cast<char>(hexValue(name[i + 2]) * 16 + hexValue(name[i + 3]));
            i += 3;
        } else {
            result += name[i];
        }
    }
    return result;
}

}  // namespace

std::string volumeLabelOf(const std::string& device, const std::string& labelFolder)
{
    const std::optional<std::string> target = resolved(device);
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(labelFolder.c_str()));
    if (!target || !dir) return {};
    while (const dirent* item = ::readdir(dir.get())) {
        const std::string name = item->d_name;
        if (name == "." || name == "..") continue;
        if (resolved(labelFolder + "/" + name) == target) return decodeUdevName(name);
    }
    return {};
}

}  // namespace trovelin
