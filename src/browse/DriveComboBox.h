#pragma once
// The drive combo box's window (`TKOVDrvComboBox`): shows the entries of a DriveSelection with
// their icons, indented alike, and passes the user's pick back; a quiet SetDrive moves the shown
// entry without a change notification. The window builds the list when it is made, again when
// its font changes and on UpdateDrives, each time from the drives as they are then.

#include <functional>
#include <vector>

#include <QComboBox>
#include <QIcon>

#include "browse/DriveSelection.h"

namespace trovelin {

class TKOVDrvComboBox : public QComboBox {
public:
    using DriveSource = std::function<std::vector<DriveDescription>()>;

    TKOVDrvComboBox(DriveSelection& drives, DriveSource describeDrives, std::function<QIcon(int)> iconOf,
                    QWidget* parent = nullptr);

    // Reads the drives again and rebuilds the list, without redrawing in between.
    void UpdateDrives();
    // Shows the entries and the selected one again.
    void showEntries();
    void showSelection();

    // ResetItemHeight's result: the larger of the font's cell height and the icon height + 2.
    int itemHeight() const { return itemHeight_; }

    static constexpr int smallIconSize = 16;

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildList();
    void ResetItemHeight();

    DriveSelection& drives_;
    DriveSource describeDrives_;
    std::function<QIcon(int)> iconOf_;
    int itemHeight_ = 0;
};

}  // namespace trovelin
