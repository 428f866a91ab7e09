#include "browse/SystemDesktop.h"

#include <QFile>

#include "browse/FileManagerBus.h"
#include "browse/GioApplications.h"

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

bool SystemDesktop::showItemProperties(const std::vector<std::string>& paths)
{
    return callFileManager("ShowItemProperties", paths, fileManagerTimeout);
}

bool SystemDesktop::moveToTrash(const std::string& path)
{
    // Qt names files by text: a name whose bytes do not survive the way there and back would
    // name another file, so it is refused.
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    const QString name = QFile::decodeName(bytes);
    if (QFile::encodeName(name) != bytes) return false;
    return QFile::moveToTrash(name);
}

}  // namespace trovelin
