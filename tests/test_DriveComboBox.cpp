// The drive combo box's window: the list is built from the drives as they are when the window is
// made, when its font changes and on UpdateDrives; the owner-drawn entries and their height.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionViewItem>

#include "browse/DriveComboBox.h"
#include "support/GuiApplication.h"

namespace trovelin {
namespace {

class DriveComboBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureWidgetApplication(); }

    DriveComboBoxTest()
    {
        QPixmap red(16, 16);
        red.fill(Qt::red);
        redIcon = QIcon(red);
    }

    std::unique_ptr<TKOVDrvComboBox> makeComboBox()
    {
        return std::make_unique<TKOVDrvComboBox>(
            selection,
            [this] {
                ++reads;
                return machine;
            },
            [this](int) { return redIcon; });
    }

    // Entry `row` as the open list draws it, on a white strip 200 pixels wide.
    QImage drawnEntry(TKOVDrvComboBox& comboBox, int row, bool selected = false)
    {
        QImage image(200, comboBox.itemHeight(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QStyleOptionViewItem option;
        option.rect = image.rect();
        option.font = comboBox.font();
        option.palette.setColor(QPalette::Base, Qt::white);
        option.palette.setColor(QPalette::Text, Qt::black);
        option.palette.setColor(QPalette::Highlight, Qt::blue);
        option.palette.setColor(QPalette::HighlightedText, Qt::white);
        if (selected) option.state |= QStyle::State_Selected;
        QPainter painter(&image);
        comboBox.itemDelegate()->paint(&painter, option, comboBox.model()->index(row, 0));
        return image;
    }

    DriveSelection selection;
    std::vector<DriveDescription> machine{{'C', 3, "System (C:)", 1}, {'D', 2, "Stick (D:)", 2}};
    QIcon redIcon;
    int reads = 0;
};

TEST_F(DriveComboBoxTest, TheWindowBuildsTheListFromTheDrivesOfTheMoment)
{
    auto comboBox = makeComboBox();
    EXPECT_EQ(reads, 1);
    ASSERT_EQ(comboBox->count(), 3);
    EXPECT_EQ(comboBox->itemText(0), "My Computer");
    EXPECT_EQ(comboBox->currentIndex(), 0);

    selection.SetDrive('d');
    EXPECT_EQ(comboBox->currentIndex(), 0);  // the window shows what it is told to show
    comboBox->showSelection();
    EXPECT_EQ(comboBox->currentIndex(), 2);

    machine.push_back({'F', 5, "Disc (F:)", 3});
    comboBox->UpdateDrives();
    EXPECT_EQ(reads, 2);
    ASSERT_EQ(comboBox->count(), 4);
    EXPECT_EQ(comboBox->itemText(3), "Disc (F:)");
    EXPECT_EQ(comboBox->currentIndex(), 2);
    EXPECT_EQ(selection.drive(), 'D');

    // A font change rebuilds the list and keeps the chosen drive.
    QFont larger = comboBox->font();
    larger.setPixelSize(30);
    comboBox->setFont(larger);
    EXPECT_EQ(reads, 3);
    EXPECT_EQ(selection.drive(), 'D');
}

TEST_F(DriveComboBoxTest, APickRaisesOnChangeAndAQuietSetDriveDoesNot)
{
    auto comboBox = makeComboBox();
    int changes = 0;
    selection.OnChange = [&changes] { ++changes; };
    emit comboBox->activated(1);
    EXPECT_EQ(selection.drive(), 'C');
    EXPECT_EQ(changes, 1);
    selection.SetDrive('D');
    EXPECT_EQ(changes, 1);
}

TEST_F(DriveComboBoxTest, ItemsAreAsHighAsTheFontCellOrTheIconAndTwoPixels)
{
    auto comboBox = makeComboBox();
    QFont font = comboBox->font();
    font.setPixelSize(8);
    comboBox->setFont(font);
    ASSERT_LE(QFontMetrics(font).height(), 18);
    EXPECT_EQ(comboBox->itemHeight(), 18);
    font.setPixelSize(30);
    comboBox->setFont(font);
    EXPECT_EQ(comboBox->itemHeight(), QFontMetrics(font).height());
    EXPECT_EQ(comboBox->itemDelegate()->sizeHint(QStyleOptionViewItem(), comboBox->model()->index(1, 0)).height(),
              comboBox->itemHeight());
}

// Columns of the entry that hold a pixel of `color`.
std::vector<int> columnsWith(const QImage& image, QRgb color)
{
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) == color) {
                columns.push_back(x);
                break;
            }
    return columns;
}

TEST_F(DriveComboBoxTest, EntriesShowTheIconFourPixelsInAndTextIndentedAlikeWithoutAnIcon)
{
    auto comboBox = makeComboBox();
    const QImage drive = drawnEntry(*comboBox, 1);
    const std::vector<int> iconColumns = columnsWith(drive, qRgb(255, 0, 0));
    ASSERT_FALSE(iconColumns.empty());
    EXPECT_EQ(iconColumns.front(), 4);
    EXPECT_EQ(iconColumns.back(), 19);
    EXPECT_EQ(drive.pixel(4, (drive.height() - 16) / 2), qRgb(255, 0, 0));
    EXPECT_GE(columnsWith(drive, qRgb(0, 0, 0)).front(), 24);

    const QImage myComputer = drawnEntry(*comboBox, 0);
    EXPECT_TRUE(columnsWith(myComputer, qRgb(255, 0, 0)).empty());
    EXPECT_GE(columnsWith(myComputer, qRgb(0, 0, 0)).front(), 24);

    const QImage selected = drawnEntry(*comboBox, 0, true);
    EXPECT_EQ(selected.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_FALSE(columnsWith(selected, qRgb(255, 255, 255)).empty());  // the highlighted text
}

}  // namespace
}  // namespace trovelin
