#pragma once
// The file list's window: shows the rows of a TMFileExplorer in its view style (report rows, or
// large icons, small icons or a list) and passes clicks, double-clicks, keys and the selection
// back to it. Each refresh shows the hourglass and redraws once at its end.

#include <functional>

#include <QIcon>
#include <QStackedWidget>

class QListWidget;
class QTreeWidget;

namespace trovelin {

class TMFileExplorer;

class FileListView : public QStackedWidget {
public:
    // `iconOf` gives the icon of a row's image index.
    FileListView(TMFileExplorer& list, std::function<QIcon(int)> iconOf, QWidget* parent = nullptr);

    // Shows the list's rows again.
    void showRows();
    void showViewStyle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void syncSelection(bool fromReport);

    TMFileExplorer& list_;
    std::function<QIcon(int)> iconOf_;
    QTreeWidget* report_;
    QListWidget* icons_;
    bool filling_ = false;
    bool releaseEndsDoubleClick_ = false;
};

}  // namespace trovelin
