#pragma once
// The file list's window: shows the rows of a TMFileExplorer in its view style (report rows, or
// large icons, small icons or a list) and passes clicks, double-clicks, keys and the selection
// back to it. Each refresh shows the hourglass and redraws once at its end; the views read the
// rows through one model, so a refresh costs the same for ten rows as for ten thousand and only
// the rows in sight are drawn.

#include <functional>

#include <QIcon>
#include <QStackedWidget>

class QAbstractItemView;
class QListView;
class QTreeView;

namespace trovelin {

class FileListModel;
class ShellItemActions;
class TMFileExplorer;

class FileListView : public QStackedWidget {
public:
    // `iconOf` gives the icon of a row's image index.
    FileListView(TMFileExplorer& list, std::function<QIcon(int)> iconOf, QWidget* parent = nullptr);

    // Shows the list's rows again.
    void showRows();
    void showViewStyle();

    // The actions behind the list's ContextMenu and ContextAction switches.
    void setItemActions(ShellItemActions* actions);

    QTreeView* reportView() const { return report_; }
    QListView* iconView() const { return icons_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void syncSelection();
    // The context menu for the row under the pointer, else for the selected row.
    void showContextMenu(QAbstractItemView& view, QPoint position, QPoint globalPosition);

    TMFileExplorer& list_;
    FileListModel* model_;
    QTreeView* report_;
    QListView* icons_;
    bool filling_ = false;
    bool releaseEndsDoubleClick_ = false;
    ShellItemActions* itemActions_ = nullptr;
};

}  // namespace trovelin
