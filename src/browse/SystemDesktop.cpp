#include "browse/SystemDesktop.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <QFile>

#include "browse/EntryMove.h"
#include "browse/FileManagerBus.h"
#include "browse/GioApplications.h"

namespace trovelin {

namespace {

bool exists(const char* path)
{
    struct stat status {};
    return ::lstat(path, &status) == 0;
}

// ".../Trash/files/NAME" (the home trash), ".../.Trash-UID/files/NAME" or ".../.Trash/UID/files/NAME"
// (a volume's trash), as the freedesktop trash has them.
bool isInTrashFolder(const std::string& path)
{
    const std::filesystem::path trash = std::filesystem::path(path).parent_path();
    if (!trash.is_absolute() || trash.filename() != "files") return false;
    const std::string name = trash.parent_path().filename().string();
    const std::string uid = std::to_string(::getuid());
    return name == "Trash" || name == ".Trash-" + uid ||
           (name == uid && trash.parent_path().parent_path().filename() == ".Trash");
}

}  // namespace

std::string SystemDesktop::contentType(const std::string& path) { return gio::contentType(path); }

std::optional<DesktopApplication> SystemDesktop::defaultApplication(const std::string& contentType)
{
    return gio::defaultApplication(contentType);
}

std::vector<DesktopApplication> SystemDesktop::applications(const std::string& contentType)
{
    return gio::applications(contentType);
}

bool SystemDesktop::launch(const DesktopApplication& application, const std::vector<std::string>& paths)
{
    return gio::launch(application, paths);
}

bool SystemDesktop::showItems(const std::vector<std::string>& paths)
{
    return callFileManager("ShowItems", paths, fileManagerTimeout);
}

bool SystemDesktop::showFolders(const std::vector<std::string>& paths)
{
    return callFileManager("ShowFolders", paths, fileManagerTimeout);
}

bool SystemDesktop::showItemProperties(const std::vector<std::string>& paths)
{
    return callFileManager("ShowItemProperties", paths, fileManagerTimeout);
}

TrashOutcome SystemDesktop::moveToTrash(const std::string& path)
{
    // Qt names files by text: a name whose bytes do not survive the way there and back would
    // name another file, so it is refused.
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    const QString name = QFile::decodeName(bytes);
    if (QFile::encodeName(name) != bytes) return {{}, "its name is not text the trash can record"};
    // Qt moves within the volume (a trash of the home folder or of the volume's top folder) and
    // never copies and deletes, so an item that no trash takes stays where it is.
    // When no trash folder can be made, Qt makes "files" and "info" in the current folder and
    // moves the item there: such a move is undone, and the folders it made go with it.
    const bool hadFiles = exists("files");
    const bool hadInfo = exists("info");
    QFile file(name);
    if (!file.moveToTrash()) return {{}, file.errorString().toStdString()};
    const std::string pathInTrash = QFile::encodeName(file.fileName()).toStdString();  // now its place in the trash
    if (isInTrashFolder(pathInTrash)) return {pathInTrash, {}};
    if (std::string problem = restoreFromTrash(pathInTrash, path); !problem.empty())
        return {pathInTrash, "no trash folder could be made, and it stays in " + pathInTrash + ": " + problem};
    if (!hadFiles) ::rmdir("files");
    if (!hadInfo) ::rmdir("info");
    return {{}, "no trash folder could be made"};
}

std::string SystemDesktop::restoreFromTrash(const std::string& pathInTrash, const std::string& path)
{
    if (std::string problem = moveEntryWithoutReplacing(pathInTrash, path); !problem.empty()) return problem;
    // The trash's record of the item ("TRASH/info/NAME.trashinfo" beside "TRASH/files/NAME") goes
    // with it, or the trash would list an item that is not there.
    const std::size_t nameStart = pathInTrash.find_last_of('/');
    const std::size_t filesStart = pathInTrash.find_last_of('/', nameStart - 1);
    if (nameStart != std::string::npos && filesStart != std::string::npos &&
        pathInTrash.compare(filesStart, nameStart - filesStart, "/files") == 0) {
        const std::string info = pathInTrash.substr(0, filesStart) + "/info/" + pathInTrash.substr(nameStart + 1) +
                                 ".trashinfo";
        ::unlink(info.c_str());
    }
    return {};
}

}  // namespace trovelin
