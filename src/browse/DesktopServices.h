#pragma once
// What the desktop of this system offers for files and folders: content types, the applications
// registered for them, launching an application with files, the file manager's windows, and the
// trash. The item actions talk to the desktop only through this, so that tests can stand in for it.
// Paths are this system's, absolute, as bytes (a name need not be UTF-8).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trovelin {

struct DesktopApplication {
    std::string id;    // "org.example.Viewer.desktop"
    std::string name;  // for people: "Image Viewer"

    bool operator==(const DesktopApplication&) const = default;
};

// An item that a move put in the trash, with what proves later that the trash still holds that
// very item: its device and inode (kept by the move) and the whole record the trash keeps of it.
struct TrashedItem {
    std::string path;         // where it was
    std::string pathInTrash;  // "TRASH/files/NAME"
    std::string infoPath;     // "TRASH/info/NAME.trashinfo"
    std::string info;         // that record's text as the move left it
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

// What a move to the trash did: an item may be in the trash and still have gone wrong (its record
// was bad and it could not be put back), so both may be set.
struct TrashOutcome {
    std::optional<TrashedItem> trashed;  // set while the item is in the trash
    std::string error;                   // for people: "Permission denied"; empty when all went well
};

// What putting an item back did. `Kept`: it is still in the trash and may be put back later (its
// name is taken meanwhile, or the trash cannot be read for a while); `Gone`: the trash no longer
// holds that item, and no later try can.
struct RestoreOutcome {
    enum Result { Restored, Kept, Gone } result = Restored;
    std::string error;  // for people; empty when restored
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
    // Puts a trashed item back where it was, only while the trash still holds that very item and
    // only while its old name names nothing.
    virtual RestoreOutcome restoreFromTrash(const TrashedItem& item) = 0;
};

}  // namespace trovelin
