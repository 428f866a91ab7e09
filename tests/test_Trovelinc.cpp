// The main window's picture grid: its size from the width, what each cell shows, which cells can
// be selected, and the copy of a selected picture to the clipboard.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QMimeData>

#include "app/DrawGrid.h"
#include "app/LocaleTexts.h"
#include "app/PicturePreview.h"
#include "app/Trovelinc.h"
#include "framework/Canvas.h"
#include "framework/SpeedButton.h"
#include "framework/WinControl.h"
#include "panelfile/PictureList.h"
#include "platform/PosixFileSystem.h"
#include "streaming/Bitmap.h"
#include "support/GuiApplication.h"
#include "support/NoShell.h"
#include "support/PaintedBitmap.h"
#include "widgets/ControlHostWidget.h"
#include "support/PngReference.h"

namespace trovelin {
namespace {

using testing::NoShell;

// A bitmap of one colour (0x00RRGGBB as stored, blue in the low byte).
TBitmap solid(int width, int height, std::uint32_t rgb)
{
    return testing::paintedBitmap(width, height, 32, [rgb](int, int) { return QColor::fromRgb(rgb); });
}

class MainWindowGrid : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureWidgetApplication(); }

    MainWindowGrid()
    {
        window.messageBox = [this](const QString& caption, const QString& text) {
            messages.push_back(caption + ": " + text);
        };
    }

    // Paints cell (col, row) into a 65 x 65 image filled with the grid colour, as the grid does.
    QImage cell(int col, int row)
    {
        QImage image(65, 65, QImage::Format_RGB32);
        image.fill(QColor(232, 247, 255));
        TCanvas canvas(image);
        window.PictureGridDrawCell(col, row, {0, 0, 65, 65}, 0, canvas);
        return image;
    }

    PictureList pictures;
    PosixFileSystem fileSystem;
    NoShell shell;
    TTrovelin window{pictures, fileSystem, shell};
    std::vector<QString> messages;
};

TEST_F(MainWindowGrid, ColumnsFollowTheWidthAndRowsHoldAllPictures)
{
    struct Case {
        int width, cols, rows;
    };
    for (Case c : {Case{338, 5, 103}, Case{72, 1, 513}, Case{268, 4, 129}}) {
        window.pictureGrid().resize(c.width, 300);
        window.FormResize();
        EXPECT_EQ(window.pictureGrid().colCount(), c.cols) << c.width;
        EXPECT_EQ(window.pictureGrid().rowCount(), c.rows) << c.width;
    }
}

TEST_F(MainWindowGrid, CellsShowPicturesCentredAndSilverPastTheCount)
{
    window.pictureGrid().resize(338, 300);
    window.FormResize();
    for (int i = 0; i < 7; ++i) pictures.append(solid(i == 1 ? 100 : 32, i == 1 ? 100 : 16, 0xFF0000));
    const QImage small = cell(0, 0);
    EXPECT_EQ(small.pixelColor(16, 24), QColor(255, 0, 0));
    EXPECT_EQ(small.pixelColor(15, 24), QColor(232, 247, 255));
    EXPECT_EQ(small.pixelColor(47, 39), QColor(255, 0, 0));
    EXPECT_EQ(small.pixelColor(48, 40), QColor(232, 247, 255));
    EXPECT_EQ(cell(1, 0).pixelColor(0, 0), QColor(255, 0, 0));  // 100 x 100 starts 17 up and left
    EXPECT_EQ(cell(1, 1).pixelColor(16, 24), QColor(255, 0, 0));
    EXPECT_EQ(cell(2, 1).pixelColor(32, 32), QColor(192, 192, 192));
    EXPECT_EQ(cell(0, 50).pixelColor(0, 0), QColor(192, 192, 192));

    // Narrowing to three columns moves picture 4 from (4, 0) to (1, 1).
    pictures.clear();
    for (int i = 0; i < 7; ++i) pictures.append(solid(10, 10, i == 4 ? 0x00FF00 : 0x0000FF));
    window.pictureGrid().resize(3 * 65 + 8, 300);
    window.FormResize();
    EXPECT_EQ(cell(1, 1).pixelColor(32, 32), QColor(0, 255, 0));
}

TEST_F(MainWindowGrid, SelectingAPictureShowsItsSizeAndCopiesIt)
{
    window.pictureGrid().resize(338, 300);
    window.FormResize();
    EXPECT_FALSE(window.pictureGrid().selectCell(0, 0));  // an empty list refuses every cell

    pictures.append(solid(48, 32, 0x123456));
    pictures.append(TBitmap{});
    EXPECT_FALSE(window.pictureGrid().selectCell(2, 0));
    EXPECT_EQ(window.statusText(0), "");

    EXPECT_TRUE(window.pictureGrid().selectCell(0, 0));
    EXPECT_EQ(window.statusText(0), "48x32");
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(48, 32));
    EXPECT_EQ(copied.pixelColor(47, 31), QColor(0x12, 0x34, 0x56));
    EXPECT_TRUE(messages.empty());

    // An empty picture cannot go to the clipboard; the cell is selected anyway.
    EXPECT_TRUE(window.pictureGrid().selectCell(1, 0));
    EXPECT_EQ(window.statusText(0), "0x0");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Trovelin: Failed to copy image to clipboard!");
    EXPECT_EQ(window.pictureGrid().col(), 1);
}

// 30 pictures, picture i being i + 1 pixels wide, in 5 columns; the grid shows 4 full rows, so a
// page is 3 rows.
TEST_F(MainWindowGrid, KeysMoveTheSelectionAsTheFrameworksGridDoesAndCtrlCCopiesAgain)
{
    for (int i = 0; i < 30; ++i) pictures.append(solid(i + 1, 1, 0x0000FF));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    TDrawGrid& grid = window.pictureGrid();
    grid.resize(338, 320);
    window.FormResize();
    grid.setFocus();
    ASSERT_TRUE(grid.selectCell(2, 0));
    auto press = [&grid](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(&grid, key, modifiers);
        return std::tuple(grid.col(), grid.row(), grid.topRow());
    };

    EXPECT_EQ(press(Qt::Key_PageDown), std::tuple(2, 3, 3));
    EXPECT_EQ(window.statusText(0), "18x1");
    EXPECT_EQ(press(Qt::Key_PageDown), std::tuple(2, 3, 6));  // row 6 is empty: only the view scrolls
    EXPECT_EQ(press(Qt::Key_PageUp), std::tuple(2, 0, 0));
    EXPECT_EQ(press(Qt::Key_End), std::tuple(4, 0, 0));
    EXPECT_EQ(window.statusText(0), "5x1");
    EXPECT_EQ(press(Qt::Key_Home), std::tuple(0, 0, 0));
    EXPECT_EQ(press(Qt::Key_PageDown, Qt::ControlModifier), std::tuple(0, 3, 0));
    EXPECT_EQ(window.statusText(0), "16x1");
    EXPECT_EQ(press(Qt::Key_End, Qt::ControlModifier), std::tuple(0, 3, 0));  // the last cell is empty
    EXPECT_EQ(press(Qt::Key_Home, Qt::ControlModifier), std::tuple(0, 0, 0));
    EXPECT_EQ(QGuiApplication::clipboard()->image().width(), 1);

    QGuiApplication::clipboard()->setText("taken by another program");
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().width(), 1);
}

TEST_F(MainWindowGrid, ADoubleClickEnterOrSpaceOpensThePictureInItsPreviewAfterSelectingIt)
{
    for (int i = 0; i < 3; ++i) pictures.append(solid(10 + i, 5, 0x0000FF));
    TDrawGrid& grid = window.pictureGrid();
    grid.resize(338, 300);
    window.FormResize();
    const auto centreOf = [&grid](int col, int row) {
        const TRect rect = grid.cellRect(col, row);
        return QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    };

    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, centreOf(3, 0));  // past the pictures
    EXPECT_EQ(window.preview(), nullptr);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, centreOf(1, 0));
    EXPECT_EQ(window.statusText(0), "11x5");  // selected and copied as before
    EXPECT_EQ(QGuiApplication::clipboard()->image().width(), 11);
    ASSERT_NE(window.preview(), nullptr);
    EXPECT_TRUE(window.preview()->isVisible());
    EXPECT_EQ(window.preview()->index(), 1);

    window.preview()->close();
    ASSERT_TRUE(grid.selectCell(2, 0));
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_TRUE(window.preview()->isVisible());
    EXPECT_EQ(window.preview()->index(), 2);
    ASSERT_TRUE(grid.selectCell(0, 0));
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_EQ(window.preview()->index(), 0);
    EXPECT_EQ(std::tuple(grid.col(), grid.row()), std::tuple(0, 0));
    EXPECT_TRUE(messages.empty());
}

// Qt's own PNG writer refuses more than a million rows; pasting such a picture still works.
TEST_F(MainWindowGrid, ThePngOnTheClipboardHoldsPicturesOfAnyShape)
{
    auto tall = std::make_shared<DibImage>(1, 16'187'394, 4);
    std::fill_n(tall->bits(), tall->byteCount(), std::uint8_t{0});
    tall->scanLine(0)[0] = 0x10;
    tall->colorTable = {{0, 0, 0, 0}, {0x56, 0x34, 0x12, 0}};
    TBitmap picture;
    picture.setImage(std::move(tall));
    pictures.append(picture);
    ASSERT_TRUE(window.pictureGrid().selectCell(0, 0));
    EXPECT_EQ(window.statusText(0), "1x16187394");

    const QByteArray png = QGuiApplication::clipboard()->mimeData()->data("image/png");
    const auto copied = testing::readPng({png.begin(), png.end()});
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->height, 16'187'394);
    EXPECT_EQ(copied->rgbAt(0, 0), 0x123456u);
    EXPECT_EQ(copied->rgbAt(0, 1), 0u);
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowGrid, TheStatusBarsLastPanelReachesTheRightEdge)
{
    window.show();
    QCoreApplication::processEvents();
    QList<QLabel*> panels = window.findChildren<QLabel*>();
    panels.removeIf([](QLabel* label) { return !label->isVisible(); });  // the progress of a folder load
    std::sort(panels.begin(), panels.end(), [](QLabel* a, QLabel* b) { return a->x() < b->x(); });
    ASSERT_GE(panels.size(), 2);
    EXPECT_EQ(panels.front()->width(), 304);
    EXPECT_GT(panels.back()->width(), 662 - 304 - 30);  // the window's 662 less panel 0 and the bar's margins
}

// The view button's release at (13, 13) opens the menu; the entry chosen there is clicked with
// the mouse while the menu is open, and the pointer then rests at `pointerAfter` (the button's
// coordinates).
class ViewMenu : public MainWindowGrid {
protected:
    ViewMenu()
    {
        window.show();
        for (ControlHostWidget* host : window.findChildren<ControlHostWidget*>())
            if (host->x() == 269) viewIcons = host;
    }

    void chooseFromMenu(const QString& caption, QPoint pointerAfter)
    {
        QTimer::singleShot(0, [this, caption, pointerAfter] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions())
                if (action->text() == caption)
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            QCursor::setPos(viewIcons->mapToGlobal(pointerAfter));
        });
        QTest::mousePress(viewIcons, Qt::LeftButton, {}, QPoint(13, 13));
        QTest::mouseRelease(viewIcons, Qt::LeftButton, {}, QPoint(13, 13));
        QCoreApplication::processEvents();
    }

    TSpeedButton& button() { return static_cast<TSpeedButton&>(viewIcons->control()); }

    ControlHostWidget* viewIcons = nullptr;
};

TEST_F(ViewMenu, TheEntryChosenIsTheStyleShownAfterTheButtonsOwnClick)
{
    ASSERT_NE(viewIcons, nullptr);
    ASSERT_EQ(window.fileList().ViewStyle(), TViewStyle::vsReport);
    chooseFromMenu("List", {200, 200});
    EXPECT_EQ(window.fileList().ViewStyle(), TViewStyle::vsSmallIcon);
    chooseFromMenu("Large Icons", {200, 200});
    EXPECT_EQ(window.fileList().ViewStyle(), TViewStyle::vsIcon);
    chooseFromMenu("Small Icons", {200, 200});
    EXPECT_EQ(window.fileList().ViewStyle(), TViewStyle::vsList);
}

TEST_F(ViewMenu, TheButtonLooksHoveredOnlyWhereThePointerIsWhenTheMenuCloses)
{
    ASSERT_NE(viewIcons, nullptr);
    chooseFromMenu("Details", {200, 200});
    EXPECT_FALSE(button().mouseInControl());
    EXPECT_FALSE(button().down());
    chooseFromMenu("Details", {5, 5});
    EXPECT_TRUE(button().mouseInControl());
}

TEST(LocaleTexts, FileTimesShowInTheLocalesFormatsWithoutAZoneAndReadBack)
{
    testing::ensureWidgetApplication();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const DateTimeText text = localeDateTimeText();
    // 2026-12-07 13:45:30 as the framework's value.
    const double value = 46363.0 + (13 * 3600 + 45 * 60 + 30) / 86400.0;
    const std::string shown = text.format(value);
    EXPECT_EQ(shown, "12/7/26 1:45:30 PM");
    ASSERT_TRUE(text.parse(shown).has_value());
    EXPECT_NEAR(*text.parse(shown), value, 1e-6);
    EXPECT_FALSE(text.parse("yesterday").has_value());
    EXPECT_EQ(localeThousandsSeparator(), ',');
    QLocale::setDefault(QLocale::c());
}

TEST_F(MainWindowGrid, TheLoaderReachesTheStatusBarAndTheMessageBox)
{
    window.setStatusText("Not KVR Format !!!");
    EXPECT_EQ(window.statusText(0), "Not KVR Format !!!");
    window.showMessage("Format ERROR!!!");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "KvrTrovelin: Format ERROR!!!");
    EXPECT_EQ(window.owner().name(), "Trovelin");
    EXPECT_EQ(window.hostPanel().name(), "PanelPapa");
}

}  // namespace
}  // namespace trovelin
