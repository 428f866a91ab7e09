#pragma once
// The shell's answers from Qt: icons from the file icon provider, type names from the MIME
// database ("File folder" for folders), display names from the volume labels for drive roots.

#include <vector>

#include <QFileIconProvider>
#include <QIcon>

#include "browse/ShellInfo.h"

namespace trovelin {

class PosixFileSystem;

class QtShellInfo : public ShellInfo {
public:
    explicit QtShellInfo(const PosixFileSystem& fileSystem);

    ShellFileInfo fileInfo(const std::string& path) override;
    // The icon of an image index that fileInfo gave.
    QIcon icon(int index) const;

private:
    int iconIndex(const QIcon& icon);

    const PosixFileSystem& fileSystem_;
    QFileIconProvider provider_;
    std::vector<QIcon> icons_;
};

}  // namespace trovelin
