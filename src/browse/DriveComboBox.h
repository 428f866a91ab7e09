#pragma once
// The drive combo box's window (`TKOVDrvComboBox`): shows the entries of a DriveSelection with
// their icons, indented alike, and passes the user's pick back; a quiet SetDrive moves the shown
// entry without a change notification.

#include <functional>

#include <QComboBox>
#include <QIcon>

namespace trovelin {

class DriveSelection;

class TKOVDrvComboBox : public QComboBox {
public:
    TKOVDrvComboBox(DriveSelection& drives, std::function<QIcon(int)> iconOf, QWidget* parent = nullptr);

    // Shows the entries and the selected one again.
    void showEntries();
    void showSelection();

private:
    DriveSelection& drives_;
    std::function<QIcon(int)> iconOf_;
};

}  // namespace trovelin
