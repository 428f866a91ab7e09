#include "browse/SystemDesktop.h"

#include "browse/FileManagerBus.h"
#include "browse/GioApplications.h"
#include "browse/GioTrash.h"

namespace trovelin {

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

TrashOutcome SystemDesktop::moveToTrash(const std::string& path) { return gio::moveToTrash(path); }

RestoreOutcome SystemDesktop::restoreFromTrash(const TrashedItem& item) { return gio::restoreFromTrash(item); }

}  // namespace trovelin
