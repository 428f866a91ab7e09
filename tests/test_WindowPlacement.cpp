// The windows open inside the screen, on a 1600 x 1000 screen at scale factor 2 (800 x 500
// units), where the viewer's stored place reaches past the bottom right; the preview opens over
// its main window. A program of its own: the screen and the scale are fixed when the application
// starts.

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/GalleryWindow.h"
#include "app/DrawGrid.h"
#include "app/PicturePreview.h"
#include "app/Trovelinc.h"
#include "app/WindowPlacement.h"
#include "panelfile/PictureList.h"
#include "platform/PosixFileSystem.h"
#include "support/GuiApplication.h"
#include "support/NoShell.h"
#include "support/PaintedBitmap.h"
#include "widgets/ControlHostWidget.h"

namespace trovelin {
namespace {

class OnTheScreen : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string config = (std::filesystem::temp_directory_path() / "trovelin-screen-1600x1000.json").string();
        std::ofstream(config) << R"({"screens": [{"name": "Wide", "x": 0, "y": 0, "width": 1600, "height": 1000}]})";
        qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString("offscreen:configfile=" + config));
        qputenv("QT_SCALE_FACTOR", "2");
        testing::ensureWidgetApplication();
    }

    static void expectInsideTheScreen(const QWidget& window)
    {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(available.contains(window.frameGeometry()))
            << window.windowTitle().toStdString() << " at " << window.frameGeometry().x() << ","
            << window.frameGeometry().y() << " " << window.frameGeometry().width() << " x "
            << window.frameGeometry().height();
    }
};

TEST_F(OnTheScreen, TheViewerOpensInsideAndItsPreviewOverIt)
{
    ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 800, 500));
    PictureList pictures;
    PosixFileSystem fileSystem;
    testing::NoShell shell;
    TTrovelin window{pictures, fileSystem, shell};
    pictures.append(testing::paintedBitmap(1200, 900, 32, [](int, int) { return QColor(Qt::red); }));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    expectInsideTheScreen(window);

    TDrawGrid& grid = window.pictureGrid();
    window.FormResize();
    const TRect cell = grid.cellRect(0, 0);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    ASSERT_NE(window.preview(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.preview()));
    expectInsideTheScreen(*window.preview());
    EXPECT_TRUE(window.frameGeometry().contains(window.preview()->frameGeometry().center()));

    // Opened again after the main window moved, it follows.
    window.preview()->close();
    window.move(0, 0);
    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_TRUE(window.preview()->isVisible());
    expectInsideTheScreen(*window.preview());
    EXPECT_TRUE(window.frameGeometry().contains(window.preview()->frameGeometry().center()));
}

TEST_F(OnTheScreen, TheGalleryOpensInsideWithItsWholeFormToScroll)
{
    GalleryWindow gallery;
    gallery.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&gallery));
    expectInsideTheScreen(gallery);
    EXPECT_EQ(gallery.host().size(), QSize(960, 640));
}

TEST(WindowPlacement, AFrameMovesAndShrinksIntoTheAvailableArea)
{
    const QRect available(0, 30, 800, 470);
    EXPECT_EQ(fittedInside({349, 251, 662, 453}, available), QRect(138, 47, 662, 453));
    EXPECT_EQ(fittedInside({-50, 0, 1000, 100}, available), QRect(0, 30, 800, 100));
    EXPECT_EQ(fittedInside({10, 40, 100, 100}, available), QRect(10, 40, 100, 100));
}

}  // namespace
}  // namespace trovelin
