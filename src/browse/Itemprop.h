#pragma once
// Shell item actions: files and folders treated the way the desktop's file manager treats them.
// Four operations (the context menu, the properties window, the default action that a double-click
// in the file manager performs, and named verbs), each in three forms: a full path, a folder and
// names inside it, and items already resolved in their folder. Paths are drive paths
// ("C:\Shows\show.kvr") or this system's ("/home/me/show.kvr"). In the full path form a name with
// "*" or "?" stands for the matching entries (letter case ignored), unless an entry has exactly
// that name, which then means that one entry; a drive root ("C:\") stands for the drive itself,
// and a path ending in "." or ".." for nothing. The folder and names form takes every name as
// written. Every operation shows the hourglass while it runs and returns true only when its
// action was carried out; what changed and what failed goes to the status callback.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <QPoint>
#include <QString>

#include "browse/DesktopServices.h"

class QAction;
class QMenu;
class QWidget;

namespace trovelin {

class ContentCommand;
class ContentDescriber;
class PosixFileSystem;

// The attribute bit that lets the properties action run: items that exist have properties.
inline constexpr std::uint32_t SFGAO_HASPROPSHEET = 0x40;

// The folder that resolved items are named in: a folder (its drive path), or, when empty, the
// drives, whose items are drive roots such as "C:\".
struct ShellFolder {
    std::string path;
    // This system's path of the folder as it was resolved, so that a drive letter given to another
    // volume meanwhile cannot redirect an action; empty: resolved from `path` when acting.
    std::string local;

    bool isDrives() const { return path.empty(); }
};

class ShellItemActions {
public:
    ShellItemActions(PosixFileSystem& fileSystem, DesktopServices& desktop);

    // `owner` is the window that menus and dialogs belong to; it may be null.
    bool DisplayPropertiesDialog(const std::string& path, QWidget* owner);
    bool DisplayPropertiesDialog(const std::string& folder, const std::vector<std::string>& names, QWidget* owner);
    bool DisplayPropertiesDialog(const ShellFolder& folder, std::span<const std::string> items, QWidget* owner,
                                 std::uint32_t attributes);

    // Shows the menu at a screen position. `renameChosen` is set when the user picked Rename,
    // which is left to the caller, and cleared otherwise.
    bool DisplayContextMenu(const std::string& path, QWidget* owner, QPoint position, bool& renameChosen);
    bool DisplayContextMenu(const std::string& folder, const std::vector<std::string>& names, QWidget* owner,
                            QPoint position, bool& renameChosen);
    bool DisplayContextMenu(const ShellFolder& folder, std::span<const std::string> items, QWidget* owner,
                            QPoint position, std::uint32_t attributes, bool& renameChosen);

    bool PerformDefaultAction(const std::string& path, QWidget* owner);
    bool PerformDefaultAction(const std::string& folder, const std::vector<std::string>& names, QWidget* owner);
    bool PerformDefaultAction(const ShellFolder& folder, std::span<const std::string> items, QWidget* owner,
                              std::uint32_t attributes);

    // Verbs, letter case ignored: "open" (the default action), "openas" (a choice of the
    // applications for the items), "explore" (the file manager opens the folders), "showitem" (it
    // shows the items in their folder), "properties", "delete" (to the trash, never for good).
    // Any other verb does nothing and gives false.
    bool PerformVerb(const std::string& verb, const std::string& path, QWidget* owner);
    bool PerformVerb(const std::string& verb, const std::string& folder, const std::vector<std::string>& names,
                     QWidget* owner);
    bool PerformVerb(const std::string& verb, const ShellFolder& folder, std::span<const std::string> items,
                     QWidget* owner, std::uint32_t attributes);

    // Resolves a full path to the folder that holds it and its name there (a drive root to the
    // drives and itself). False for a path that names nothing.
    bool GetPIDLAndShellFolder(const std::string& fullPath, ShellFolder& folder, std::string& item) const;

    // Puts the items that the last move to the trash took back under their names; an item whose
    // name was taken meanwhile stays in the trash, and in the undo, with a message; one that the
    // trash no longer holds (emptied, put back elsewhere, another item in its place) leaves the
    // undo, with a message. False when nothing came back.
    bool UndoTrash();
    bool canUndoTrash() const { return !lastTrashed_.empty(); }

    // The application's hint: verb "|" help text of the menu entry under the pointer, empty
    // when no menu is open.
    const std::string& hint() const { return hint_; }
    std::function<void(const std::string& hint)> onHint;
    // What the program knows of its own files' content, for the properties dialog; unset, the
    // dialog tells files alone.
    ContentDescriber* contentDescriber = nullptr;
    // The program's own command for its files, first in a file's menu; unset, menus have none.
    ContentCommand* contentCommand = nullptr;
    // Runs the program's own command on one file (this system's path), saying what went wrong;
    // false when the file has none.
    bool runContentCommand(const std::string& localPath);
    // What an action did or why it failed, naming the items ("Moved show.kvr to the trash (Ctrl+Z
    // undoes)"), and that items of a folder changed (moved to the trash or back).
    std::function<void(const QString& text)> onStatus;
    std::function<void()> onItemsChanged;
    // Shows a menu at a screen position and gives the entry chosen, or null; tests replace it.
    std::function<QAction*(QMenu& menu, QPoint position)> popupMenu;

private:
    enum class ActionKind { ContextMenu, Properties, DefaultAction, Verb };
    struct Request {
        ActionKind kind;
        QWidget* owner;
        QPoint position;
        std::string verb;
        bool* renameChosen = nullptr;
    };
    struct Resolved {
        ShellFolder folder;
        std::vector<std::string> names;
    };

    std::optional<Resolved> resolvePath(const std::string& path) const;
    std::optional<Resolved> resolveNames(const std::string& folder, const std::vector<std::string>& names) const;
    bool runForPath(const std::string& path, const Request& request);
    bool runForNames(const std::string& folder, const std::vector<std::string>& names, const Request& request);
    bool menuStep(const ShellFolder& folder, std::span<const std::string> items, std::uint32_t attributes,
                  const Request& request);
    std::optional<std::string> localPathOf(const ShellFolder& folder, const std::string& item) const;

    // `title` names the items: their names as the caller gave them.
    bool showContextMenu(const ShellFolder& folder, const std::vector<std::string>& paths, const Request& request,
                         const QString& title);
    bool performVerb(const std::string& verb, const ShellFolder& folder, const std::vector<std::string>& paths,
                     QWidget* owner);
    bool defaultAction(const std::vector<std::string>& paths);
    bool hasDefaultApplications(const std::vector<std::string>& paths);
    bool openWith(const std::vector<std::string>& paths);
    bool showInFolder(const ShellFolder& folder, const std::vector<std::string>& paths);
    bool openFolders(const std::vector<std::string>& paths);
    bool showProperties(const ShellFolder& folder, const std::vector<std::string>& paths, QWidget* owner);
    bool moveToTrash(const std::vector<std::string>& paths);
    // The applications registered for every item's type, the default of the first item's first.
    std::vector<DesktopApplication> commonApplications(const std::vector<std::string>& paths);
    QAction* popup(QMenu& menu, QPoint position);
    void setHint(const std::string& hint);
    void report(const QString& text);
    // Says what failed, naming the items; returns false.
    bool fail(const QString& what, const std::vector<std::string>& paths, const QString& reason);

    PosixFileSystem& fileSystem_;
    DesktopServices& desktop_;
    std::string hint_;
    std::vector<TrashedItem> lastTrashed_;
};

// An item's name for people: the last part of a path of this system, bytes that are no text and
// control characters shown as U+FFFD.
QString displayNameOf(const std::string& path);
// "show.kvr" for one item, "3 items" for several.
QString itemsText(const std::vector<std::string>& paths);

}  // namespace trovelin
