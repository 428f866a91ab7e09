#include "browse/ItemContextMenu.h"

#include <utility>

#include <QAction>
#include <QFont>

namespace trovelin {

ItemContextMenu::ItemContextMenu(const ItemMenuOptions& options, std::function<void(const std::string& hint)> setHint,
                                 QWidget* parent)
    : menu_(parent), setHint_(std::move(setHint))
{
    // The first line says what the entries act on; it does nothing itself.
    menu_.setTitle(options.title);
    QString title = options.title;
    menu_.addAction(title.replace('&', "&&"))->setEnabled(false);
    menu_.addSeparator();
    if (!options.contentCommand.isEmpty()) {
        // The program's own command is what the file is for: first, and bold as a default is.
        QAction* content = addCommand(menu_, options.contentCommand, {ItemCommand::Content, {}},
                                      "content|" + options.contentCommand.toStdString());
        QFont bold = content->font();
        bold.setBold(true);
        content->setFont(bold);
    }
    addCommand(menu_, "Open", {ItemCommand::Open, {}}, "open|Opens the items with their default application")
        ->setEnabled(options.canOpen);
    QMenu* openWith = menu_.addMenu("Open With");
    openWith->setEnabled(!options.applications.empty());
    for (const DesktopApplication& application : options.applications)
        addCommand(*openWith, QString::fromStdString(application.name), {ItemCommand::OpenWith, application},
                   "openas|Opens the items with " + application.name);
    addCommand(menu_, "Show in Folder", {ItemCommand::ShowInFolder, {}},
               "showitem|Shows the items in the file manager");
    addCommand(menu_, "Copy Path", {ItemCommand::CopyPath, {}}, "copyaspath|Copies the items' paths to the clipboard");
    menu_.addSeparator();
    addCommand(menu_, "Rename", {ItemCommand::Rename, {}}, "rename|Renames the item")->setEnabled(options.canRename);
    addCommand(menu_, "Move to Trash", {ItemCommand::MoveToTrash, {}}, "delete|Moves the items to the trash")
        ->setEnabled(options.canTrash);
    addCommand(menu_, "Undo Move to Trash", {ItemCommand::UndoTrash, {}},
               "undo|Puts the items last moved to the trash back")
        ->setEnabled(options.canUndoTrash);
    menu_.addSeparator();
    addCommand(menu_, "Properties", {ItemCommand::Properties, {}}, "properties|Shows the items' properties");
    QObject::connect(&menu_, &QMenu::aboutToHide, [this] { setHint_({}); });
}

QAction* ItemContextMenu::addCommand(QMenu& menu, const QString& text, ItemMenuChoice choice, const std::string& hint)
{
    QAction* action = menu.addAction(text);
    choices_.emplace(action, std::move(choice));
    QObject::connect(action, &QAction::hovered, [this, hint] { setHint_(hint); });
    return action;
}

const ItemMenuChoice* ItemContextMenu::choiceOf(const QAction* action) const
{
    const auto found = choices_.find(action);
    return found != choices_.end() ? &found->second : nullptr;
}

}  // namespace trovelin
