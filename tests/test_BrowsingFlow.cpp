// The main window's browsing flow: a folder shown loads its panel files into one list, the drive
// list loads nothing, a clicked panel file replaces the list, the view buttons and menu, and the
// one drive map that the file list, the drive selector and the loader share.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <QTreeView>

#include "app/DrawGrid.h"
#include "app/PicturePreview.h"
#include "browse/DriveComboBox.h"
#include "app/Trovelinc.h"
#include "browse/FileListView.h"
#include "browse/Itemprop.h"
#include "panelfile/PictureList.h"
#include "platform/PosixFileSystem.h"
#include "support/BareDesktop.h"
#include "support/BmpWriter.h"
#include "support/FileWriter.h"
#include "support/FinishFolderLoad.h"
#include "support/GuiApplication.h"
#include "support/NoShell.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"
#include "support/SamplePanels.h"
#include "support/TestVolumes.h"

namespace trovelin {
namespace {

using namespace testing;
namespace fs = std::filesystem;

class BrowsingFlow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureWidgetApplication(); }

    BrowsingFlow()
    {
        fs::create_directories(root / "Show");
        fs::create_directories(root / "Empty");
        writeFile((root / "Show" / "a.kvr").string(), greyBackgroundPanel(1));
        writeFile((root / "Show" / "B.KVR").string(), greyBackgroundPanel(2));
        writeFile((root / "Show" / "c.Kvr").string(), greyBackgroundPanel(3));
        writeFile((root / "Show" / "d.kvr.bak").string(), greyBackgroundPanel(4));
        show = fileSystem.drives().toWindowsPath((root / "Show").string()).value();
        window.messageBox = [this](const QString& caption, const QString& text) {
            messages.push_back(caption + ": " + text);
        };
    }
    ~BrowsingFlow() override
    {
        fileSystem.setCurrentDirectory(fileSystem.drives().toWindowsPath(fs::temp_directory_path().string()).value());
        fs::remove_all(root);
    }

    std::vector<int> widths() const
    {
        std::vector<int> result;
        for (int i = 0; i < pictures.count(); ++i) result.push_back(pictures.at(i).width());
        return result;
    }

    fs::path root = fs::temp_directory_path() / ("trovelin-flow-" + std::to_string(::getpid()));
    PictureList pictures;
    PosixFileSystem fileSystem;
    NoShell shell;
    TTrovelin window{pictures, fileSystem, shell};
    std::string show;
    std::vector<QString> messages;
};

TEST_F(BrowsingFlow, AFolderShownLoadsItsPanelFilesIntoOneList)
{
    window.FormShow(show);
    finishFolderLoad(window);
    EXPECT_EQ(window.fileList().Directory(), show);
    EXPECT_EQ(widths(), (std::vector<int>{1, 2, 3}));  // the search's order; the .bak file is not one
    EXPECT_EQ(window.statusText(1).toStdString(), show);
    EXPECT_EQ(window.driveSelector().drive(), show[0]);

    // The drive list loads nothing; coming back to the same folder does not load it again.
    pictures.clear();
    window.fileList().SetDirectory("Drives");
    EXPECT_EQ(window.driveSelector().drive(), '0');
    window.fileList().SetDirectory(show);
    EXPECT_EQ(pictures.count(), 0);

    // Another folder, even without panel files, is new; the previous pictures stay on show.
    window.fileList().SetDirectory(show + "\\..\\Empty");
    EXPECT_FALSE(window.folderLoadRunning());
    EXPECT_EQ(pictures.count(), 0);
    window.fileList().SetDirectory(show);
    finishFolderLoad(window);
    EXPECT_EQ(pictures.count(), 3);

    // The comparison with the last folder is exact: another spelling counts as new.
    window.setStatusPanel(1, QString::fromStdString(show).toUpper());
    pictures.clear();
    window.MFileExplorerChange();
    finishFolderLoad(window);
    EXPECT_EQ(pictures.count(), 3);
    EXPECT_TRUE(messages.empty());
}

TEST_F(BrowsingFlow, AClickedPanelFileReplacesTheList)
{
    window.FormShow(show);
    for (const auto& [name, loads] : std::vector<std::pair<std::string, bool>>{
             {"B.KVR", true}, {"c.Kvr", true}, {"d.kvr.bak", false}, {"", false}}) {
        pictures.clear();
        window.setStatusPanel(0, "");
        window.fileList().SetFileName(show + "\\" + name);
        window.MFileExplorerClick();
        EXPECT_EQ(pictures.count(), loads ? 1 : 0) << name;
        EXPECT_EQ(window.statusText(0).toStdString(), loads ? show + "\\" + name : "") << name;
    }
    // A missing file reaches the error display through the event dispatch.
    window.fileList().SetFileName(show + "\\gone.kvr");
    window.fileList().OnClick();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].toStdString(), "Trovelin: Cannot open file " + show + "\\gone.kvr");
}

TEST_F(BrowsingFlow, ViewButtonsAndMenuStepTheViewStyle)
{
    EXPECT_EQ(window.fileList().ViewStyle(), TViewStyle::vsReport);
    window.ViewIconsClick();
    EXPECT_EQ(window.fileList().ViewStyle(), TViewStyle::vsIcon);
    window.ViewIconsClick();
    EXPECT_EQ(window.fileList().ViewStyle(), TViewStyle::vsSmallIcon);
    window.Icons1Click(2);  // "Small Icons" carries tag 2, the list style
    EXPECT_EQ(window.fileList().ViewStyle(), TViewStyle::vsList);

    int popups = 0;
    window.popupView = [&popups](int, int) { ++popups; };
    window.ViewIconsMouseUp(12, 20, 24, 24);
    window.ViewIconsMouseUp(20, 12, 24, 24);
    EXPECT_EQ(popups, 0);
    window.ViewIconsMouseUp(13, 13, 24, 24);
    EXPECT_EQ(popups, 1);

    window.FormShow(show);
    window.driveSelector().buildList({{'C', 3, "C:", -1}});
    window.driveSelector().Change(0);
    EXPECT_EQ(window.fileList().Directory(), "Drives");
    window.ViewLevelUpClick();
    EXPECT_EQ(window.fileList().Directory(), "Drives");
}

// Volumes on folders of the test's own, from a mount table that the test changes. A letter keeps
// naming the volume the list showed under it until the drives are listed again, for the loader too.
TEST_F(BrowsingFlow, OneDriveMapServesTheBrowserAndTheLoader)
{
    for (const char* volume : {"d", "e", "f"}) fs::create_directories(root / volume);
    writeFile((root / "e" / "x.kvr").string(), greyBackgroundPanel(5));
    std::vector<std::string> mounted = {"d", "e"};
    PosixFileSystem drives(testing::volumesOn(root, mounted));
    PictureList list;
    TTrovelin browser(list, drives, shell);
    browser.messageBox = window.messageBox;
    auto listedDrives = [&browser] {
        std::string roots;
        for (const FileListItem& item : browser.fileList().items()) roots += item.caption + " ";
        return roots;
    };

    browser.fileList().SetDirectory("Drives");
    EXPECT_EQ(listedDrives(), "C:\\ D:\\ E:\\ ");
    mounted = {"e"};  // D goes; read afresh, the volume of E would now be D
    browser.fileList().SetDirectory("E:\\");
    finishFolderLoad(browser);
    EXPECT_EQ(list.count(), 1);
    EXPECT_TRUE(messages.empty());

    // Listing the drives reads them again: E keeps its letter, a new volume takes the free D.
    mounted = {"e", "f"};
    browser.fileList().SetDirectory("Drives");
    EXPECT_EQ(listedDrives(), "C:\\ D:\\ E:\\ ");
    EXPECT_EQ(drives.drives().drive('D')->mountPoint, (root / "f").string());

    // So does the drive selector when it rebuilds.
    mounted = {"e"};
    browser.findChild<TKOVDrvComboBox*>()->UpdateDrives();
    ASSERT_EQ(browser.driveSelector().entries().size(), 3u);  // "My Computer", C and E
    EXPECT_EQ(browser.driveSelector().entries()[2].text, "E:\\");
}

TEST_F(BrowsingFlow, ARightClickOnAPanelFileOffersTheDesktopsActions)
{
    BareDesktop desktop;
    ShellItemActions actions(fileSystem, desktop);
    QStringList offered;
    actions.popupMenu = [&](QMenu& menu, QPoint) -> QAction* {
        for (QAction* action : menu.actions()) offered << action->text();
        return menu.actions().at(offered.indexOf("Copy Path"));
    };
    window.setItemActions(&actions);
    window.resize(800, 600);
    window.FormShow(show);
    finishFolderLoad(window);
    EXPECT_TRUE(window.fileList().ContextMenu());
    EXPECT_FALSE(window.fileList().ContextAction());

    QTreeView* report = window.fileListView().reportView();
    int row = 0;
    while (window.fileList().items()[static_cast<std::size_t>(row)].caption != "a.kvr") ++row;
    QTest::mouseClick(report->viewport(), Qt::RightButton, {},
                      report->visualRect(report->model()->index(row, 0)).center());
    EXPECT_TRUE(offered.contains("Open With"));
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), (root / "Show" / "a.kvr").string());

    // What fails says so in the status bar, naming the item.
    QTest::keyClick(report, Qt::Key_Delete);
    EXPECT_EQ(window.statusText(0), "Cannot move a.kvr to the trash: the trash is full");
    EXPECT_TRUE(fs::exists(root / "Show" / "a.kvr"));
}

TEST_F(BrowsingFlow, ThePreviewFollowsAReloadAndClosesWhenItsPictureIsGone)
{
    window.FormShow(show);
    finishFolderLoad(window);
    window.openPreview(0);
    ASSERT_NE(window.preview(), nullptr);
    PicturePreview& preview = *window.preview();
    window.OpenPanelFile(show, show + "\\c.Kvr");
    EXPECT_TRUE(preview.isVisible());
    EXPECT_TRUE(preview.statusText().startsWith(QString("Picture 1 of 1  \u00B7  3 x 4")));

    window.fileList().SetDirectory(show + "\\..\\Empty");
    window.fileList().SetDirectory(show);
    finishFolderLoad(window);
    window.openPreview(2);
    window.OpenPanelFile(show, show + "\\a.kvr");
    EXPECT_FALSE(preview.isVisible());
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace trovelin
