#include "cli/FolderWalk.h"

#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <utility>

#include "streaming/TypeInfo.h"

namespace trovelin::cli {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view panelExtension = ".kvr";
// The manifest lies at the top of the output folder, where arguments' names go.
constexpr std::string_view manifestName = "manifest.jsonl";

bool hasPanelExtension(std::string_view name)
{
    return name.size() >= panelExtension.size() &&
           sameText(name.substr(name.size() - panelExtension.size()), panelExtension);
}

std::string withoutPanelExtension(std::string_view name)
{
    return std::string(hasPanelExtension(name) ? name.substr(0, name.size() - panelExtension.size()) : name);
}

// Whether a picture's file (NNN.png) could take this name in the folder the name's file or
// folder goes into.
bool isPictureName(std::string_view name)
{
    constexpr std::string_view pictureExtension = ".png";
    if (name.size() <= pictureExtension.size() ||
        !sameText(name.substr(name.size() - pictureExtension.size()), pictureExtension))
        return false;
    const std::string_view digits = name.substr(0, name.size() - pictureExtension.size());
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A name with "~N" after it, cut short where the whole would pass the longest name a folder
// takes: a 255-byte name must still step aside from its twin.
std::string withSuffix(std::string_view name, int suffix)
{
    const std::string tail = "~" + std::to_string(suffix);
    return std::string(name.substr(0, std::min(name.size(), std::size_t{NAME_MAX} - tail.size()))) + tail;
}

// The name a file's or a folder's output folder takes below its parent's: one that is no
// folder of its own there (empty, "." or "..", as "x/.kvr", "x/..kvr" and "x/...kvr" give) or
// that a picture's file could take gets "~2", as a name already taken does, so that no
// output leaves its parent's folder or lands on another's.
std::string ownFolderName(std::string name)
{
    if (name.empty() || name == "." || name == ".." || isPictureName(name)) return withSuffix(name, 2);
    return name;
}

std::string joined(const std::string& folder, std::string_view name)
{
    return folder.empty() ? std::string(name) : (folder.back() == '/' ? folder : folder + "/") + std::string(name);
}

struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

struct FolderIdentity {
    dev_t device;
    ino_t inode;
    auto operator<=>(const FolderIdentity&) const = default;
};

class Walk {
public:
    explicit Walk(PanelFileWalk& result) : result_(result) {}

    void argument(const std::string& path)
    {
        struct stat status {};
        if (::stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
            // Anything else named is taken as a panel file; the loader says what is wrong with it.
            addFile(path, uniqueName(ownFolderName(withoutPanelExtension(fs::path(path).filename().string()))));
            return;
        }
        const std::size_t before = result_.files.size();
        const std::size_t problemsBefore = result_.problems.size();
        std::vector<std::pair<std::string, std::string>> files;  // path, output folder below the argument's
        std::vector<FolderIdentity> ancestors{{status.st_dev, status.st_ino}};
        folder(path, "", ancestors, files);
        std::sort(files.begin(), files.end());
        const std::string top = uniqueName(lastName(path));
        for (const auto& [file, relative] : files) addFile(file, uniqueName(top + "/" + relative));
        // A folder that could not be read whole may hold panel files: its errors say so alone.
        const bool readWhole = std::none_of(result_.problems.begin() + static_cast<std::ptrdiff_t>(problemsBefore),
                                            result_.problems.end(),
                                            [](const LoadEvent& problem) { return problem.kind == "error"; });
        if (result_.files.size() == before && readWhole) result_.emptyArguments.push_back(path);
    }

private:
    // The folder's files and those of its subfolders, with the folders their pictures go to.
    void folder(const std::string& path, const std::string& relative, std::vector<FolderIdentity>& ancestors,
                std::vector<std::pair<std::string, std::string>>& files)
    {
        std::vector<std::string> subfolders;
        if (!readFolder(path, relative, subfolders, files)) return;
        for (const std::string& name : subfolders) {
            const std::string subPath = joined(path, name);
            struct stat status {};
            if (::stat(subPath.c_str(), &status) != 0) {
                const int error = errno;
                result_.problems.push_back({subPath, "error", std::string("Cannot read the folder: ") + std::strerror(error)});
                continue;
            }
            const FolderIdentity identity{status.st_dev, status.st_ino};
            if (std::find(ancestors.begin(), ancestors.end(), identity) != ancestors.end()) {
                result_.problems.push_back({subPath, "status", "Folder loop: this folder holds itself, passed over"});
                continue;
            }
            ancestors.push_back(identity);
            folder(subPath, joined(relative, ownFolderName(name)), ancestors, files);
            ancestors.pop_back();
        }
    }

    // One folder's panel files and subfolders; its descriptor is closed before any subfolder is
    // opened, so that a deep tree never runs out of descriptors.
    bool readFolder(const std::string& path, const std::string& relative, std::vector<std::string>& subfolders,
                    std::vector<std::pair<std::string, std::string>>& files)
    {
        const std::unique_ptr<DIR, FolderCloser> entries(::opendir(path.c_str()));
        if (!entries) {
            result_.problems.push_back({path, "error", std::string("Cannot read the folder: ") + std::strerror(errno)});
            return false;
        }
        errno = 0;
        while (const dirent* entry = ::readdir(entries.get())) {
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..") continue;
            const std::string entryPath = joined(path, name);
            struct stat status {};
            if (::lstat(entryPath.c_str(), &status) != 0) {
                const int error = errno;
                // Listed but not entered (read permission without search permission): every
                // entry fails alike, and the folder is what cannot be read.
                if (error == EACCES) {
                    result_.problems.push_back({path, "error", std::string("Cannot enter the folder: ") + std::strerror(error)});
                    return false;
                }
                result_.problems.push_back({entryPath, "error", std::string("Cannot read the entry: ") + std::strerror(error)});
                errno = 0;
                continue;
            }
            const bool isLink = S_ISLNK(status.st_mode);
            const bool reached = !isLink || ::stat(entryPath.c_str(), &status) == 0;
            const int linkError = reached ? 0 : errno;
            // A dangling link is nothing; one that cannot be followed may hide anything, and one
            // named as a panel file is the loader's to report.
            if (linkError != 0 && linkError != ENOENT && !hasPanelExtension(name))
                result_.problems.push_back({entryPath, "error", std::string("Cannot read the entry: ") + std::strerror(linkError)});
            if (reached && S_ISDIR(status.st_mode)) {
                if (!isLink) subfolders.push_back(std::string(name));
            } else if (hasPanelExtension(name)) {
                files.emplace_back(entryPath, joined(relative, ownFolderName(withoutPanelExtension(name))));
            }
            errno = 0;
        }
        if (errno != 0)
            result_.problems.push_back({path, "error", std::string("Cannot read the folder: ") + std::strerror(errno)});
        return true;
    }

    static std::string lastName(const std::string& path)
    {
        fs::path name = fs::path(path).lexically_normal();
        if (name.has_filename() && name.filename() != "." && name.filename() != "..") return name.filename().string();
        if (!name.has_filename() && name.has_parent_path() && name.parent_path().has_filename() &&
            name.parent_path().filename() != "..")
            return name.parent_path().filename().string();
        std::error_code error;
        const fs::path real = fs::weakly_canonical(path, error);
        return !error && real.has_filename() ? real.filename().string() : std::string("root");
    }

    // `name` is a '/'-separated output folder; its last name steps aside.
    std::string uniqueName(const std::string& name)
    {
        const std::size_t lastStart = name.rfind('/') + 1;  // 0 without a '/'
        std::string candidate = name;
        for (int suffix = 2; taken_.contains(candidate) || candidate == manifestName; ++suffix)
            candidate = name.substr(0, lastStart) + withSuffix(std::string_view(name).substr(lastStart), suffix);
        taken_.insert(candidate);
        return candidate;
    }

    void addFile(const std::string& path, const std::string& outputFolder)
    {
        result_.files.push_back({path, outputFolder});
    }

    PanelFileWalk& result_;
    std::set<std::string> taken_;
};

}  // namespace

PanelFileWalk walkPanelFiles(const std::vector<std::string>& arguments)
{
    PanelFileWalk result;
    Walk walk(result);
    for (const std::string& argument : arguments) walk.argument(argument);
    return result;
}

}  // namespace trovelin::cli
