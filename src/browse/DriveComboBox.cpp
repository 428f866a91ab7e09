#include "browse/DriveComboBox.h"

#include <QSignalBlocker>

#include "browse/DriveSelection.h"

namespace trovelin {

namespace {
constexpr int smallIconSize = 16;
}  // namespace

TKOVDrvComboBox::TKOVDrvComboBox(DriveSelection& drives, std::function<QIcon(int)> iconOf, QWidget* parent)
    : QComboBox(parent), drives_(drives), iconOf_(std::move(iconOf))
{
    setIconSize(QSize(smallIconSize, smallIconSize));
    connect(this, &QComboBox::activated, [this](int index) { drives_.Change(index); });
    showEntries();
}

void TKOVDrvComboBox::showEntries()
{
    const QSignalBlocker quiet(this);
    clear();
    // "My Computer" has no icon but takes the same indent as the drive names.
    QPixmap blank(smallIconSize, smallIconSize);
    blank.fill(Qt::transparent);
    for (const DriveEntry& entry : drives_.entries())
        addItem(entry.iconIndex < 0 ? QIcon(blank) : iconOf_(entry.iconIndex), QString::fromStdString(entry.text));
    showSelection();
}

void TKOVDrvComboBox::showSelection()
{
    const QSignalBlocker quiet(this);
    setCurrentIndex(drives_.selectedIndex());
}

}  // namespace trovelin
