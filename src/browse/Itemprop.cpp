#include "browse/Itemprop.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFile>
#include <QMenu>

#include "browse/ContentCommand.h"
#include "browse/ItemContextMenu.h"
#include "browse/ItemPropertiesDialog.h"
#include "platform/FileAttributes.h"
#include "platform/FindFiles.h"
#include "platform/PosixFileSystem.h"
#include "platform/WindowsPath.h"

namespace trovelin {

namespace {

// The hourglass for as long as it lives; a menu or dialog shown meanwhile gets the arrow back.
class CursorOverride {
public:
    explicit CursorOverride(Qt::CursorShape shape) { QApplication::setOverrideCursor(shape); }
    ~CursorOverride() { QApplication::restoreOverrideCursor(); }
    CursorOverride(const CursorOverride&) = delete;
    CursorOverride& operator=(const CursorOverride&) = delete;
};

bool hasWildcard(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

// "C:\Shows\.." or "/home/me/.": a path that names a folder only by a step from another.
bool endsInDotStep(std::string_view path)
{
    const std::size_t separator = path.find_last_of("\\/");
    const std::string_view last = separator == std::string_view::npos ? path : path.substr(separator + 1);
    return last == "." || last == "..";
}

// One entry of a folder: not empty, no separator, not "." or "..", nothing a C string would cut.
bool isEntryName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of(std::string_view("\\/\0", 3)) ==
                                                              std::string_view::npos;
}

bool exists(const std::string& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

std::string joinDrivePath(const std::string& folder, const std::string& name)
{
    return folder.ends_with('\\') ? folder + name : folder + '\\' + name;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) ==
                                                                std::tolower(static_cast<unsigned char>(y)); });
}

}  // namespace

ShellItemActions::ShellItemActions(PosixFileSystem& fileSystem, DesktopServices& desktop)
    : fileSystem_(fileSystem), desktop_(desktop)
{
}

bool ShellItemActions::DisplayPropertiesDialog(const std::string& path, QWidget* owner)
{
    return runForPath(path, {ActionKind::Properties, owner, {}, {}});
}

bool ShellItemActions::DisplayPropertiesDialog(const std::string& folder, const std::vector<std::string>& names,
                                               QWidget* owner)
{
    return runForNames(folder, names, {ActionKind::Properties, owner, {}, {}});
}

bool ShellItemActions::DisplayPropertiesDialog(const ShellFolder& folder, std::span<const std::string> items,
                                               QWidget* owner, std::uint32_t attributes)
{
    const CursorOverride hourglass(Qt::WaitCursor);
    return menuStep(folder, items, attributes, {ActionKind::Properties, owner, {}, {}});
}

bool ShellItemActions::DisplayContextMenu(const std::string& path, QWidget* owner, QPoint position, bool& renameChosen)
{
    renameChosen = false;
    return runForPath(path, {ActionKind::ContextMenu, owner, position, {}, &renameChosen});
}

bool ShellItemActions::DisplayContextMenu(const std::string& folder, const std::vector<std::string>& names,
                                          QWidget* owner, QPoint position, bool& renameChosen)
{
    renameChosen = false;
    return runForNames(folder, names, {ActionKind::ContextMenu, owner, position, {}, &renameChosen});
}

bool ShellItemActions::DisplayContextMenu(const ShellFolder& folder, std::span<const std::string> items, QWidget* owner,
                                          QPoint position, std::uint32_t attributes, bool& renameChosen)
{
    renameChosen = false;
    const CursorOverride hourglass(Qt::WaitCursor);
    return menuStep(folder, items, attributes, {ActionKind::ContextMenu, owner, position, {}, &renameChosen});
}

bool ShellItemActions::PerformDefaultAction(const std::string& path, QWidget* owner)
{
    return runForPath(path, {ActionKind::DefaultAction, owner, {}, {}});
}

bool ShellItemActions::PerformDefaultAction(const std::string& folder, const std::vector<std::string>& names,
                                            QWidget* owner)
{
    return runForNames(folder, names, {ActionKind::DefaultAction, owner, {}, {}});
}

bool ShellItemActions::PerformDefaultAction(const ShellFolder& folder, std::span<const std::string> items,
                                            QWidget* owner, std::uint32_t attributes)
{
    const CursorOverride hourglass(Qt::WaitCursor);
    return menuStep(folder, items, attributes, {ActionKind::DefaultAction, owner, {}, {}});
}

bool ShellItemActions::PerformVerb(const std::string& verb, const std::string& path, QWidget* owner)
{
    return runForPath(path, {ActionKind::Verb, owner, {}, verb});
}

bool ShellItemActions::PerformVerb(const std::string& verb, const std::string& folder,
                                   const std::vector<std::string>& names, QWidget* owner)
{
    return runForNames(folder, names, {ActionKind::Verb, owner, {}, verb});
}

bool ShellItemActions::PerformVerb(const std::string& verb, const ShellFolder& folder,
                                   std::span<const std::string> items, QWidget* owner, std::uint32_t attributes)
{
    const CursorOverride hourglass(Qt::WaitCursor);
    return menuStep(folder, items, attributes, {ActionKind::Verb, owner, {}, verb});
}

bool ShellItemActions::GetPIDLAndShellFolder(const std::string& fullPath, ShellFolder& folder, std::string& item) const
{
    folder = {};
    const std::optional<Resolved> resolved = resolvePath(fullPath);
    if (!resolved) return false;
    const std::optional<std::string> path = localPathOf(resolved->folder, resolved->names.front());
    if (!path || !exists(*path)) return false;
    folder = resolved->folder;
    item = resolved->names.front();
    return true;
}

std::optional<ShellItemActions::Resolved> ShellItemActions::resolvePath(const std::string& path) const
{
    if (path.find('\0') != std::string::npos || endsInDotStep(path)) return std::nullopt;
    const std::optional<std::string> drivePath = fileSystem_.drivePath(path);
    if (!drivePath) return std::nullopt;
    if (isDriveRoot(*drivePath)) return Resolved{{}, {*drivePath}};
    const std::size_t separator = drivePath->find_last_of('\\');
    std::string folder = drivePath->substr(0, separator);
    if (folder.size() == 2) folder += '\\';  // "C:" is the current folder of C, "C:\" its root
    std::optional<std::string> local = fileSystem_.localPath(folder);
    if (!local) return std::nullopt;
    return Resolved{{folder, std::move(*local)}, {drivePath->substr(separator + 1)}};
}

bool ShellItemActions::runForPath(const std::string& path, const Request& request)
{
    const CursorOverride hourglass(Qt::WaitCursor);
    std::optional<Resolved> resolved = resolvePath(path);
    if (!resolved) return false;
    // A name that looks like a pattern but names an entry exactly means that entry alone.
    const std::optional<std::string> exact = localPathOf(resolved->folder, resolved->names.front());
    if (hasWildcard(resolved->names.front()) && !(exact && exists(*exact))) {
        const std::string pattern = joinDrivePath(resolved->folder.path, resolved->names.front());
        resolved->names.clear();
        TSearchRec search;
        for (std::uint32_t found = FindFirst(fileSystem_, pattern, faAnyFile, search); found == 0;
             found = FindNext(search))
            if (isEntryName(search.Name)) resolved->names.push_back(search.Name);
        FindClose(search);
        if (resolved->names.empty()) return false;
    }
    return menuStep(resolved->folder, resolved->names, SFGAO_HASPROPSHEET, request);
}

bool ShellItemActions::runForNames(const std::string& folder, const std::vector<std::string>& names,
                                   const Request& request)
{
    const CursorOverride hourglass(Qt::WaitCursor);
    if (names.empty() || folder.find('\0') != std::string::npos) return false;
    const std::optional<std::string> drivePath = fileSystem_.drivePath(folder);
    if (!drivePath || !fileSystem_.directoryExists(*drivePath)) return false;
    // A folder of this system is taken as given: resolving its drive path again could lead
    // elsewhere if a drive letter moved meanwhile.
    std::optional<std::string> local = folder.starts_with('/') ? folder : fileSystem_.localPath(*drivePath);
    if (!local) return false;
    const ShellFolder shellFolder{*drivePath, std::move(*local)};
    std::vector<std::string> found;
    for (const std::string& name : names)
        if (const std::optional<std::string> path = localPathOf(shellFolder, name); path && exists(*path))
            found.push_back(name);
    // The names that name nothing are left out, as the original shell leaves out what it
    // cannot parse; items that exist have properties.
    return !found.empty() && menuStep(shellFolder, found, SFGAO_HASPROPSHEET, request);
}

std::optional<std::string> ShellItemActions::localPathOf(const ShellFolder& folder, const std::string& item) const
{
    if (folder.isDrives()) {
        if (item.find('\0') != std::string::npos || !isDriveRoot(item)) return std::nullopt;
        return fileSystem_.drives().toLinuxPath(item);
    }
    if (!isEntryName(item)) return std::nullopt;
    if (!folder.local.empty()) return folder.local.ends_with('/') ? folder.local + item : folder.local + '/' + item;
    return fileSystem_.localPath(joinDrivePath(folder.path, item));
}

bool ShellItemActions::menuStep(const ShellFolder& folder, std::span<const std::string> items,
                                std::uint32_t attributes, const Request& request)
{
    if (request.renameChosen != nullptr) *request.renameChosen = false;
    if (items.empty()) return false;
    std::vector<std::string> paths;
    for (const std::string& item : items) {
        std::optional<std::string> path = localPathOf(folder, item);
        if (!path || !exists(*path)) return false;
        paths.push_back(std::move(*path));
    }
    switch (request.kind) {
    case ActionKind::ContextMenu:
        return showContextMenu(folder, paths, request,
                               items.size() == 1 ? displayNameOf(items.front()) : QString("%1 items").arg(items.size()));
    case ActionKind::Properties:
        return (attributes & SFGAO_HASPROPSHEET) != 0 && showProperties(folder, paths, request.owner);
    case ActionKind::DefaultAction: return defaultAction(paths);
    case ActionKind::Verb: return performVerb(request.verb, folder, paths, request.owner);
    }
    return false;
}

bool ShellItemActions::performVerb(const std::string& verb, const ShellFolder& folder,
                                   const std::vector<std::string>& paths, QWidget* owner)
{
    if (equalsIgnoringCase(verb, "open")) return defaultAction(paths);
    if (equalsIgnoringCase(verb, "openas")) return openWith(paths);
    if (equalsIgnoringCase(verb, "explore")) return openFolders(paths);
    if (equalsIgnoringCase(verb, "showitem")) return showInFolder(folder, paths);
    if (equalsIgnoringCase(verb, "properties")) return showProperties(folder, paths, owner);
    if (equalsIgnoringCase(verb, "delete")) return moveToTrash(paths);
    return false;
}

bool ShellItemActions::showContextMenu(const ShellFolder& folder, const std::vector<std::string>& paths,
                                       const Request& request, const QString& title)
{
    ItemMenuOptions options;
    options.title = title;
    options.applications = commonApplications(paths);
    options.canOpen = hasDefaultApplications(paths);
    options.canRename = paths.size() == 1 && !folder.isDrives();
    options.canTrash = !folder.isDrives();
    options.canUndoTrash = canUndoTrash();
    if (contentCommand != nullptr && paths.size() == 1 && !folder.isDrives())
        options.contentCommand = contentCommand->title(paths.front());
    ItemContextMenu menu(options, [this](const std::string& hint) { setHint(hint); }, request.owner);
    const QAction* chosen = popup(menu.menu(), request.position);
    const ItemMenuChoice* choice = menu.choiceOf(chosen);
    if (choice == nullptr) return true;  // dismissed: nothing to carry out, nothing failed
    switch (choice->command) {
    case ItemCommand::Content: return runContentCommand(paths.front());
    case ItemCommand::Open: return defaultAction(paths);
    case ItemCommand::OpenWith:
        return desktop_.launch(choice->application, paths) ||
               fail("Cannot open", paths, QString::fromStdString(choice->application.name) + " did not start");
    case ItemCommand::ShowInFolder: return showInFolder(folder, paths);
    case ItemCommand::CopyPath: {
        QStringList lines;
        for (const std::string& path : paths) lines << QFile::decodeName(QByteArray::fromStdString(path));
        QApplication::clipboard()->setText(lines.join('\n'));
        return true;
    }
    case ItemCommand::Rename: *request.renameChosen = true; return true;
    case ItemCommand::MoveToTrash: return moveToTrash(paths);
    case ItemCommand::UndoTrash: return UndoTrash();
    case ItemCommand::Properties: return showProperties(folder, paths, request.owner);
    }
    return false;
}

bool ShellItemActions::runContentCommand(const std::string& localPath)
{
    if (contentCommand == nullptr || contentCommand->title(localPath).isEmpty()) return false;
    const QString problem = contentCommand->run(localPath);
    if (!problem.isEmpty()) report(problem);
    return true;
}

bool ShellItemActions::defaultAction(const std::vector<std::string>& paths)
{
    // Each application starts once with all of its items; nothing starts unless every item has one.
    std::vector<std::pair<DesktopApplication, std::vector<std::string>>> launches;
    for (const std::string& path : paths) {
        const std::optional<DesktopApplication> application =
            desktop_.defaultApplication(desktop_.contentType(path));
        if (!application) return fail("Cannot open", {path}, "no application is registered for its type");
        auto same = std::ranges::find(launches, *application, &decltype(launches)::value_type::first);
        if (same == launches.end()) launches.push_back({*application, {path}});
        else same->second.push_back(path);
    }
    bool launched = true;
    for (const auto& [application, files] : launches)
        if (!desktop_.launch(application, files))
            launched = fail("Cannot open", files, QString::fromStdString(application.name) + " did not start");
    return launched;
}

bool ShellItemActions::hasDefaultApplications(const std::vector<std::string>& paths)
{
    return std::ranges::all_of(paths, [this](const std::string& path) {
        return desktop_.defaultApplication(desktop_.contentType(path)).has_value();
    });
}

bool ShellItemActions::openWith(const std::vector<std::string>& paths)
{
    const std::vector<DesktopApplication> applications = commonApplications(paths);
    if (applications.empty()) return false;
    QMenu menu;
    for (const DesktopApplication& application : applications) menu.addAction(QString::fromStdString(application.name));
    const QAction* chosen = popup(menu, QCursor::pos());
    const auto index = menu.actions().indexOf(chosen);
    return index >= 0 && desktop_.launch(applications[static_cast<std::size_t>(index)], paths);
}

bool ShellItemActions::showInFolder(const ShellFolder& folder, const std::vector<std::string>& paths)
{
    if (desktop_.showItems(paths)) return true;
    // No file manager answered: the folder that holds the items opens instead, and a drive,
    // which has no folder above it, opens itself.
    const std::optional<std::string> parent = folder.isDrives()      ? paths.front()
                                              : folder.local.empty() ? fileSystem_.localPath(folder.path)
                                                                     : folder.local;
    if (!parent) return false;
    const std::optional<DesktopApplication> fileManager = desktop_.defaultApplication(folderContentType);
    return (fileManager && desktop_.launch(*fileManager, {*parent})) ||
           fail("Cannot show", paths, "no file manager answered");
}

bool ShellItemActions::openFolders(const std::vector<std::string>& paths)
{
    struct stat status {};
    for (const std::string& path : paths)
        if (::stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
            return fail("Cannot explore", {path}, "it is not a folder");
    if (desktop_.showFolders(paths)) return true;
    const std::optional<DesktopApplication> fileManager = desktop_.defaultApplication(folderContentType);
    return (fileManager && desktop_.launch(*fileManager, paths)) ||
           fail("Cannot explore", paths, "no file manager answered");
}

bool ShellItemActions::showProperties(const ShellFolder& folder, const std::vector<std::string>& paths, QWidget* owner)
{
    if (desktop_.showItemProperties(paths)) return true;
    const std::string location = folder.isDrives() ? std::string() : folder.path;
    std::vector<ItemProperties> items;
    for (const std::string& path : paths) items.push_back(describeItem(path, location, desktop_, contentDescriber));
    ItemPropertiesDialog dialog(items, owner);
    const CursorOverride arrow(Qt::ArrowCursor);
    dialog.exec();
    return true;
}

bool ShellItemActions::moveToTrash(const std::vector<std::string>& paths)
{
    std::vector<TrashedItem> trashed;
    std::vector<std::string> moved;
    QString failure;
    for (const std::string& path : paths) {
        TrashOutcome outcome = desktop_.moveToTrash(path);
        // An item may be in the trash and still have gone wrong: it can come back all the same.
        if (outcome.trashed) trashed.push_back(std::move(*outcome.trashed));
        if (outcome.trashed && outcome.error.empty()) {
            moved.push_back(path);
        } else if (failure.isEmpty()) {
            failure = "Cannot move " + displayNameOf(path) + " to the trash: " +
                      QString::fromStdString(outcome.error.empty() ? "no trash took it" : outcome.error);
        }
    }
    const bool anyMoved = !trashed.empty();
    if (anyMoved) lastTrashed_ = std::move(trashed);
    QString text;
    if (!moved.empty()) text = "Moved " + itemsText(moved) + " to the trash (Ctrl+Z undoes)";
    if (!failure.isEmpty()) text = text.isEmpty() ? failure : text + "; " + failure;
    report(text);
    if (anyMoved && onItemsChanged) onItemsChanged();
    return failure.isEmpty();
}

bool ShellItemActions::UndoTrash()
{
    if (lastTrashed_.empty()) {
        report("Nothing to undo");
        return false;
    }
    std::vector<TrashedItem> stillTrashed;
    std::vector<std::string> restored;
    QString failure;
    for (const TrashedItem& item : lastTrashed_) {
        const RestoreOutcome outcome = desktop_.restoreFromTrash(item);
        if (outcome.result == RestoreOutcome::Restored) {
            restored.push_back(item.path);
            continue;
        }
        // An item whose name is taken stays undoable until the name is free again; one the trash
        // no longer holds cannot come back by this undo.
        if (outcome.result == RestoreOutcome::Kept) stillTrashed.push_back(item);
        if (failure.isEmpty())
            failure = "Cannot put " + displayNameOf(item.path) + " back: " + QString::fromStdString(outcome.error);
    }
    lastTrashed_ = std::move(stillTrashed);
    QString text;
    if (!restored.empty()) text = "Put " + itemsText(restored) + " back from the trash";
    if (!failure.isEmpty()) text = text.isEmpty() ? failure : text + "; " + failure;
    report(text);
    if (!restored.empty() && onItemsChanged) onItemsChanged();
    return !restored.empty();
}

std::vector<DesktopApplication> ShellItemActions::commonApplications(const std::vector<std::string>& paths)
{
    std::vector<std::string> types;
    for (const std::string& path : paths)
        if (std::string type = desktop_.contentType(path); std::ranges::find(types, type) == types.end())
            types.push_back(std::move(type));
    std::vector<DesktopApplication> common = desktop_.applications(types.front());
    for (std::size_t i = 1; i < types.size(); ++i) {
        const std::vector<DesktopApplication> others = desktop_.applications(types[i]);
        std::erase_if(common, [&](const DesktopApplication& application) {
            return std::ranges::find(others, application) == others.end();
        });
    }
    if (const std::optional<DesktopApplication> preferred = desktop_.defaultApplication(types.front())) {
        if (const auto found = std::ranges::find(common, *preferred); found != common.end())
            std::rotate(common.begin(), found, found + 1);
    }
    return common;
}

QAction* ShellItemActions::popup(QMenu& menu, QPoint position)
{
    const CursorOverride arrow(Qt::ArrowCursor);
    return popupMenu ? popupMenu(menu, position) : menu.exec(position);
}

void ShellItemActions::setHint(const std::string& hint)
{
    hint_ = hint;
    if (onHint) onHint(hint_);
}

void ShellItemActions::report(const QString& text)
{
    if (onStatus) onStatus(text);
}

bool ShellItemActions::fail(const QString& what, const std::vector<std::string>& paths, const QString& reason)
{
    report(what + " " + itemsText(paths) + ": " + reason);
    return false;
}

QString displayNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos || slash + 1 == path.size() ? path : path.substr(slash + 1);
    QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control) c = QChar::ReplacementCharacter;
    return text;
}

QString itemsText(const std::vector<std::string>& paths)
{
    return paths.size() == 1 ? displayNameOf(paths.front()) : QString("%1 items").arg(paths.size());
}

}  // namespace trovelin
