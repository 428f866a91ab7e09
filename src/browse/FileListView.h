#pragma once
// The file list's window: shows the rows of a TMFileExplorer in its view style (report rows, or
// large icons, small icons or a list) and passes clicks, double-clicks, keys and the selection
// back to it. Each refresh shows the hourglass and redraws once at its end; the views read the
// rows through one model, so a refresh costs the same for ten rows as for ten thousand and only
// the rows in sight are drawn.

#include <functional>

#include <QIcon>
#include <QStackedWidget>

class QListView;
class QTreeView;

namespace trovelin {

class FileListModel;
class TMFileExplorer;

class FileListView : public QStackedWidget {
public:
    // `iconOf` gives the icon of a row's image index.
    FileListView(TMFileExplorer& list, std::function<QIcon(int)> iconOf, QWidget* parent = nullptr);

    // Shows the list's rows again.
    void showRows();
    void showViewStyle();

    QTreeView* reportView() const { return report_; }
    QListView* iconView() const { return icons_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void syncSelection();

    TMFileExplorer& list_;
    FileListModel* model_;
    QTreeView* report_;
    QListView* icons_;
    bool filling_ = false;
    bool releaseEndsDoubleClick_ = false;
};

}  // namespace trovelin
