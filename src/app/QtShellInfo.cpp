#include "app/QtShellInfo.h"

#include <QFileInfo>
#include <QMimeDatabase>

#include "platform/PosixFileSystem.h"
#include "platform/WindowsPath.h"

namespace trovelin {

namespace {

// The MIME database's description; a type it does not know is named after the extension, as
// "KVR File".
std::string typeNameOf(const QFileInfo& file)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    if (!type.isDefault()) return type.comment().toStdString();
    const QString suffix = file.suffix().toUpper();
    return suffix.isEmpty() ? "File" : (suffix + " File").toStdString();
}

}  // namespace

QtShellInfo::QtShellInfo(const PosixFileSystem& fileSystem) : fileSystem_(fileSystem) {}

ShellFileInfo QtShellInfo::fileInfo(const std::string& path)
{
    ShellFileInfo info;
    const std::optional<std::string> native = fileSystem_.drives().toLinuxPath(path);
    if (!native) return info;
    const QFileInfo file(QString::fromStdString(*native));
    if (isDriveRoot(path)) {
        const std::optional<VolumeInformation> volume = fileSystem_.volumeInformation(path);
        const std::string label = volume && !volume->volumeName.empty() ? volume->volumeName : "Local Disk";
        info.displayName = label + " (" + path.substr(0, 2) + ")";
        info.typeName = "Local Disk";
        info.iconIndex = iconIndex(provider_.icon(QFileIconProvider::Drive));
        return info;
    }
    info.displayName = file.fileName().toStdString();
    info.typeName = file.isDir() ? "File folder" : typeNameOf(file);
    info.iconIndex = iconIndex(provider_.icon(file));
    return info;
}

QIcon QtShellInfo::icon(int index) const
{
    return index >= 0 && index < static_cast<int>(icons_.size()) ? icons_[static_cast<std::size_t>(index)] : QIcon();
}

// Icons are shared by kind, so the same icon keeps one index, as in a system image list.
int QtShellInfo::iconIndex(const QIcon& icon)
{
    for (std::size_t i = 0; i < icons_.size(); ++i)
        if (icons_[i].cacheKey() == icon.cacheKey()) return static_cast<int>(i);
    icons_.push_back(icon);
    return static_cast<int>(icons_.size() - 1);
}

}  // namespace trovelin
