#pragma once
// The context menu of files and folders: a first line naming the items, then the program's own
// command for its files (in bold) when there is one, Open, Open With (the
// applications for the items), Show in Folder, Copy Path, Rename, Move to Trash, Undo Move to
// Trash, Properties. Entries that can do nothing for these items are disabled. Hovering an entry
// sets the hint to its verb, "|" and its help text; closing the menu clears the hint.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QMenu>

#include "browse/DesktopServices.h"

namespace trovelin {

enum class ItemCommand { Content, Open, OpenWith, ShowInFolder, CopyPath, Rename, MoveToTrash, UndoTrash, Properties };

struct ItemMenuChoice {
    ItemCommand command;
    DesktopApplication application;  // for OpenWith
};

struct ItemMenuOptions {
    QString title;  // names the items: "club-stage.kvr", "3 items"
    std::vector<DesktopApplication> applications;  // the entries of Open With, in order
    bool canOpen = true;       // every item has a default application
    bool canRename = true;     // one item, and no drive
    bool canTrash = true;      // no drive among the items
    bool canUndoTrash = false;  // something was moved to the trash and can come back
    QString contentCommand;  // the program's own command for the item; empty for none
};

class ItemContextMenu {
public:
    ItemContextMenu(const ItemMenuOptions& options, std::function<void(const std::string& hint)> setHint,
                    QWidget* parent);

    QMenu& menu() { return menu_; }
    // Null for no action or one that is no command (the Open With sub-menu itself).
    const ItemMenuChoice* choiceOf(const QAction* action) const;

private:
    QAction* addCommand(QMenu& menu, const QString& text, ItemMenuChoice choice, const std::string& hint);

    QMenu menu_;
    std::function<void(const std::string&)> setHint_;
    std::map<const QAction*, ItemMenuChoice> choices_;
};

}  // namespace trovelin
