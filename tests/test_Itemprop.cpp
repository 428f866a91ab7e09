// The shell item actions against a stand-in desktop on real files: the three forms of each
// operation, wildcards, drive roots, the context menu with its hint, the verbs and their
// fallbacks, the properties dialog, hostile names, and the file list's two switches.

#include "browse/Itemprop.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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
#include <QUrl>

#include "app/PanelProperties.h"
#include "browse/FileListView.h"
#include "browse/ItemPropertiesDialog.h"
#include "browse/Mfileexplorer.h"
#include "browse/SystemDesktop.h"
#include "panelfile/PanelSummary.h"
#include "platform/PosixFileSystem.h"
#include "support/FileWriter.h"
#include "support/GuiApplication.h"
#include "support/OrdinaryUser.h"
#include "support/RunCommand.h"
#include "support/SamplePanels.h"
#include "support/TempTrash.h"

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

// The desktop's own trash, through GIO, in a home folder of the test's.
class RealTrashTest : public ItempropTest {
protected:
    RealTrashTest()
    {
        trashActions.onStatus = [this](const QString& text) { statuses << text; };
        trashActions.onItemsChanged = [this] { ++changes; };
    }

    bool trashItem(const std::string& name) { return trashActions.PerformVerb("delete", drive(), {name}, nullptr); }
    // "Cannot move NAME to the trash: ..." or the like, and the file still where it was.
    void expectRefusedAndKept(const std::string& name, const std::string& bytes)
    {
        EXPECT_FALSE(trashItem(name)) << name.size();
        EXPECT_EQ(testing::fileBytes(root / name), bytes) << name.size();
        EXPECT_TRUE(statuses.back().startsWith("Cannot move ")) << statuses.back().toStdString();
    }

    testing::TempTrash trash{root / "home"};
    SystemDesktop system;
    ShellItemActions trashActions{fileSystem, system};
    QStringList statuses;
    int changes = 0;
};

TEST_F(RealTrashTest, EachNameGoesToTheTrashAloneAndComesBackUnderItsName)
{
    const std::vector<std::string> names = {"*.kvr", "?.kvr", "a;b.kvr", "%41.kvr", "-n.kvr", "new\nline.kvr",
                                            "caf\xE9.kvr"};
    for (const std::string& name : names) std::ofstream(root / name) << "bytes of " << name;
    std::ofstream(root / "A.kvr") << "bystander";
    const auto before = testing::folderSnapshot(root);

    for (const std::string& name : names) {
        EXPECT_TRUE(trashItem(name)) << name;
        auto expected = before;
        expected.erase(name);
        EXPECT_EQ(testing::folderSnapshot(root), expected) << name;
        EXPECT_TRUE(trashActions.UndoTrash()) << name;
        EXPECT_EQ(testing::folderSnapshot(root), before) << name;
    }
    EXPECT_EQ(changes, 2 * static_cast<int>(names.size()));
    EXPECT_EQ(statuses.at(0), "Moved *.kvr to the trash (Ctrl+Z undoes)");
    EXPECT_EQ(statuses.at(1), "Put *.kvr back from the trash");
    EXPECT_EQ(statuses.at(10), "Moved new\uFFFDline.kvr to the trash (Ctrl+Z undoes)");
    // The trash keeps no record of what came back.
    EXPECT_TRUE(fs::is_empty(trash.info()));
    EXPECT_TRUE(fs::is_empty(trash.files()));
    EXPECT_FALSE(trashActions.canUndoTrash());
}

// Other trash tools read the records: the path is percent-encoded, so "%41" stays "%41" and a
// line break cannot cut the record.
TEST_F(RealTrashTest, TheTrashRecordsPathsThatOtherToolsReadBack)
{
    const std::string encodedRoot = QUrl::toPercentEncoding(QString::fromStdString(root.string()), "/").toStdString();
    for (const std::string name : {"%41.kvr", "new\nline.kvr"}) {
        std::ofstream(root / name) << name;
        ASSERT_TRUE(trashItem(name));
    }
    EXPECT_NE(testing::fileBytes(trash.info() / "%41.kvr.trashinfo").find("\nPath=" + encodedRoot + "/%2541.kvr\n"),
              std::string::npos);
    EXPECT_NE(testing::fileBytes(trash.info() / "new\nline.kvr.trashinfo").find("\nPath=" + encodedRoot + "/new%0Aline.kvr\n"),
              std::string::npos);
    // GIO's own trash (through the desktop's virtual file system on a bus of the test's own).
    const testing::CommandOutcome listed = testing::runCommand("dbus-run-session -- gio trash --list");
    EXPECT_NE(listed.out.find("trash:///%2541.kvr\t" + local("%41.kvr") + "\n"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("\t" + local("new\\x0aline.kvr") + "\n"), std::string::npos) << listed.out;
    const testing::CommandOutcome restored =
        testing::runCommand("dbus-run-session -- gio trash --restore 'trash:///%2541.kvr'");
    EXPECT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(testing::fileBytes(root / "%41.kvr"), "%41.kvr");
    EXPECT_FALSE(fs::exists(root / "A.kvr"));
}

// Each of these once held the window for ever; now each works or is refused with a message, at
// once, and a refused item stays where it was.
TEST_F(RealTrashTest, EveryMoveAnswersAtOnce)
{
    const testing::Deadline deadline(60);
    // A record is written as NAME.trashinfo.XXXXXX, so a name of more than 238 bytes has none,
    // whether or not its twin is in the trash already (put there by another program).
    for (const std::size_t length : {241u, 245u, 246u, 250u, 255u}) {
        const std::string name = std::string(length - 4, 'x') + ".kvr";
        if (length <= 245u) {
            std::ofstream(root / name) << "twin";
            ASSERT_EQ(testing::runCommand("gio trash '" + local(name) + "'").status, 0);
        }
        std::ofstream(root / name) << "long";
        expectRefusedAndKept(name, "long");
        EXPECT_EQ(statuses.back().toStdString(),
                  "Cannot move " + name + " to the trash: its name is too long for the trash to record");
    }
    // The second of two names is NAME.2.kvr in the trash.
    const std::string stem(232, 'y');
    for (const char* bytes : {"first", "twin"}) {
        std::ofstream(root / (stem + ".kvr")) << bytes;
        EXPECT_TRUE(trashItem(stem + ".kvr")) << statuses.back().toStdString();
    }
    EXPECT_EQ(testing::fileBytes(trash.files() / (stem + ".2.kvr")), "twin");
    // A dangling link goes itself, and comes back as it was.
    fs::create_symlink("nowhere", root / "dangling.kvr");
    EXPECT_TRUE(trashItem("dangling.kvr")) << statuses.back().toStdString();
    EXPECT_FALSE(fs::is_symlink(root / "dangling.kvr"));
    EXPECT_EQ(fs::read_symlink(trash.files() / "dangling.kvr"), "nowhere");
    EXPECT_TRUE(trashActions.UndoTrash());
    EXPECT_EQ(fs::read_symlink(root / "dangling.kvr"), "nowhere");
}

TEST_F(RealTrashTest, AFreshAccountGetsItsTrashMade)
{
    fs::remove_all(trash.home() / ".local");
    std::ofstream(root / "p.kvr") << "p";
    EXPECT_TRUE(trashItem("p.kvr")) << statuses.back().toStdString();
    EXPECT_EQ(testing::fileBytes(trash.files() / "p.kvr"), "p");
    EXPECT_TRUE(trashActions.UndoTrash());
    EXPECT_EQ(testing::fileBytes(root / "p.kvr"), "p");
}

TEST_F(RealTrashTest, WithoutATrashTheItemStaysAndNothingIsMadeInTheListedFolder)
{
    const testing::Deadline deadline(60);
    // A file where the trash's folders would be made, and one named like a trash's own folder in
    // the folder listed (which is the current folder).
    fs::remove_all(trash.home() / ".local");
    std::ofstream(trash.home() / ".local") << "in the way";
    std::ofstream(root / "info") << "mine";
    std::ofstream(root / "x.kvr") << "x";
    fileSystem.setCurrentDirectory(drive());
    expectRefusedAndKept("x.kvr", "x");
    EXPECT_EQ(testing::fileBytes(root / "info"), "mine");
    EXPECT_FALSE(fs::exists(root / "files"));
    EXPECT_FALSE(trashActions.canUndoTrash());
}

// Undo puts back only the very item it trashed: not one that another program trashed under the
// same name after the trash was emptied, and not one the trash no longer holds.
TEST_F(RealTrashTest, UndoRefusesAnItemItDidNotTrash)
{
    std::ofstream(root / "a.kvr") << "ours";
    ASSERT_TRUE(trashItem("a.kvr"));
    for (const fs::path& folder : {trash.files(), trash.info()})
        for (const auto& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
    fs::create_directories(root / "other");
    std::ofstream(root / "other" / "a.kvr") << "theirs";
    const testing::CommandOutcome gio = testing::runCommand("gio trash '" + (root / "other" / "a.kvr").string() + "'");
    ASSERT_EQ(gio.status, 0) << gio.err;
    ASSERT_EQ(testing::fileBytes(trash.files() / "a.kvr"), "theirs");

    EXPECT_FALSE(trashActions.UndoTrash());
    EXPECT_EQ(statuses.back(), "Cannot put a.kvr back: the trash holds another item in its place");
    EXPECT_FALSE(fs::exists(root / "a.kvr"));
    EXPECT_EQ(testing::fileBytes(trash.files() / "a.kvr"), "theirs");
    EXPECT_TRUE(fs::exists(trash.info() / "a.kvr.trashinfo"));
    EXPECT_FALSE(trashActions.canUndoTrash());  // dropped, not kept "still undoable"

    std::ofstream(root / "b.kvr") << "b";
    ASSERT_TRUE(trashItem("b.kvr"));
    fs::remove(trash.files() / "b.kvr");
    fs::remove(trash.info() / "b.kvr.trashinfo");
    EXPECT_FALSE(trashActions.UndoTrash());
    EXPECT_EQ(statuses.back(), "Cannot put b.kvr back: it is no longer in the trash");
    EXPECT_FALSE(trashActions.canUndoTrash());
}

TEST_F(RealTrashTest, AnItemWhoseNameIsTakenStaysInTheTrashUntilTheNameIsFree)
{
    std::ofstream(root / "x.kvr") << "first";
    ASSERT_TRUE(trashItem("x.kvr"));
    std::ofstream(root / "x.kvr") << "second";
    EXPECT_FALSE(trashActions.UndoTrash());
    EXPECT_EQ(statuses.back(), "Cannot put x.kvr back: an item of that name exists");
    EXPECT_EQ(testing::fileBytes(root / "x.kvr"), "second");
    EXPECT_TRUE(fs::exists(trash.info() / "x.kvr.trashinfo"));
    fs::remove(root / "x.kvr");
    EXPECT_TRUE(trashActions.UndoTrash());
    EXPECT_EQ(testing::fileBytes(root / "x.kvr"), "first");
    EXPECT_FALSE(fs::exists(trash.info() / "x.kvr.trashinfo"));
}

// The trash on a full volume: GIO moves the item even when its record could not be written; a
// move without a record is no move.
TEST_F(RealTrashTest, OnAFullVolumeTheItemStaysWhereItWas)
{
    // The whole home folder on a small volume of its own, so that the home trash is there too.
    if (::mount("tmpfs", trash.home().c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "mounting a small volume was refused: " << std::strerror(errno);
    struct Unmount {
        fs::path at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{trash.home()};
    const fs::path shows = trash.home() / "Shows";
    fs::create_directories(shows);
    std::ofstream(shows / "first.kvr") << "first";  // makes the trash's folders while there is room
    ASSERT_TRUE(system.moveToTrash((shows / "first.kvr").string()).trashed.has_value());
    std::ofstream(shows / "p.kvr") << "panel";
    {
        std::ofstream filler(shows / "filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
        }
    }
    const testing::Deadline deadline(60);
    const TrashOutcome outcome = system.moveToTrash((shows / "p.kvr").string());
    EXPECT_FALSE(outcome.trashed.has_value());
    EXPECT_EQ(outcome.error, "the trash could not keep a record of it: its volume is full");
    EXPECT_EQ(testing::fileBytes(shows / "p.kvr"), "panel");
    EXPECT_FALSE(fs::exists(trash.files() / "p.kvr"));
    EXPECT_FALSE(fs::exists(trash.info() / "p.kvr.trashinfo"));
}

// Root writes into read-only folders: the attempts run in a child process as an ordinary user.
TEST_F(RealTrashTest, WhatTheUserCannotWriteStaysWhereItIs)
{
    const fs::path locked = root / "locked";
    const fs::path open = root / "open";
    for (const fs::path& folder : {locked, open}) {
        fs::create_directories(folder);
        std::ofstream(folder / "show.kvr") << "kept";
        fs::permissions(folder, fs::perms::all);
    }
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::create_directories(trash.files());
    fs::create_directories(trash.info());
    for (const fs::path& folder : {root, trash.home(), trash.home() / ".local", trash.dataHome(),
                                   trash.dataHome() / "Trash", trash.files(), trash.info()})
        fs::permissions(folder, fs::perms::all);
    const auto refusedAsUser = [&](const fs::path& path) {
        return testing::runAsOrdinaryUser([&] {
            const testing::Deadline deadline(60);
            const TrashOutcome outcome = system.moveToTrash(path.string());
            return !outcome.trashed && outcome.error == "Permission denied" ? 0 : 1;
        });
    };
    // A folder the user may not change: no record of an item that never arrived is left.
    EXPECT_EQ(refusedAsUser(locked / "show.kvr"), 0);
    EXPECT_TRUE(fs::is_empty(trash.info()));
    // A trash whose records cannot be written takes nothing.
    fs::permissions(trash.info(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
    EXPECT_EQ(refusedAsUser(open / "show.kvr"), 0);
    for (const fs::path& folder : {locked, open}) EXPECT_EQ(testing::fileBytes(folder / "show.kvr"), "kept");
    EXPECT_TRUE(fs::is_empty(trash.files()));
    fs::permissions(locked, fs::perms::all);
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
