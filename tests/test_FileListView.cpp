// The file list's window on a real folder, driven by mouse and key events: clicks select and
// report, a double-click opens a folder without a click of its own, a right press selects its
// row, the keys navigate, the shared selection reaches the list in every view style, and the file
// actions (menu, Delete, Ctrl+Z, Rename) change exactly the row the user sees, in the real trash.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTest>
#include <QTreeView>

#include "browse/FileListView.h"
#include "browse/Itemprop.h"
#include "browse/SystemDesktop.h"
#include "browse/Mfileexplorer.h"
#include "platform/MountTable.h"
#include "platform/PosixFileSystem.h"
#include "support/GuiApplication.h"
#include "support/TempTrash.h"
#include "support/TestVolumes.h"

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
    int rowOf(const std::string& caption) const
    {
        for (std::size_t row = 0; row < list.items().size(); ++row)
            if (list.items()[row].caption == caption) return static_cast<int>(row);
        return -1;
    }
    std::string selectedCaption() const
    {
        const QModelIndexList rows = view.reportView()->selectionModel()->selectedRows();
        return rows.size() == 1 ? list.items()[static_cast<std::size_t>(rows.front().row())].caption : std::string();
    }
    // The file actions, on the desktop's trash in a folder of the test's; the stand-in for the
    // user picks `choice` from the menu and notes its first line.
    void withItemActions()
    {
        actions.popupMenu = [this](QMenu& menu, QPoint) -> QAction* {
            menuTitles << menu.actions().front()->text();
            for (QAction* action : menu.actions())
                if (action->text() == choice && action->isEnabled()) return action;
            return nullptr;
        };
        view.onStatus = [this](const QString& text) { statuses << text; };
        view.setItemActions(&actions);
        list.SetContextMenu(true);
    }
    // The open name editor; a closed one may linger hidden until deleted.
    QLineEdit* nameEditor() const
    {
        for (QLineEdit* editor : view.reportView()->viewport()->findChildren<QLineEdit*>())
            if (editor->isVisible()) return editor;
        return nullptr;
    }

    fs::path root = fs::temp_directory_path() / ("trovelin-view-" + std::to_string(::getpid()));
    PosixFileSystem fileSystem;
    PlainShell shell;
    TMFileExplorer list{fileSystem, shell, isoDateTimeText(), ','};
    FileListView view{list, [](int) { return QIcon(); }};
    std::string shows;
    testing::TempTrash trash{root / "home"};
    SystemDesktop desktop;
    ShellItemActions actions{fileSystem, desktop};
    QString choice;
    QStringList menuTitles, statuses;
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

TEST_F(FileListViewTest, ALeftClickSelectsAndReportsTheFileAndARightPressSelectsItsRowAndRaisesMouseDown)
{
    QTest::mouseClick(reportViewport(), Qt::LeftButton, {}, centreOfRow(2));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(list.isSelected(2));
    EXPECT_EQ(list.FileName(), shows + "\\a.kvr");

    std::vector<std::string> mouseDowns;
    list.OnMouseDown = [&](TMouseButton button, TShiftState shift, int x, int y) {
        mouseDowns.push_back(std::to_string(int(button)) + " " + std::to_string(shift) + " " + std::to_string(x) + "," +
                             std::to_string(y));
    };
    const QPoint at = centreOfRow(3);
    QTest::mouseClick(reportViewport(), Qt::RightButton, Qt::ShiftModifier, at);
    EXPECT_FALSE(list.isSelected(2));
    EXPECT_TRUE(list.isSelected(3));
    EXPECT_EQ(clicks, 1);  // no click: the file clicked last stays the file loaded
    EXPECT_EQ(list.FileName(), shows + "\\a.kvr");
    EXPECT_EQ(mouseDowns, std::vector<std::string>{std::to_string(int(TMouseButton::mbRight)) + " " +
                                                   std::to_string(ssShift) + " " + std::to_string(at.x()) + "," +
                                                   std::to_string(at.y())});

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

TEST_F(FileListViewTest, TheMenuActsOnTheRowRightClickedAndCtrlZPutsItBack)
{
    withItemActions();
    std::ofstream(root / "Shows" / "*.kvr") << "star";
    std::ofstream(root / "Shows" / "a;b.kvr") << "semicolon";
    list.UpdateFileList();
    const auto before = testing::folderSnapshot(root / "Shows");
    // A size is the entry's own, not that of what its name matches as a list of patterns.
    EXPECT_EQ(list.items()[static_cast<std::size_t>(rowOf("*.kvr"))].sub(FileListItem::size), "4");
    EXPECT_EQ(list.items()[static_cast<std::size_t>(rowOf("a;b.kvr"))].sub(FileListItem::size), "9");
    QTest::mouseClick(reportViewport(), Qt::LeftButton, {}, centreOfRow(rowOf("*.kvr")));
    EXPECT_EQ(list.SelectedSize(), 4);
    QTest::mouseClick(reportViewport(), Qt::LeftButton, {}, centreOfRow(rowOf("a;b.kvr")));
    EXPECT_EQ(list.SelectedSize(), 9);
    QTest::mouseClick(reportViewport(), Qt::LeftButton, {}, centreOfRow(rowOf("a.kvr")));

    choice = "Move to Trash";
    QTest::mouseClick(reportViewport(), Qt::RightButton, {}, centreOfRow(rowOf("*.kvr")));
    EXPECT_EQ(menuTitles, QStringList{"*.kvr"});
    auto expected = before;
    expected.erase("*.kvr");
    EXPECT_EQ(testing::folderSnapshot(root / "Shows"), expected);
    EXPECT_EQ(rowOf("*.kvr"), -1);  // the list was read again
    EXPECT_EQ(statuses.back(), "Moved *.kvr to the trash (Ctrl+Z undoes)");

    QTest::keyClick(view.reportView(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(testing::folderSnapshot(root / "Shows"), before);
    EXPECT_NE(rowOf("*.kvr"), -1);
    EXPECT_EQ(statuses.back(), "Put *.kvr back from the trash");
}

TEST_F(FileListViewTest, DeleteMovesTheSelectedRowToTheTrashButNeverTheFolderAbove)
{
    withItemActions();
    const auto before = testing::folderSnapshot(root / "Shows");
    QTest::mouseClick(reportViewport(), Qt::LeftButton, {}, centreOfRow(rowOf("..")));
    QTest::keyClick(view.reportView(), Qt::Key_Delete);
    choice = "Move to Trash";
    QTest::mouseClick(reportViewport(), Qt::RightButton, {}, centreOfRow(rowOf("..")));
    EXPECT_TRUE(menuTitles.isEmpty());  // no menu for the way up
    EXPECT_TRUE(fs::is_directory(root / "Shows" / "Club"));
    EXPECT_EQ(testing::folderSnapshot(root / "Shows"), before);
    EXPECT_EQ(statuses, QStringList{"\"..\" is the folder above: it is not moved to the trash"});

    QTest::mouseClick(reportViewport(), Qt::LeftButton, {}, centreOfRow(rowOf("b.kvr")));
    QTest::keyClick(view.reportView(), Qt::Key_Delete);
    EXPECT_FALSE(fs::exists(root / "Shows" / "b.kvr"));
    EXPECT_EQ(testing::fileBytes(root / "Shows" / "a.kvr"), "1");
    EXPECT_EQ(statuses.back(), "Moved b.kvr to the trash (Ctrl+Z undoes)");
    EXPECT_EQ(selectedCaption(), "a.kvr");  // the row nearest to where b.kvr was

    // No trash can be made: the file and its row stay, and the status bar says why.
    fs::remove_all(trash.home() / ".local");
    std::ofstream(trash.home() / ".local") << "a file where the data folder should be";
    QTest::keyClick(view.reportView(), Qt::Key_Delete);
    EXPECT_EQ(testing::fileBytes(root / "Shows" / "a.kvr"), "1");
    EXPECT_NE(rowOf("a.kvr"), -1);
    EXPECT_TRUE(statuses.back().startsWith("Cannot move a.kvr to the trash: Unable to create trash directory"))
        << statuses.back().toStdString();
    EXPECT_EQ(testing::folderSnapshot(root / "Shows"), (std::map<std::string, std::string>{{"a.kvr", "1"}}));
    EXPECT_EQ(list.items().size(), 3u);  // "..", "Club", "a.kvr": nothing new in the folder
}

TEST_F(FileListViewTest, RenameEditsTheNameInTheListWithTheUsualRules)
{
    withItemActions();
    choice = "Rename";
    QTest::mouseClick(reportViewport(), Qt::RightButton, {}, centreOfRow(rowOf("a.kvr")));
    QLineEdit* editor = nameEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "a.kvr");
    editor->clear();
    QTest::keyClicks(editor, "club-stage.kvr");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the editor commits once it has seen the key
    EXPECT_FALSE(fs::exists(root / "Shows" / "a.kvr"));
    EXPECT_EQ(testing::fileBytes(root / "Shows" / "club-stage.kvr"), "1");
    EXPECT_EQ(selectedCaption(), "club-stage.kvr");
    EXPECT_EQ(statuses.back(), "Renamed a.kvr to club-stage.kvr");

    // F2 renames the selected row too; a name taken, a separator or nothing at all is refused,
    // and Esc leaves the name as it was.
    const std::vector<std::pair<QString, QString>> refused = {
        {"b.kvr", "Cannot rename club-stage.kvr to b.kvr: an item of that name exists"},
        {"x/y.kvr", "Cannot rename club-stage.kvr: a name cannot hold \"/\" or \"\\\""},
        {"", "Cannot rename club-stage.kvr: a name cannot be empty"},
    };
    for (const auto& [name, message] : refused) {
        QTest::keyClick(view.reportView(), Qt::Key_F2);
        ASSERT_NE(nameEditor(), nullptr);
        nameEditor()->setText(name);
        QTest::keyClick(nameEditor(), Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(statuses.back(), message);
    }
    QTest::keyClick(view.reportView(), Qt::Key_F2);
    nameEditor()->setText("other.kvr");
    QTest::keyClick(nameEditor(), Qt::Key_Escape);
    EXPECT_EQ(testing::folderSnapshot(root / "Shows"),
              (std::map<std::string, std::string>{{"b.kvr", "22"}, {"club-stage.kvr", "1"}}));

    // A name whose bytes are no UTF-8 shows them as U+FFFD: an edit would write those, so it is
    // refused before any editing starts.
    std::ofstream(root / "Shows" / "caf\xE9.kvr") << "3";
    list.UpdateFileList();
    QTest::mouseClick(reportViewport(), Qt::LeftButton, {}, centreOfRow(rowOf("caf\xE9.kvr")));
    QTest::keyClick(view.reportView(), Qt::Key_F2);
    if (QLineEdit* editor = nameEditor()) {
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClicks(editor, ".old");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(testing::fileBytes(root / "Shows" / "caf\xE9.kvr"), "3");
    EXPECT_FALSE(fs::exists(root / "Shows" / "caf\uFFFD.kvr.old"));
    EXPECT_EQ(statuses.back(),
              "Cannot rename caf\uFFFD.kvr: its name is not UTF-8 text, and editing it would change its other bytes");
}

// A press on another row ends a rename, and the list is read again in its new order; the press
// still acts on the row the user saw under the pointer.
TEST_F(FileListViewTest, ARightClickDuringARenameOpensTheMenuOfTheRowUnderThePointer)
{
    withItemActions();
    std::ofstream(root / "Shows" / "c.kvr") << "333";
    list.UpdateFileList();  // "..", "Club", "a.kvr", "b.kvr", "c.kvr"
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    QTest::mouseClick(reportViewport(), Qt::LeftButton, {}, centreOfRow(rowOf("a.kvr")));
    QTest::keyClick(view.reportView(), Qt::Key_F2);
    ASSERT_NE(nameEditor(), nullptr);
    nameEditor()->selectAll();
    QTest::keyClicks(nameEditor(), "z.kvr");
    choice = "Move to Trash";
    const QPoint onB = centreOfRow(rowOf("b.kvr"));
    QTest::mouseClick(reportViewport(), Qt::RightButton, {}, onB);
    QCoreApplication::processEvents();
    EXPECT_EQ(menuTitles, QStringList{"b.kvr"});
    EXPECT_EQ(testing::fileBytes(trash.files() / "b.kvr"), "22");
    EXPECT_EQ(testing::fileBytes(root / "Shows" / "c.kvr"), "333");
    EXPECT_EQ(testing::fileBytes(root / "Shows" / "z.kvr"), "1");  // the rename went through
    EXPECT_EQ(rowOf("b.kvr"), -1);
}

// A row keeps the entry it was listed with: a drive letter given to another volume meanwhile
// cannot redirect Delete to a file of the same name there.
TEST_F(FileListViewTest, ARowActsOnTheEntryItWasListedWithAfterItsDriveLetterMoved)
{
    for (const char* volume : {"d", "e", "f"}) {
        fs::create_directories(root / volume);
        std::ofstream(root / volume / "show.kvr") << volume;
    }
    std::vector<std::string> mounted = {"d", "e"};
    PosixFileSystem drives(testing::volumesOn(root, mounted));
    TMFileExplorer onDrives{drives, shell, isoDateTimeText(), ','};
    onDrives.SetFileType(1u << ftArchive | 1u << ftNormal);
    onDrives.SetViewStyle(TViewStyle::vsReport);
    FileListView driveView{onDrives, [](int) { return QIcon(); }};
    ShellItemActions driveActions{drives, desktop};
    driveView.setItemActions(&driveActions);
    driveView.resize(400, 300);
    driveView.show();
    onDrives.SetDirectory("E:\\");
    int row = 0;
    while (onDrives.items()[static_cast<std::size_t>(row)].caption != "show.kvr") ++row;

    mounted = {"d"};
    drives.refreshDrives();
    mounted = {"d", "f"};
    drives.refreshDrives();
    ASSERT_EQ(drives.drives().drive('E')->mountPoint, (root / "f").string());  // E names f now

    QTreeView* report = driveView.reportView();
    QTest::mouseClick(report->viewport(), Qt::LeftButton, {}, report->visualRect(report->model()->index(row, 0)).center());
    QTest::keyClick(report, Qt::Key_Delete);
    EXPECT_FALSE(fs::exists(root / "e" / "show.kvr"));
    EXPECT_EQ(testing::fileBytes(root / "f" / "show.kvr"), "f");
    EXPECT_EQ(testing::fileBytes(trash.files() / "show.kvr"), "e");
}

}  // namespace
}  // namespace trovelin
