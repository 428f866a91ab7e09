#include "browse/DriveComboBox.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace trovelin {

namespace {

// DrawItem: the state's background, the icon 4 pixels in and centred by truncating division, and
// the text one icon width + 8 further right on one line, unclipped. "My Computer" (row 0) has no
// icon but is indented like the drives.
class DriveItemDelegate : public QStyledItemDelegate {
public:
    explicit DriveItemDelegate(TKOVDrvComboBox& comboBox) : QStyledItemDelegate(&comboBox), comboBox_(comboBox) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());

        QRect rect = option.rect;
        const int iconSize = TKOVDrvComboBox::smallIconSize;
        if (index.row() != 0) {
            const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
            const int y = rect.top() + (rect.height() - iconSize) / 2;
            icon.paint(painter, QRect(rect.left() + 4, y, iconSize, iconSize));
        }
        rect.setLeft(rect.left() + iconSize + 8);

        painter->setPen(selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
                          index.data(Qt::DisplayRole).toString());
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), comboBox_.itemHeight()};
    }

private:
    const TKOVDrvComboBox& comboBox_;
};

}  // namespace

TKOVDrvComboBox::TKOVDrvComboBox(DriveSelection& drives, DriveSource describeDrives, std::function<QIcon(int)> iconOf,
                                 QWidget* parent)
    : QComboBox(parent), drives_(drives), describeDrives_(std::move(describeDrives)), iconOf_(std::move(iconOf))
{
    setIconSize(QSize(smallIconSize, smallIconSize));
    setItemDelegate(new DriveItemDelegate(*this));
    connect(this, &QComboBox::activated, [this](int index) { drives_.Change(index); });
    ResetItemHeight();
    BuildList();
}

void TKOVDrvComboBox::BuildList()
{
    drives_.buildList(describeDrives_());
    showEntries();
}

void TKOVDrvComboBox::UpdateDrives()
{
    setUpdatesEnabled(false);
    BuildList();
    setUpdatesEnabled(true);
}

void TKOVDrvComboBox::ResetItemHeight()
{
    itemHeight_ = driveItemHeight(fontMetrics().height(), smallIconSize);
}

void TKOVDrvComboBox::changeEvent(QEvent* event)
{
    QComboBox::changeEvent(event);
    if (event->type() != QEvent::FontChange) return;
    // The original recreates its window here, which builds the list again from the saved entry.
    ResetItemHeight();
    view()->setFont(font());
    BuildList();
}

void TKOVDrvComboBox::showEntries()
{
    const QSignalBlocker quiet(this);
    clear();
    for (const DriveEntry& entry : drives_.entries())
        addItem(entry.iconIndex < 0 ? QIcon() : iconOf_(entry.iconIndex), QString::fromStdString(entry.text));
    showSelection();
}

void TKOVDrvComboBox::showSelection()
{
    const QSignalBlocker quiet(this);
    setCurrentIndex(drives_.selectedIndex());
}

}  // namespace trovelin
