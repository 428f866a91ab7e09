// The file list's window on a real folder, driven by mouse and key events: clicks select and
// report, a double-click opens a folder without a click of its own, the right button does
// nothing, the keys navigate, and the shared selection reaches the list in every view style.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <QListView>
#include <QTest>
#include <QTreeView>

#include "browse/FileListView.h"
#include "browse/Mfileexplorer.h"
#include "platform/PosixFileSystem.h"
#include "support/GuiApplication.h"

namespace trovelin {
namespace {

namespace fs = std::filesystem;

class PlainShell : public ShellInfo {
public:
    ShellFileInfo fileInfo(const std::string& path) override { return {-1, path, "File"}; }
};

class FileListViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureWidgetApplication(); }

    FileListViewTest()
    {
        fs::create_directories(root / "Shows" / "Club");
        std::ofstream(root / "Shows" / "a.kvr") << "1";
        std::ofstream(root / "Shows" / "b.kvr") << "22";
        shows = fileSystem.drives().toWindowsPath((root / "Shows").string()).value();
        list.SetFileType(1u << ftReadOnly | 1u << ftArchive | 1u << ftNormal);
        list.SetMask("*.kvr");
        list.SetViewStyle(TViewStyle::vsReport);
        list.OnClick = [this] { ++clicks; };
        list.OnDblClick = [this] { ++doubleClicks; };
        view.resize(400, 300);
        view.show();
        list.SetDirectory(shows);  // "..", "Club", "a.kvr", "b.kvr"
    }
    ~FileListViewTest() override
    {
        fileSystem.setCurrentDirectory(fileSystem.drives().toWindowsPath(fs::temp_directory_path().string()).value());
        fs::remove_all(root);
    }

    QPoint centreOfRow(int row) const
    {
        QTreeView* report = view.reportView();
        return report->visualRect(report->model()->index(row, 0)).center();
    }
    QWidget* reportViewport() const { return view.reportView()->viewport(); }

    fs::path root = fs::temp_directory_path() / ("trovelin-view-" + std::to_string(::getpid()));
    PosixFileSystem fileSystem;
    PlainShell shell;
    TMFileExplorer list{fileSystem, shell, isoDateTimeText(), ','};
    FileListView view{list, [](int) { return QIcon(); }};
    std::string shows;
    int clicks = 0;
    int doubleClicks = 0;
};

TEST_F(FileListViewTest, TheViewShowsTheListsRowsAndColumns)
{
    const QAbstractItemModel* model = view.reportView()->model();
    ASSERT_EQ(model->rowCount(), 4);
    EXPECT_EQ(model->columnCount(), 5);
    EXPECT_EQ(model->index(3, 0).data().toString(), "b.kvr");
    EXPECT_EQ(model->index(3, 1).data().toString(), "2");
    EXPECT_EQ(model->index(3, 1).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(view.reportView()->columnWidth(2), 150);
    EXPECT_EQ(view.currentWidget(), view.reportView());

    list.SetViewStyle(TViewStyle::vsSmallIcon);
    EXPECT_EQ(view.currentWidget(), view.iconView());
    EXPECT_EQ(view.iconView()->iconSize(), QSize(16, 16));
    list.SetViewStyle(TViewStyle::vsIcon);
    EXPECT_EQ(view.iconView()->iconSize(), QSize(32, 32));
}

TEST_F(FileListViewTest, ALeftClickSelectsAndReportsTheFileAndTheRightButtonDoesNothing)
{
    QTest::mouseClick(reportViewport(), Qt::LeftButton, {}, centreOfRow(2));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(list.isSelected(2));
    EXPECT_EQ(list.FileName(), shows + "\\a.kvr");

    QTest::mouseClick(reportViewport(), Qt::RightButton, {}, centreOfRow(3));
    EXPECT_TRUE(list.isSelected(2));
    EXPECT_FALSE(list.isSelected(3));
    EXPECT_EQ(clicks, 1);

    // The selection is one for every view style.
    list.SetViewStyle(TViewStyle::vsList);
    QListView* icons = view.iconView();
    icons->doItemsLayout();
    QTest::mouseClick(icons->viewport(), Qt::LeftButton, {}, icons->visualRect(icons->model()->index(3, 0)).center());
    EXPECT_TRUE(list.isSelected(3));
    EXPECT_FALSE(list.isSelected(2));
    EXPECT_TRUE(view.reportView()->selectionModel()->isSelected(view.reportView()->model()->index(3, 0)));
}

// Shift and Ctrl add nothing to the selection: the file clicked is the file loaded.
TEST_F(FileListViewTest, ClicksWithShiftOrCtrlSelectOnlyTheRowClicked)
{
    QTest::mouseClick(reportViewport(), Qt::LeftButton, {}, centreOfRow(2));
    QTest::mouseClick(reportViewport(), Qt::LeftButton, Qt::ControlModifier, centreOfRow(3));
    EXPECT_EQ(list.SelectedCount(), 1);
    EXPECT_TRUE(list.isSelected(3));
    EXPECT_EQ(list.FileName(), shows + "\\b.kvr");

    QTest::mouseClick(reportViewport(), Qt::LeftButton, Qt::ShiftModifier, centreOfRow(1));
    EXPECT_EQ(list.SelectedCount(), 1);
    EXPECT_TRUE(list.isSelected(1));
    EXPECT_EQ(list.FileName(), shows + "\\Club");
    EXPECT_EQ(clicks, 3);
}

TEST_F(FileListViewTest, ADoubleClickOpensAFolderWithoutAClickOfItsOwn)
{
    QTest::mouseClick(reportViewport(), Qt::LeftButton, {}, centreOfRow(1));
    QTest::mouseDClick(reportViewport(), Qt::LeftButton, {}, centreOfRow(1));
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(list.Directory(), shows + "\\Club");
    // The release that ended the double-click is not counted; only the first click is.
    EXPECT_EQ(clicks, 1);
}

TEST_F(FileListViewTest, KeysGoUpAndOpen)
{
    QTest::mouseClick(reportViewport(), Qt::LeftButton, {}, centreOfRow(1));
    QTest::keyClick(view.reportView(), Qt::Key_Return);
    EXPECT_EQ(list.Directory(), shows + "\\Club");
    QTest::keyClick(view.reportView(), Qt::Key_Backspace);
    EXPECT_EQ(list.Directory(), shows);
    QTest::keyClick(view.reportView(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(list.Directory(), fileSystem.drives().toWindowsPath(root.string()).value());
}

}  // namespace
}  // namespace trovelin
