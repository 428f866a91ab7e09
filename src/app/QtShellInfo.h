#pragma once
// The shell's answers from Qt: icons from the file icon provider, type names from the MIME
// database ("File folder" for folders), display names from the volume labels for drive roots.
// As the original shell does, a file's type and icon follow its extension alone, so they are
// looked up once per extension and never by reading the file.

#include <optional>
#include <unordered_map>
#include <vector>

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QString>

#include "browse/ShellInfo.h"

namespace trovelin {

class PosixFileSystem;

class QtShellInfo : public ShellInfo {
public:
    explicit QtShellInfo(const PosixFileSystem& fileSystem);

    ShellFileInfo fileInfo(const std::string& path) override;
    ShellFileInfo entryInfo(const std::string& path, std::uint32_t attributes) override;
    // The icon of an image index that fileInfo gave.
    QIcon icon(int index) const;

private:
    struct FileKind {
        std::string typeName;
        int iconIndex;
    };
    ShellFileInfo describe(const std::string& path, std::optional<bool> knownFolder);
    const FileKind& kindOfExtension(const QFileInfo& file);
    int iconIndex(const QIcon& icon);

    const PosixFileSystem& fileSystem_;
    QFileIconProvider provider_;
    std::vector<QIcon> icons_;
    std::unordered_map<QString, FileKind> kinds_;  // by lower-case extension
};

}  // namespace trovelin
