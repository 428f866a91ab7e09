// Applications from the desktop's registry, on a registry of the test's own: desktop entries
// whose command logs its arguments, indexed by update-desktop-database, and a mimeapps.list
// default. Open and Open With start the right application with exactly the right files.

#include "browse/GioApplications.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <QMenu>

#include "browse/Itemprop.h"
#include "browse/SystemDesktop.h"
#include "platform/PosixFileSystem.h"
#include "support/GuiApplication.h"

namespace trovelin {
namespace {

namespace fs = std::filesystem;

const fs::path root = fs::temp_directory_path() / ("trovelin-gio-" + std::to_string(::getpid()));
const std::string editorId = "trovelin-test-editor.desktop";
const std::string viewerId = "trovelin-test-viewer.desktop";

void writeText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

void writeDesktopEntry(const std::string& id, const std::string& name, const std::string& types)
{
    const fs::path log = root / (id + ".log");
    writeText(root / "data" / "applications" / id, "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" +
                                                       (root / "log-arguments").string() + " " + log.string() +
                                                       " %F\nMimeType=" + types + "\n");
}

// The files an application was started with, once it has written them.
std::vector<std::string> launchedWith(const std::string& id, std::size_t expected)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::vector<std::string> arguments;
    do {
        std::ifstream in(root / (id + ".log"), std::ios::binary);
        arguments.clear();
        for (std::string argument; std::getline(in, argument, '\0');) arguments.push_back(argument);
        if (arguments.size() >= expected) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return arguments;
}

class GioApplicationsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        fs::create_directories(root / "data" / "applications");
        fs::create_directories(root / "config");
        fs::create_directories(root / "home" / "data");
        fs::create_directories(root / "files");
        writeText(root / "log-arguments", "#!/bin/sh\nlog=\"$1\"\nshift\nprintf '%s\\0' \"$@\" >> \"$log\"\n");
        fs::permissions(root / "log-arguments", fs::perms::owner_all);
        writeDesktopEntry(editorId, "Test Editor", "text/plain;");
        writeDesktopEntry(viewerId, "Test Viewer", "text/plain;image/png;");
        const std::string index = "update-desktop-database " + (root / "data" / "applications").string();
        ASSERT_EQ(std::system(index.c_str()), 0);
        writeText(root / "config" / "mimeapps.list", "[Default Applications]\ntext/plain=" + viewerId + "\n");
        // GIO reads these once, on first use; /usr/share stays for the MIME database.
        ::setenv("XDG_DATA_DIRS", ((root / "data").string() + ":/usr/share").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (root / "home" / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (root / "config").c_str(), 1);
        ::setenv("HOME", (root / "home").c_str(), 1);
        testing::ensureWidgetApplication();
    }
    static void TearDownTestSuite() { fs::remove_all(root); }

    GioApplicationsTest()
    {
        for (const std::string& id : {editorId, viewerId}) fs::remove(root / (id + ".log"));
        for (const char* name : {"a.txt", "b c.txt", "-n\n'x\".txt"}) writeText(root / "files" / name, "text");
    }

    std::string file(const std::string& name) const { return (root / "files" / name).string(); }

    PosixFileSystem fileSystem;
    SystemDesktop desktop;
    ShellItemActions actions{fileSystem, desktop};
};

TEST_F(GioApplicationsTest, TheRegistryGivesTypesApplicationsAndTheDefault)
{
    EXPECT_EQ(gio::contentType(file("a.txt")), "text/plain");
    EXPECT_EQ(gio::contentType((root / "files").string()), folderContentType);
    ASSERT_TRUE(gio::defaultApplication("text/plain"));
    EXPECT_EQ(gio::defaultApplication("text/plain")->id, viewerId);
    EXPECT_EQ(gio::defaultApplication("text/plain")->name, "Test Viewer");
    std::vector<std::string> ids;
    for (const DesktopApplication& application : gio::applications("text/plain")) ids.push_back(application.id);
    EXPECT_NE(std::ranges::find(ids, editorId), ids.end());
    EXPECT_NE(std::ranges::find(ids, viewerId), ids.end());
    EXPECT_FALSE(gio::launch({"trovelin-test-missing.desktop", "Missing"}, {file("a.txt")}));
}

TEST_F(GioApplicationsTest, OpenStartsTheDefaultApplicationWithExactlyTheFiles)
{
    EXPECT_TRUE(actions.PerformDefaultAction(file("-n\n'x\".txt"), nullptr));
    EXPECT_EQ(launchedWith(viewerId, 1), std::vector<std::string>{file("-n\n'x\".txt")});

    fs::remove(root / (viewerId + ".log"));
    EXPECT_TRUE(actions.PerformVerb("open", (root / "files").string(), {"a.txt", "b c.txt"}, nullptr));
    EXPECT_EQ(launchedWith(viewerId, 2), (std::vector<std::string>{file("a.txt"), file("b c.txt")}));
}

TEST_F(GioApplicationsTest, OpenWithStartsTheChosenApplication)
{
    QStringList offered;
    actions.popupMenu = [&](QMenu& menu, QPoint) -> QAction* {
        for (QAction* action : menu.actions())
            if (action->text() == "Open With")
                for (QAction* application : action->menu()->actions()) {
                    offered << application->text();
                    if (application->text() == "Test Editor") return application;
                }
        return nullptr;
    };
    bool renameChosen = false;
    EXPECT_TRUE(actions.DisplayContextMenu((root / "files").string(), {"a.txt", "b c.txt"}, nullptr, {}, renameChosen));
    ASSERT_GE(offered.size(), 2);
    EXPECT_EQ(offered.front(), "Test Viewer");  // the default first
    EXPECT_EQ(launchedWith(editorId, 2), (std::vector<std::string>{file("a.txt"), file("b c.txt")}));
}

// GIO records a name's bytes, percent-encoded, whether or not they are UTF-8.
TEST_F(GioApplicationsTest, DeleteMovesToTheTrashEvenANameThatIsNoUtf8)
{
    EXPECT_TRUE(actions.PerformVerb("delete", file("a.txt"), nullptr));
    EXPECT_FALSE(fs::exists(file("a.txt")));
    EXPECT_TRUE(fs::exists(root / "home" / "data" / "Trash" / "files" / "a.txt"));

    const std::string notUtf8 = file("caf\xE9.txt");
    writeText(notUtf8, "text");
    EXPECT_TRUE(actions.PerformVerb("delete", notUtf8, nullptr));
    EXPECT_FALSE(fs::exists(notUtf8));
    EXPECT_TRUE(actions.UndoTrash());
    EXPECT_TRUE(fs::exists(notUtf8));
}

}  // namespace
}  // namespace trovelin
