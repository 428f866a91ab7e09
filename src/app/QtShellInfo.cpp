#include "app/QtShellInfo.h"

#include <QFileInfo>
#include <QMimeDatabase>

#include "platform/FileAttributes.h"
#include "platform/PosixFileSystem.h"
#include "platform/WindowsPath.h"

namespace trovelin {

QtShellInfo::QtShellInfo(const PosixFileSystem& fileSystem) : fileSystem_(fileSystem) {}

ShellFileInfo QtShellInfo::fileInfo(const std::string& path) { return describe(path, std::nullopt); }

ShellFileInfo QtShellInfo::entryInfo(const std::string& path, std::uint32_t attributes)
{
    return describe(path, (attributes & faDirectory) != 0);
}

ShellFileInfo QtShellInfo::describe(const std::string& path, std::optional<bool> knownFolder)
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
    if (knownFolder ? *knownFolder : file.isDir()) {
        info.typeName = "File folder";
        info.iconIndex = iconIndex(provider_.icon(QFileIconProvider::Folder));
        return info;
    }
    const FileKind& kind = kindOfExtension(file);
    info.typeName = kind.typeName;
    info.iconIndex = kind.iconIndex;
    return info;
}

// The MIME database's description of the file's extension; one it does not know is named after
// the extension, as "KVR File". The icon is the first such file's.
const QtShellInfo::FileKind& QtShellInfo::kindOfExtension(const QFileInfo& file)
{
    const QString suffix = file.suffix().toLower();
    if (const auto known = kinds_.find(suffix); known != kinds_.end()) return known->second;
    const QMimeType type = QMimeDatabase().mimeTypeForFile("file." + suffix, QMimeDatabase::MatchExtension);
    FileKind kind;
    if (!type.isDefault())
        kind.typeName = type.comment().toStdString();
    else
        kind.typeName = suffix.isEmpty() ? "File" : (suffix.toUpper() + " File").toStdString();
    const QIcon icon = provider_.icon(file);
    kind.iconIndex = iconIndex(icon.isNull() ? provider_.icon(QFileIconProvider::File) : icon);
    return kinds_.emplace(suffix, std::move(kind)).first->second;
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
