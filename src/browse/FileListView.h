#pragma once
// The file list's window: shows the rows of a TMFileExplorer in its view style (report rows, or
// large icons, small icons or a list) and passes clicks, double-clicks, keys and the selection
// back to it. Each refresh shows the hourglass and redraws once at its end; the views read the
// rows through one model, so a refresh costs the same for ten rows as for ten thousand and only
// the rows in sight are drawn.
// With item actions, the file actions act on exactly the row the user sees: a right press selects
// the row under the pointer as the user saw it and opens its menu; Delete moves the selected row
// to the trash and Ctrl+Z puts it back; Rename (or F2) edits a name that is UTF-8 text in place;
// Ctrl+Enter runs the program's own command for the selected file. The row ".." and drive rows
// are never changed. After a change the list is read again, keeping the selection where it can.

#include <functional>
#include <optional>
#include <string>

#include <QIcon>
#include <QStackedWidget>

class QAbstractItemView;
class QKeyEvent;
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

    // What the file actions did or why they failed, naming the item, for the status bar.
    std::function<void(const QString& text)> onStatus;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void syncSelection();
    QAbstractItemView* currentView() const;
    int selectedRow() const;
    void selectRow(int row);
    void showContextMenu(int row, QPoint globalPosition);
    // Delete, Ctrl+Z, F2, and Ctrl+Enter on a file with a command of the program's own; true
    // when the key was one of them.
    bool fileActionKey(const QKeyEvent& key);
    void moveToTrash(int row);
    void startRename(int row);
    void rename(int row, const QString& name);
    void refreshAfterRename();
    // The row now showing the entry named `caption`, or -1.
    int rowOf(const std::string& caption) const;
    // Reads the folder again and selects the row named `caption`, else the row at `fallbackRow`.
    void refreshKeeping(const std::string& caption, int fallbackRow);
    void report(const QString& text);

    TMFileExplorer& list_;
    FileListModel* model_;
    QTreeView* report_;
    QListView* icons_;
    bool filling_ = false;
    bool releaseEndsDoubleClick_ = false;
    // A rename whose editor is closing: the row's name before and after.
    struct RenamedRow {
        std::string from;
        std::string to;
    };
    std::optional<RenamedRow> renamedTo_;
    ShellItemActions* itemActions_ = nullptr;
};

}  // namespace trovelin
