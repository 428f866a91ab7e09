#include "browse/FileListView.h"

#include <utility>

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QTreeView>

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
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }
    connect(report_->selectionModel(), &QItemSelectionModel::selectionChanged, [this] { syncSelection(); });
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
}

void FileListView::showContextMenu(QAbstractItemView& view, QPoint position, QPoint globalPosition)
{
    if (!list_.ContextMenu() || itemActions_ == nullptr) return;
    int row = view.indexAt(position).row();
    if (row < 0) {
        const QModelIndexList selected = view.selectionModel()->selectedIndexes();
        if (selected.isEmpty()) return;
        row = selected.front().row();
    }
    bool renameChosen = false;  // the list renames nothing
    itemActions_->DisplayContextMenu(list_.items()[static_cast<std::size_t>(row)].sub(FileListItem::fullPath), this,
                                     globalPosition, renameChosen);
}

bool FileListView::eventFilter(QObject* watched, QEvent* event)
{
    QAbstractItemView* view = watched == report_ || watched == report_->viewport() ? static_cast<QAbstractItemView*>(report_)
                              : watched == icons_ || watched == icons_->viewport() ? icons_
                                                                                    : nullptr;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // A right-button press raises no native behaviour: no selection move, and no menu unless
        // the list has the context menu switched on.
        if (auto* mouse = static_cast<QMouseEvent*>(event); mouse->button() == Qt::RightButton) {
            if (view != nullptr) {
                const QPoint at = mouse->globalPosition().toPoint();
                showContextMenu(*view, view->viewport()->mapFromGlobal(at), at);
            }
            return true;
        }
        break;
    case QEvent::ContextMenu:
        // The menu key shows the selected row's menu at the row; the mouse had its menu at the press.
        if (view != nullptr) {
            const QModelIndexList selected = view->selectionModel()->selectedIndexes();
            if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard && !selected.isEmpty()) {
                const QPoint at = view->visualRect(selected.front()).center();
                showContextMenu(*view, at, view->viewport()->mapToGlobal(at));
            }
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
