#pragma once
// What the desktop of this system offers for files and folders: content types, the applications
// registered for them, launching an application with files, the file manager's windows, and the
// trash. The item actions talk to the desktop only through this, so that tests can stand in for it.
// Paths are this system's, absolute, as bytes (a name need not be UTF-8).

#include <optional>
#include <string>
#include <vector>

namespace trovelin {

struct DesktopApplication {
    std::string id;    // "org.example.Viewer.desktop"
    std::string name;  // for people: "Image Viewer"

    bool operator==(const DesktopApplication&) const = default;
};

// Where an item went in the trash, and what went wrong: an item may have moved somewhere and
// still have failed to reach a trash.
struct TrashOutcome {
    std::string pathInTrash;  // empty when the item did not move
    std::string error;        // for people: "Permission denied"; empty when all went well
};

// The content type of every folder.
inline constexpr const char* folderContentType = "inode/directory";

class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // "image/png", "inode/directory", ...; "application/octet-stream" when nothing is known.
    virtual std::string contentType(const std::string& path) = 0;
    virtual std::optional<DesktopApplication> defaultApplication(const std::string& contentType) = 0;
    // Every application registered for the type, in the desktop's order of preference.
    virtual std::vector<DesktopApplication> applications(const std::string& contentType) = 0;
    // Starts the application with the files; true once it was started.
    virtual bool launch(const DesktopApplication& application, const std::vector<std::string>& paths) = 0;

    // The file manager's window showing the items selected in their folder, its windows showing
    // the folders themselves, and its properties window for the items. False when no file manager
    // answered.
    virtual bool showItems(const std::vector<std::string>& paths) = 0;
    virtual bool showFolders(const std::vector<std::string>& paths) = 0;
    virtual bool showItemProperties(const std::vector<std::string>& paths) = 0;

    // Nothing is deleted for good: an item that no trash can take stays where it is.
    virtual TrashOutcome moveToTrash(const std::string& path) = 0;
    // Puts an item back from the trash under `path`, which must name nothing; empty on success,
    // else the reason.
    virtual std::string restoreFromTrash(const std::string& pathInTrash, const std::string& path) = 0;
};

}  // namespace trovelin
