// The shell item actions against a stand-in desktop on real files: the three forms of each
// operation, wildcards, drive roots, the context menu with its hint, the verbs and their
// fallbacks, the properties dialog, hostile names, and the file list's two switches.

#include "browse/Itemprop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "app/PanelProperties.h"
#include "browse/FileListView.h"
#include "browse/ItemPropertiesDialog.h"
#include "browse/Mfileexplorer.h"
#include "panelfile/PanelSummary.h"
#include "platform/PosixFileSystem.h"
#include "support/FileWriter.h"
#include "support/GuiApplication.h"
#include "support/SamplePanels.h"

namespace trovelin {
namespace {

namespace fs = std::filesystem;

const DesktopApplication editor{"editor.desktop", "Editor"};
const DesktopApplication viewer{"viewer.desktop", "Viewer"};
const DesktopApplication imageTool{"imagetool.desktop", "Image Tool"};
const DesktopApplication files{"files.desktop", "Files"};

// Types by extension; applications by type, the default first. Every call lands in `calls`,
// with the cursor that showed meanwhile.
class FakeDesktop : public DesktopServices {
public:
    std::string contentType(const std::string& path) override
    {
        if (fs::is_directory(path)) return folderContentType;
        const std::string extension = QString::fromStdString(fs::path(path).extension().string()).toLower().toStdString();
        return extension == ".txt" ? "text/plain" : extension == ".png" ? "image/png" : "application/octet-stream";
    }
    std::optional<DesktopApplication> defaultApplication(const std::string& type) override
    {
        const auto found = registered.find(type);
        return found == registered.end() || found->second.empty() ? std::nullopt
                                                                  : std::optional(found->second.front());
    }
    std::vector<DesktopApplication> applications(const std::string& type) override { return registered[type]; }
    bool launch(const DesktopApplication& application, const std::vector<std::string>& paths) override
    {
        return record("launch " + application.id, paths, true);
    }
    bool showItems(const std::vector<std::string>& paths) override
    {
        return record("showItems", paths, fileManagerAnswers);
    }
    bool showFolders(const std::vector<std::string>& paths) override
    {
        return record("showFolders", paths, fileManagerAnswers);
    }
    bool showItemProperties(const std::vector<std::string>& paths) override
    {
        return record("showItemProperties", paths, fileManagerAnswers);
    }
    TrashOutcome moveToTrash(const std::string& path) override
    {
        record("trash", {path}, true);
        return {TrashedItem{path, path + ".trashed", {}, {}, 0, 0}, {}};
    }
    RestoreOutcome restoreFromTrash(const TrashedItem& item) override
    {
        record("restore " + item.pathInTrash, {item.path}, true);
        return {};
    }

    std::map<std::string, std::vector<DesktopApplication>> registered{
        {"text/plain", {editor, viewer}}, {"image/png", {imageTool, viewer}}, {folderContentType, {files}}};
    bool fileManagerAnswers = true;
    std::vector<std::string> calls;
    bool hourglassThroughout = true;

private:
    bool record(const std::string& call, const std::vector<std::string>& paths, bool result)
    {
        std::string line = call;
        for (const std::string& path : paths) line += " [" + path + "]";
        calls.push_back(line);
        const QCursor* cursor = QApplication::overrideCursor();
        hourglassThroughout = hourglassThroughout && cursor != nullptr && cursor->shape() == Qt::WaitCursor;
        return result;
    }
};

QStringList entryTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        if (!action->isSeparator()) texts << action->text();
    return texts;
}

QAction* entry(const QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions())
        if (action->text() == text) return action;
    return nullptr;
}

class ItempropTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureWidgetApplication(); }

    ItempropTest()
    {
        fs::create_directories(root / "Sub");
        for (const char* name : {"a.txt", "B.TXT", "c.png", "-x 'quoted' \"name\".txt", "line\nbreak.txt"})
            std::ofstream(root / name) << "text";
        actions.popupMenu = [this](QMenu& menu, QPoint position) {
            ++menusShown;
            menuEntries = entryTexts(menu);
            if (QAction* open = entry(menu, "Open With"); open && open->menu()) openWithEntries = entryTexts(*open->menu());
            menuPosition = position;
            if (choice.isEmpty()) return static_cast<QAction*>(nullptr);
            QAction* chosen = entry(menu, choice);
            if (chosen == nullptr && entry(menu, "Open With")) chosen = entry(*entry(menu, "Open With")->menu(), choice);
            return chosen;
        };
    }
    ~ItempropTest() override
    {
        fileSystem.setCurrentDirectory(fileSystem.drivePath(fs::temp_directory_path().string()).value());
        fs::remove_all(root);
    }

    std::string local(const std::string& name) const { return (root / name).string(); }
    std::string drive(const std::string& name = {}) const
    {
        return fileSystem.drivePath(name.empty() ? root.string() : local(name)).value();
    }
    std::string call(const std::string& what, std::initializer_list<std::string> names) const
    {
        std::string line = what;
        for (const std::string& name : names) line += " [" + local(name) + "]";
        return line;
    }

    fs::path root = fs::temp_directory_path() / ("trovelin-itemprop-" + std::to_string(::getpid()));
    PosixFileSystem fileSystem;
    FakeDesktop desktop;
    ShellItemActions actions{fileSystem, desktop};
    QString choice;  // the menu entry the stand-in for the user picks; empty: dismiss
    int menusShown = 0;
    QStringList menuEntries, openWithEntries;
    QPoint menuPosition;
};

TEST_F(ItempropTest, TheDefaultActionStartsTheTypesDefaultApplicationUnderTheHourglass)
{
    EXPECT_TRUE(actions.PerformDefaultAction(drive("a.txt"), nullptr));
    EXPECT_TRUE(actions.PerformVerb("OPEN", local("c.png"), nullptr));
    EXPECT_TRUE(actions.PerformDefaultAction(drive(), {"a.txt", "c.png", "Sub"}, nullptr));
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{call("launch editor.desktop", {"a.txt"}),
                                                       call("launch imagetool.desktop", {"c.png"}),
                                                       call("launch editor.desktop", {"a.txt"}),
                                                       call("launch imagetool.desktop", {"c.png"}),
                                                       call("launch files.desktop", {"Sub"})}));
    EXPECT_TRUE(desktop.hourglassThroughout);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A type without an application starts nothing, not even the others.
    desktop.calls.clear();
    desktop.registered.erase("image/png");
    EXPECT_FALSE(actions.PerformDefaultAction(drive(), {"a.txt", "c.png"}, nullptr));
    EXPECT_TRUE(desktop.calls.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ItempropTest, AWildcardStandsForTheMatchingEntriesWithLetterCaseIgnored)
{
    EXPECT_TRUE(actions.PerformVerb("open", drive() + "\\*.TxT", nullptr));
    ASSERT_EQ(desktop.calls.size(), 1u);
    const std::string& line = desktop.calls.front();
    for (const char* name : {"a.txt", "B.TXT", "-x 'quoted' \"name\".txt", "line\nbreak.txt"})
        EXPECT_NE(line.find("[" + local(name) + "]"), std::string::npos) << name;
    EXPECT_EQ(line.find("c.png"), std::string::npos);

    EXPECT_TRUE(actions.DisplayContextMenu(drive() + "\\?.*", nullptr, {3, 4}, *std::make_unique<bool>()));
    EXPECT_EQ(menusShown, 1);  // one menu for all of them
    EXPECT_EQ(openWithEntries, QStringList{"Viewer"});  // the only application for text and images

    EXPECT_FALSE(actions.PerformVerb("open", drive() + "\\*.none", nullptr));
}

TEST_F(ItempropTest, ADriveRootIsTheDriveItself)
{
    ShellFolder folder;
    std::string item;
    ASSERT_TRUE(actions.GetPIDLAndShellFolder("C:\\", folder, item));
    EXPECT_TRUE(folder.isDrives());
    EXPECT_EQ(item, "C:\\");
    ASSERT_TRUE(actions.GetPIDLAndShellFolder(local("a.txt"), folder, item));
    EXPECT_EQ(folder.path, drive());
    EXPECT_EQ(item, "a.txt");
    EXPECT_FALSE(actions.GetPIDLAndShellFolder("Q:\\nothing", folder, item));
    EXPECT_FALSE(actions.GetPIDLAndShellFolder(drive("missing.txt"), folder, item));

    choice = "Show in Folder";
    bool renameChosen = true;
    QStringList disabled;
    actions.popupMenu = [&](QMenu& menu, QPoint position) {
        menuPosition = position;
        for (const QAction* action : menu.actions())
            if (!action->isEnabled()) disabled << action->text();
        return entry(menu, choice);
    };
    EXPECT_TRUE(actions.DisplayContextMenu("c:\\", nullptr, {10, 20}, renameChosen));
    EXPECT_FALSE(renameChosen);
    EXPECT_EQ(menuPosition, QPoint(10, 20));
    EXPECT_EQ(desktop.calls, std::vector<std::string>{"showItems [/]"});
    // A drive is neither renamed nor trashed; the first line names it and does nothing.
    EXPECT_EQ(disabled, (QStringList{"C:\\", "Rename", "Move to Trash", "Undo Move to Trash"}));
}

TEST_F(ItempropTest, RenameIsReportedAndNotCarriedOut)
{
    choice = "Rename";
    bool renameChosen = false;
    EXPECT_TRUE(actions.DisplayContextMenu(drive("a.txt"), nullptr, {}, renameChosen));
    EXPECT_TRUE(renameChosen);
    EXPECT_TRUE(fs::exists(root / "a.txt"));
    EXPECT_TRUE(desktop.calls.empty());

    // Dismissing the menu carries nothing out and fails nothing.
    choice.clear();
    EXPECT_TRUE(actions.DisplayContextMenu(drive(), {"a.txt"}, nullptr, {}, renameChosen));
    EXPECT_FALSE(renameChosen);
    EXPECT_TRUE(desktop.calls.empty());

    // Every call starts with the output cleared, also one that shows no menu.
    renameChosen = true;
    EXPECT_FALSE(actions.DisplayContextMenu(drive("missing.txt"), nullptr, {}, renameChosen));
    EXPECT_FALSE(renameChosen);
}

TEST_F(ItempropTest, TheMenusEntriesCarryOutTheirActions)
{
    const std::vector<std::pair<QString, std::string>> cases = {
        {"Open", call("launch editor.desktop", {"a.txt"})},
        {"Viewer", call("launch viewer.desktop", {"a.txt"})},
        {"Show in Folder", call("showItems", {"a.txt"})},
        {"Move to Trash", call("trash", {"a.txt"})},
        {"Undo Move to Trash", "restore " + local("a.txt") + ".trashed [" + local("a.txt") + "]"},
        {"Properties", call("showItemProperties", {"a.txt"})},
    };
    for (const auto& [text, expected] : cases) {
        desktop.calls.clear();
        choice = text;
        bool renameChosen = false;
        EXPECT_TRUE(actions.DisplayContextMenu(drive("a.txt"), nullptr, {}, renameChosen)) << text.toStdString();
        EXPECT_EQ(desktop.calls, std::vector<std::string>{expected}) << text.toStdString();
    }
    EXPECT_EQ(menuEntries, (QStringList{"a.txt", "Open", "Open With", "Show in Folder", "Copy Path", "Rename",
                                        "Move to Trash", "Undo Move to Trash", "Properties"}));
    EXPECT_EQ(openWithEntries, (QStringList{"Editor", "Viewer"}));

    choice = "Copy Path";
    bool renameChosen = false;
    EXPECT_TRUE(actions.DisplayContextMenu(drive(), {"a.txt", "c.png"}, nullptr, {}, renameChosen));
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(local("a.txt") + "\n" + local("c.png")));
}

TEST_F(ItempropTest, HoveringAnEntrySetsTheHintAndClosingTheMenuClearsIt)
{
    actions.popupMenu = nullptr;  // the real menu
    std::vector<std::string> hints;
    actions.onHint = [&](const std::string& hint) { hints.push_back(hint); };
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        menu->setActiveAction(entry(*menu, "Move to Trash"));
        menu->close();
    });
    bool renameChosen = false;
    EXPECT_TRUE(actions.DisplayContextMenu(drive("a.txt"), nullptr, {5, 5}, renameChosen));
    ASSERT_EQ(hints.size(), 2u);
    EXPECT_EQ(hints[0], "delete|Moves the items to the trash");
    EXPECT_EQ(hints[1], "");
    EXPECT_EQ(actions.hint(), "");
    EXPECT_TRUE(desktop.calls.empty());
}

TEST_F(ItempropTest, VerbsAndTheirFallbacks)
{
    EXPECT_TRUE(actions.PerformVerb("explore", drive("Sub"), nullptr));
    EXPECT_FALSE(actions.PerformVerb("explore", drive("a.txt"), nullptr));  // a file is no folder to open
    desktop.fileManagerAnswers = false;
    EXPECT_TRUE(actions.PerformVerb("showitem", drive("a.txt"), nullptr));
    EXPECT_TRUE(actions.PerformVerb("delete", drive(), {"a.txt", "c.png"}, nullptr));
    EXPECT_FALSE(actions.PerformVerb("print", drive("a.txt"), nullptr));
    EXPECT_FALSE(actions.PerformVerb("frobnicate", drive("a.txt"), nullptr));
    choice = "Viewer";
    EXPECT_TRUE(actions.PerformVerb("openas", drive("a.txt"), nullptr));
    choice.clear();
    EXPECT_FALSE(actions.PerformVerb("openas", drive("a.txt"), nullptr));  // nothing chosen
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{
                                 call("showFolders", {"Sub"}),
                                 call("showItems", {"a.txt"}),
                                 "launch files.desktop [" + root.string() + "]",  // the folder instead
                                 call("trash", {"a.txt"}),
                                 call("trash", {"c.png"}),
                                 call("launch viewer.desktop", {"a.txt"}),
                             }));
}

TEST_F(ItempropTest, PropertiesNeedItemsThatExist)
{
    EXPECT_FALSE(actions.DisplayPropertiesDialog(drive("missing.txt"), nullptr));
    EXPECT_FALSE(actions.DisplayPropertiesDialog(drive(), {"missing.txt"}, nullptr));
    EXPECT_FALSE(actions.DisplayPropertiesDialog(drive(), {}, nullptr));
    const std::string items[] = {"a.txt"};
    EXPECT_FALSE(actions.DisplayPropertiesDialog(ShellFolder{drive(), {}}, items, nullptr, 0));
    EXPECT_TRUE(desktop.calls.empty());

    EXPECT_TRUE(actions.DisplayPropertiesDialog(ShellFolder{drive(), {}}, items, nullptr, SFGAO_HASPROPSHEET));
    // The list form leaves out the names that name nothing.
    EXPECT_TRUE(actions.DisplayPropertiesDialog(drive(), {"missing.txt", "c.png"}, nullptr));
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{call("showItemProperties", {"a.txt"}),
                                                       call("showItemProperties", {"c.png"})}));
}

TEST_F(ItempropTest, WithoutAFileManagerOurOwnDialogShowsThePropertiesOfAPanelFileAsPlainText)
{
    const std::vector<testing::SamplePanel> samples = testing::samplePanels();
    const testing::SamplePanel& sample = samples.front();
    const std::string name = "<h1>show&amp;<br>.KVR";  // markup in a name stays text
    ASSERT_TRUE(testing::writeFile(local(name), sample.bytes));
    PanelFileDescriber panelFiles;
    actions.contentDescriber = &panelFiles;

    const ItemProperties item = describeItem(local(name), drive(), desktop, &panelFiles);
    EXPECT_EQ(item.name.toStdString(), name);
    std::map<std::string, std::string> rows;
    for (const PropertyRow& row : item.rows) rows[row.label.toStdString()] = row.value.toStdString();
    EXPECT_TRUE(rows["Type"].ends_with("(application/octet-stream)")) << rows["Type"];
    EXPECT_EQ(rows["Location"], drive());
    EXPECT_EQ(rows["Size"], QLocale().toString(static_cast<qlonglong>(sample.bytes.size())).toStdString() + " bytes");
    EXPECT_EQ(rows["Attributes"], "A");
    EXPECT_EQ(rows["Title"], "Club Stage");
    EXPECT_EQ(rows["Panel variant"], "KVL0 (32-channel tables)");
    EXPECT_EQ(rows["Pictures"], std::to_string(sample.pictures.size()));
    const PictureSize first{sample.pictures.front().width, sample.pictures.front().height};
    EXPECT_TRUE(rows["Picture sizes"].starts_with(std::to_string(first.width) + " x " + std::to_string(first.height)))
        << rows["Picture sizes"];
    EXPECT_FALSE(rows.contains("Load problem"));

    desktop.fileManagerAnswers = false;
    QString shownTitle;
    bool everyLabelPlain = true;
    QString pathShown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shownTitle = dialog->windowTitle();
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->text().contains("<h1>")) pathShown = label->text();
            everyLabelPlain = everyLabelPlain && (label->textFormat() == Qt::PlainText || !label->text().contains('<'));
        }
        dialog->reject();
    });
    EXPECT_TRUE(actions.PerformVerb("properties", drive(name), nullptr));
    EXPECT_EQ(shownTitle.toStdString(), name + " Properties");
    EXPECT_EQ(pathShown.toStdString(), local(name));
    EXPECT_TRUE(everyLabelPlain);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ItempropTest, AHostileNameActsOnExactlyThatFileOrOnNothing)
{
    for (const char* name : {"-x 'quoted' \"name\".txt", "line\nbreak.txt"}) {
        desktop.calls.clear();
        EXPECT_TRUE(actions.PerformDefaultAction(drive(name), nullptr)) << name;
        EXPECT_EQ(desktop.calls, std::vector<std::string>{call("launch editor.desktop", {name})}) << name;
    }
    const std::string notUtf8 = "caf\xE9.txt";
    std::ofstream(root / notUtf8) << "text";
    desktop.calls.clear();
    EXPECT_TRUE(actions.PerformDefaultAction(local(notUtf8), nullptr));
    EXPECT_EQ(desktop.calls, std::vector<std::string>{call("launch editor.desktop", {notUtf8})});

    desktop.calls.clear();
    EXPECT_FALSE(actions.PerformDefaultAction(local("a.txt") + std::string(1, '\0') + "x", nullptr));
    for (const char* name : {"..", "../a.txt", "Sub/../a.txt", "Sub\\..\\a.txt", ""})
        EXPECT_FALSE(actions.PerformDefaultAction(drive("Sub"), {name}, nullptr)) << name;
    EXPECT_FALSE(actions.PerformDefaultAction(drive("missing"), {"a.txt"}, nullptr));
    EXPECT_TRUE(desktop.calls.empty());
}

TEST_F(ItempropTest, ANameThatLooksLikeAPatternButExistsMeansThatEntryAlone)
{
    for (const char* name : {"*.txt", "?.txt"}) {
        std::ofstream(root / name) << "text";
        desktop.calls.clear();
        EXPECT_TRUE(actions.PerformVerb("delete", drive(name), nullptr)) << name;
        EXPECT_EQ(desktop.calls, std::vector<std::string>{call("trash", {name})}) << name;
    }
    // A pattern that names no entry still stands for its matches.
    desktop.calls.clear();
    EXPECT_TRUE(actions.PerformVerb("open", drive("?.png"), nullptr));
    EXPECT_EQ(desktop.calls, std::vector<std::string>{call("launch imagetool.desktop", {"c.png"})});

    // A step to the folder above names nothing to act on, in either kind of path.
    desktop.calls.clear();
    EXPECT_FALSE(actions.PerformVerb("delete", drive("Sub") + "\\..", nullptr));
    EXPECT_FALSE(actions.PerformVerb("delete", local("Sub") + "/..", nullptr));
    EXPECT_FALSE(actions.PerformVerb("delete", local("Sub") + "/.", nullptr));
    EXPECT_TRUE(desktop.calls.empty());
}

class PlainShell : public ShellInfo {
public:
    ShellFileInfo fileInfo(const std::string& path) override { return {-1, path, "File"}; }
};

TEST_F(ItempropTest, TheFileListsSwitchesReachTheActions)
{
    PlainShell shell;
    TMFileExplorer list{fileSystem, shell, isoDateTimeText(), ','};
    list.SetFileType(1u << ftReadOnly | 1u << ftArchive | 1u << ftNormal);
    list.SetViewStyle(TViewStyle::vsReport);
    FileListView view{list, [](int) { return QIcon(); }};
    view.setItemActions(&actions);
    view.resize(400, 300);
    list.SetDirectory(drive());
    const auto rowOf = [&](const std::string& caption) {
        for (std::size_t row = 0; row < list.items().size(); ++row)
            if (list.items()[row].caption == caption) return static_cast<int>(row);
        return -1;
    };
    QTreeView* report = view.reportView();
    const QPoint fileRow = report->visualRect(report->model()->index(rowOf("a.txt"), 0)).center();

    choice = "Open";
    QTest::mouseClick(report->viewport(), Qt::RightButton, {}, fileRow);
    EXPECT_EQ(menusShown, 0);  // off by default
    list.SetContextMenu(true);
    QTest::mouseClick(report->viewport(), Qt::RightButton, {}, fileRow);
    EXPECT_EQ(menusShown, 1);
    EXPECT_EQ(desktop.calls, std::vector<std::string>{call("launch editor.desktop", {"a.txt"})});

    desktop.calls.clear();
    list.setSelected(rowOf("a.txt"), true);
    list.DblClick();
    EXPECT_TRUE(desktop.calls.empty());  // off by default
    list.SetContextAction(true);
    list.Keydown(VK_RETURN, 0);
    EXPECT_EQ(desktop.calls, std::vector<std::string>{call("launch editor.desktop", {"a.txt"})});
    list.clearSelection();
    list.setSelected(rowOf("Sub"), true);
    list.DblClick();  // a folder still opens in the list
    EXPECT_EQ(list.Directory(), drive("Sub"));
    EXPECT_EQ(desktop.calls.size(), 1u);
}

}  // namespace
}  // namespace trovelin
