#include "browse/FileListView.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QTimer>
#include <QTreeView>

#include "browse/EntryMove.h"
#include "browse/FileListModel.h"
#include "browse/Itemprop.h"
#include "browse/Mfileexplorer.h"

namespace trovelin {

namespace {

// The original platform's key codes for the keys the list handles.
int virtualKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Up: return VK_UP;
    default: return 0;
    }
}

bool exists(const std::string& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

// The folder that holds an entry, from this system's path of the entry.
std::string folderOf(const std::string& localPath)
{
    const std::size_t slash = localPath.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : localPath.substr(0, slash);
}

bool isFolderAbove(const FileListItem& item) { return item.caption == ".."; }
bool isDrive(const FileListItem& item) { return item.sub(FileListItem::kind) == "drv"; }

TShiftState shiftOf(Qt::KeyboardModifiers modifiers)
{
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= ssShift;
    if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
    if (modifiers & Qt::AltModifier) shift |= ssAlt;
    return shift;
}

}  // namespace

FileListView::FileListView(TMFileExplorer& list, std::function<QIcon(int)> iconOf, QWidget* parent)
    : QStackedWidget(parent), list_(list), model_(new FileListModel(list, std::move(iconOf)))
{
    model_->setParent(this);
    report_ = new QTreeView;
    report_->setRootIsDecorated(false);
    report_->setHeaderHidden(true);
    report_->setUniformRowHeights(true);
    // The list selects one row: a click with Shift or Ctrl must load the file clicked, not the
    // first of a range.
    report_->setSelectionMode(QAbstractItemView::SingleSelection);
    report_->setAllColumnsShowFocus(true);
    report_->setModel(model_);
    icons_ = new QListView;
    icons_->setSelectionMode(QAbstractItemView::SingleSelection);
    icons_->setResizeMode(QListView::Adjust);
    icons_->setUniformItemSizes(true);
    icons_->setModel(model_);
    icons_->setSelectionModel(report_->selectionModel());  // one selection, whichever view shows
    addWidget(report_);
    addWidget(icons_);
    QAbstractItemView* const views[] = {report_, icons_};
    for (QAbstractItemView* view : views) {
        view->setAccessibleName(QStringLiteral("Files"));
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }
    connect(report_->selectionModel(), &QItemSelectionModel::selectionChanged, [this] { syncSelection(); });
    model_->onRename = [this](int row, const QString& name) { rename(row, name); };
    for (QAbstractItemView* view : views) {
        // Editing ends only by Enter or Esc, or by leaving the editor; a click on a row starts none.
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        // The view has let its editor go by now (it connected first), so the rows may change; but
        // when a press on another row is what closed the editor, that press must still land on
        // the row the user saw under the pointer, so the rows change only once it has.
        connect(view->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
            model_->setEditableRow(-1);
            if (!renamedTo_) return;
            if (QGuiApplication::mouseButtons() == Qt::NoButton) refreshAfterRename();
            else QTimer::singleShot(0, this, [this] { refreshAfterRename(); });
        });
    }
    list_.onRefresh = [this](bool refreshing) {
        if (refreshing) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            return;
        }
        showRows();
        QApplication::restoreOverrideCursor();
        QCoreApplication::processEvents();
    };
    list_.OnViewStyleChanged = [this] { showViewStyle(); };
    showViewStyle();
}

void FileListView::showRows()
{
    filling_ = true;
    model_->reset();
    for (std::size_t c = 0; c < list_.columns().size(); ++c)
        report_->setColumnWidth(static_cast<int>(c), list_.columns()[c].width);
    filling_ = false;
}

void FileListView::showViewStyle()
{
    switch (list_.ViewStyle()) {
    case TViewStyle::vsReport: setCurrentWidget(report_); return;
    case TViewStyle::vsIcon:
        icons_->setViewMode(QListView::IconMode);
        icons_->setIconSize(QSize(32, 32));
        break;
    case TViewStyle::vsSmallIcon:
        icons_->setViewMode(QListView::IconMode);
        icons_->setIconSize(QSize(16, 16));
        break;
    case TViewStyle::vsList:
        icons_->setViewMode(QListView::ListMode);
        icons_->setFlow(QListView::TopToBottom);
        icons_->setWrapping(true);
        icons_->setIconSize(QSize(16, 16));
        break;
    }
    setCurrentWidget(icons_);
}

void FileListView::syncSelection()
{
    if (filling_) return;
    list_.clearSelection();
    // The report selects whole rows, the icon views only their first column.
    for (const QModelIndex& index : report_->selectionModel()->selectedIndexes())
        if (index.column() == 0) list_.setSelected(index.row(), true);
}

void FileListView::setItemActions(ShellItemActions* actions)
{
    itemActions_ = actions;
    list_.onDefaultAction = [this](const std::string& path) {
        if (itemActions_ != nullptr) itemActions_->PerformDefaultAction(path, this);
    };
    if (actions == nullptr) return;
    actions->onStatus = [this](const QString& text) { report(text); };
    actions->onItemsChanged = [this] {
        const int row = selectedRow();
        refreshKeeping(row >= 0 ? list_.items()[static_cast<std::size_t>(row)].caption : std::string(), row);
    };
}

QAbstractItemView* FileListView::currentView() const
{
    return currentWidget() == report_ ? static_cast<QAbstractItemView*>(report_) : icons_;
}

int FileListView::selectedRow() const
{
    const QModelIndexList selected = report_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.front().row();
}

void FileListView::selectRow(int row)
{
    report_->selectionModel()->setCurrentIndex(model_->index(row, 0),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void FileListView::showContextMenu(int row, QPoint globalPosition)
{
    if (!list_.ContextMenu() || itemActions_ == nullptr) return;
    // A copy: the menu's action may read the folder again.
    const FileListItem item = list_.items()[static_cast<std::size_t>(row)];
    // The folder above is only a way up (Backspace): no menu offers to change it.
    if (isFolderAbove(item) || item.localPath.empty()) return;
    bool renameChosen = false;
    if (isDrive(item)) {
        if (!list_.stillLeadsToListedEntry(item)) {
            report(QString::fromStdString(item.sub(FileListItem::fullPath)) + " names another volume now");
            refreshKeeping(item.caption, row);
            return;
        }
        const std::string drive[] = {item.sub(FileListItem::fullPath)};
        itemActions_->DisplayContextMenu(ShellFolder{}, drive, this, globalPosition, SFGAO_HASPROPSHEET, renameChosen);
        return;
    }
    if (!exists(item.localPath)) {
        report(displayNameOf(item.localPath) + " is no longer there");
        refreshKeeping(item.caption, row);
        return;
    }
    itemActions_->DisplayContextMenu(folderOf(item.localPath), {item.caption}, this, globalPosition, renameChosen);
    // The list may have been read again while the menu was open: the row is found by its name.
    if (const int shown = rowOf(item.caption); renameChosen && shown >= 0) startRename(shown);
}

int FileListView::rowOf(const std::string& caption) const
{
    const std::vector<FileListItem>& items = list_.items();
    const auto named = std::ranges::find(items, caption, &FileListItem::caption);
    return named != items.end() ? static_cast<int>(named - items.begin()) : -1;
}

void FileListView::moveToTrash(int row)
{
    const FileListItem& item = list_.items()[static_cast<std::size_t>(row)];
    if (isFolderAbove(item)) return report("\"..\" is the folder above: it is not moved to the trash");
    if (isDrive(item)) return report("A drive is not moved to the trash");
    if (item.localPath.empty()) return;
    const std::string name = item.caption;
    if (!itemActions_->PerformVerb("delete", folderOf(item.localPath), {name}, this) && !exists(item.localPath))
        report(displayNameOf(item.localPath) + " is no longer there");
}

bool FileListView::fileActionKey(const QKeyEvent& key)
{
    const int row = selectedRow();
    if (key.matches(QKeySequence::Undo)) {
        itemActions_->UndoTrash();
        return true;
    }
    if (key.key() == Qt::Key_Delete && key.modifiers() == Qt::NoModifier) {
        if (row >= 0) moveToTrash(row);
        return true;
    }
    if (key.key() == Qt::Key_F2 && key.modifiers() == Qt::NoModifier) {
        if (row >= 0) startRename(row);
        return true;
    }
    if ((key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
        (key.modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier && row >= 0) {
        const FileListItem& item = list_.items()[static_cast<std::size_t>(row)];
        if (!isFolderAbove(item) && !isDrive(item) && !item.localPath.empty())
            return itemActions_->runContentCommand(item.localPath);
    }
    return false;
}

void FileListView::startRename(int row)
{
    const FileListItem& item = list_.items()[static_cast<std::size_t>(row)];
    if (isFolderAbove(item) || isDrive(item) || item.localPath.empty()) return;
    // The editor holds text: bytes that are no UTF-8 would come back as U+FFFD, changing parts of
    // the name the user never touched.
    if (const QByteArray bytes = QByteArray::fromStdString(item.caption); QString::fromUtf8(bytes).toUtf8() != bytes)
        return report("Cannot rename " + displayNameOf(item.localPath) +
                      ": its name is not UTF-8 text, and editing it would change its other bytes");
    model_->setEditableRow(row);
    currentView()->edit(model_->index(row, 0));
}

void FileListView::rename(int row, const QString& name)
{
    const FileListItem item = list_.items()[static_cast<std::size_t>(row)];
    if (name == QString::fromStdString(item.caption)) return;
    const std::string newName = QFile::encodeName(name).toStdString();
    const QString oldText = displayNameOf(item.localPath);
    if (const std::string problem = newNameProblem(newName); !problem.empty())
        return report("Cannot rename " + oldText + ": " + QString::fromStdString(problem));
    if (const std::string problem = moveEntryWithoutReplacing(item.localPath, folderOf(item.localPath) + '/' + newName);
        !problem.empty())
        return report("Cannot rename " + oldText + " to " + name + ": " + QString::fromStdString(problem));
    report("Renamed " + oldText + " to " + name);
    // The editor is still closing: the rows change once it has gone.
    renamedTo_ = RenamedRow{item.caption, newName};
}

void FileListView::refreshAfterRename()
{
    const std::optional<RenamedRow> renamed = std::exchange(renamedTo_, std::nullopt);
    if (!renamed) return;
    // The renamed row keeps the selection under its new name; a row chosen since keeps it.
    const int selected = selectedRow();
    // A copy: reading the folder again replaces the rows.
    const std::string selectedCaption =
        selected >= 0 ? list_.items()[static_cast<std::size_t>(selected)].caption : renamed->from;
    refreshKeeping(selectedCaption == renamed->from ? renamed->to : selectedCaption, std::max(selected, 0));
}

void FileListView::refreshKeeping(const std::string& caption, int fallbackRow)
{
    list_.UpdateFileList();
    const int named = rowOf(caption);
    const int row = named >= 0 ? named : std::min(fallbackRow, static_cast<int>(list_.items().size()) - 1);
    if (row >= 0) selectRow(row);
}

void FileListView::report(const QString& text)
{
    if (onStatus) onStatus(text);
}

bool FileListView::eventFilter(QObject* watched, QEvent* event)
{
    QAbstractItemView* view = watched == report_ || watched == report_->viewport() ? static_cast<QAbstractItemView*>(report_)
                              : watched == icons_ || watched == icons_->viewport() ? icons_
                                                                                    : nullptr;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // A right-button press selects the row under the pointer, as in every file manager, raises
        // the list's mouse-down event, and then opens the row's menu when the list has it on.
        if (auto* mouse = static_cast<QMouseEvent*>(event); mouse->button() == Qt::RightButton) {
            if (view != nullptr) {
                const QPoint at = mouse->globalPosition().toPoint();
                const QPoint position = view->viewport()->mapFromGlobal(at);
                const QModelIndex index = view->indexAt(position);
                if (index.isValid()) selectRow(index.row());
                list_.MouseDown(TMouseButton::mbRight, shiftOf(mouse->modifiers()), position.x(), position.y());
                if (index.isValid()) showContextMenu(index.row(), at);
            }
            return true;
        }
        break;
    case QEvent::ContextMenu:
        // The menu key shows the selected row's menu at the row; the mouse had its menu at the press.
        if (view != nullptr) {
            const int row = selectedRow();
            if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard && row >= 0)
                showContextMenu(row, view->viewport()->mapToGlobal(view->visualRect(model_->index(row, 0)).center()));
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        // The release that ends a double-click is no click of its own.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && watched != report_ && watched != icons_ &&
            !std::exchange(releaseEndsDoubleClick_, false))
            list_.Click();
        break;
    case QEvent::MouseButtonDblClick:
        releaseEndsDoubleClick_ = true;
        list_.DblClick();
        return true;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        // While a name is edited the keys go to the editor, which is no watched widget.
        if (view == nullptr) break;
        if (itemActions_ != nullptr && fileActionKey(*key)) return true;
        if (const int vk = virtualKey(key->key()); vk == VK_BACK || vk == VK_RETURN ||
                                                   (vk == VK_UP && (key->modifiers() & Qt::ControlModifier))) {
            list_.Keydown(vk, shiftOf(key->modifiers()));
            return true;
        }
        break;
    }
    default: break;
    }
    return QStackedWidget::eventFilter(watched, event);
}

}  // namespace trovelin
