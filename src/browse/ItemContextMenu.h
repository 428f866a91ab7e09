#pragma once
// The context menu of files and folders: Open, Open With (the applications for the items), Show in
// Folder, Copy Path, Rename, Move to Trash, Properties. Hovering an entry sets the hint to its
// verb, "|" and its help text; closing the menu clears the hint.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QMenu>

#include "browse/DesktopServices.h"

namespace trovelin {

enum class ItemCommand { Open, OpenWith, ShowInFolder, CopyPath, Rename, MoveToTrash, Properties };

struct ItemMenuChoice {
    ItemCommand command;
    DesktopApplication application;  // for OpenWith
};

class ItemContextMenu {
public:
    // `applications`: the entries of Open With, in order.
    ItemContextMenu(const std::vector<DesktopApplication>& applications,
                    std::function<void(const std::string& hint)> setHint, QWidget* parent);

    QMenu& menu() { return menu_; }
    // Null for no action or one that is no command (the Open With sub-menu itself).
    const ItemMenuChoice* choiceOf(const QAction* action) const;

private:
    void addCommand(QMenu& menu, const QString& text, ItemMenuChoice choice, const std::string& hint);

    QMenu menu_;
    std::function<void(const std::string&)> setHint_;
    std::map<const QAction*, ItemMenuChoice> choices_;
};

}  // namespace trovelin
