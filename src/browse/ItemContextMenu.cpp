#include "browse/ItemContextMenu.h"

#include <utility>

namespace trovelin {

ItemContextMenu::ItemContextMenu(const std::vector<DesktopApplication>& applications,
                                 std::function<void(const std::string& hint)> setHint, QWidget* parent)
    : menu_(parent), setHint_(std::move(setHint))
{
    addCommand(menu_, "Open", {ItemCommand::Open, {}}, "open|Opens the items with their default application");
    QMenu* openWith = menu_.addMenu("Open With");
    openWith->setEnabled(!applications.empty());
    for (const DesktopApplication& application : applications)
        addCommand(*openWith, QString::fromStdString(application.name), {ItemCommand::OpenWith, application},
                   "openas|Opens the items with " + application.name);
    addCommand(menu_, "Show in Folder", {ItemCommand::ShowInFolder, {}},
               "showitem|Shows the items in the file manager");
    addCommand(menu_, "Copy Path", {ItemCommand::CopyPath, {}}, "copyaspath|Copies the items' paths to the clipboard");
    menu_.addSeparator();
    addCommand(menu_, "Rename", {ItemCommand::Rename, {}}, "rename|Renames the item");
    addCommand(menu_, "Move to Trash", {ItemCommand::MoveToTrash, {}}, "delete|Moves the items to the trash");
    menu_.addSeparator();
    addCommand(menu_, "Properties", {ItemCommand::Properties, {}}, "properties|Shows the items' properties");
    QObject::connect(&menu_, &QMenu::aboutToHide, [this] { setHint_({}); });
}

void ItemContextMenu::addCommand(QMenu& menu, const QString& text, ItemMenuChoice choice, const std::string& hint)
{
    QAction* action = menu.addAction(text);
    choices_.emplace(action, std::move(choice));
    QObject::connect(action, &QAction::hovered, [this, hint] { setHint_(hint); });
}

const ItemMenuChoice* ItemContextMenu::choiceOf(const QAction* action) const
{
    const auto found = choices_.find(action);
    return found != choices_.end() ? &found->second : nullptr;
}

}  // namespace trovelin
