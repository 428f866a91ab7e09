// The desktop's trash through GIO, on real files in a home folder of the test's own: names that
// other tools must read back, every refusal at once, fresh accounts, full volumes, permissions,
// and an undo that puts back only the very item it trashed.

#include "browse/GioTrash.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <QStringList>
#include <QUrl>

#include "browse/Itemprop.h"
#include "browse/SystemDesktop.h"
#include "platform/PosixFileSystem.h"
#include "support/GuiApplication.h"
#include "support/OrdinaryUser.h"
#include "support/RunCommand.h"
#include "support/TempTrash.h"

namespace trovelin {
namespace {

namespace fs = std::filesystem;

class GioTrashTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureWidgetApplication(); }

    GioTrashTest()
    {
        actions.onStatus = [this](const QString& text) { statuses << text; };
        actions.onItemsChanged = [this] { ++changes; };
    }
    ~GioTrashTest() override
    {
        fileSystem.setCurrentDirectory(fileSystem.drivePath(fs::temp_directory_path().string()).value());
        fs::remove_all(root);
    }

    std::string local(const std::string& name) const { return (root / name).string(); }
    std::string drive() const { return fileSystem.drivePath(root.string()).value(); }
    bool trashItem(const std::string& name) { return actions.PerformVerb("delete", drive(), {name}, nullptr); }
    // "Cannot move NAME to the trash: ..." or the like, and the file still where it was.
    void expectRefusedAndKept(const std::string& name, const std::string& bytes)
    {
        EXPECT_FALSE(trashItem(name)) << name.size();
        EXPECT_EQ(testing::fileBytes(root / name), bytes) << name.size();
        EXPECT_TRUE(statuses.back().startsWith("Cannot move ")) << statuses.back().toStdString();
    }

    fs::path root = fs::temp_directory_path() / ("trovelin-trash-" + std::to_string(::getpid()));
    testing::TempTrash trash{root / "home"};
    PosixFileSystem fileSystem;
    SystemDesktop system;
    ShellItemActions actions{fileSystem, system};
    QStringList statuses;
    int changes = 0;
};

TEST_F(GioTrashTest, EachNameGoesToTheTrashAloneAndComesBackUnderItsName)
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
        EXPECT_TRUE(actions.UndoTrash()) << name;
        EXPECT_EQ(testing::folderSnapshot(root), before) << name;
    }
    EXPECT_EQ(changes, 2 * static_cast<int>(names.size()));
    EXPECT_EQ(statuses.at(0), "Moved *.kvr to the trash (Ctrl+Z undoes)");
    EXPECT_EQ(statuses.at(1), "Put *.kvr back from the trash");
    EXPECT_EQ(statuses.at(10), "Moved new\uFFFDline.kvr to the trash (Ctrl+Z undoes)");
    // The trash keeps no record of what came back.
    EXPECT_TRUE(fs::is_empty(trash.info()));
    EXPECT_TRUE(fs::is_empty(trash.files()));
    EXPECT_FALSE(actions.canUndoTrash());
}

// Other trash tools read the records: the path is percent-encoded, so "%41" stays "%41" and a
// line break cannot cut the record.
TEST_F(GioTrashTest, TheTrashRecordsPathsThatOtherToolsReadBack)
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
TEST_F(GioTrashTest, EveryMoveAnswersAtOnce)
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
    EXPECT_TRUE(actions.UndoTrash());
    EXPECT_EQ(fs::read_symlink(root / "dangling.kvr"), "nowhere");
}

TEST_F(GioTrashTest, AFreshAccountGetsItsTrashMade)
{
    fs::remove_all(trash.home() / ".local");
    std::ofstream(root / "p.kvr") << "p";
    EXPECT_TRUE(trashItem("p.kvr")) << statuses.back().toStdString();
    EXPECT_EQ(testing::fileBytes(trash.files() / "p.kvr"), "p");
    EXPECT_TRUE(actions.UndoTrash());
    EXPECT_EQ(testing::fileBytes(root / "p.kvr"), "p");
}

TEST_F(GioTrashTest, WithoutATrashTheItemStaysAndNothingIsMadeInTheListedFolder)
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
    EXPECT_FALSE(actions.canUndoTrash());
}

// GLib would take the home trash from the current folder, which is the folder listed.
TEST_F(GioTrashTest, ARelativeDataFolderMakesNoTrashInTheListedFolder)
{
    ::setenv("XDG_DATA_HOME", "share", 1);
    std::ofstream(root / "x.kvr") << "x";
    fileSystem.setCurrentDirectory(drive());
    expectRefusedAndKept("x.kvr", "x");
    EXPECT_EQ(statuses.back(), "Cannot move x.kvr to the trash: the home trash is unknown: XDG_DATA_HOME or HOME is "
                               "not an absolute path");
    EXPECT_FALSE(fs::exists(root / "share"));
}

// GIO takes a ".." step by name, the system after following the link before it.
TEST_F(GioTrashTest, APathWhoseDotDotFollowsALinkMovesNoOtherItem)
{
    fs::create_directories(root / "elsewhere" / "sub");
    fs::create_directories(root / "shows");
    std::ofstream(root / "elsewhere" / "x.kvr") << "meant";
    std::ofstream(root / "shows" / "x.kvr") << "bystander";
    fs::create_directory_symlink(root / "elsewhere" / "sub", root / "shows" / "link");
    const TrashOutcome outcome = system.moveToTrash(local("shows/link/../x.kvr"));
    EXPECT_FALSE(outcome.trashed.has_value());
    EXPECT_EQ(outcome.error, "its path holds \"..\" after a symbolic link, which the trash reads as another item");
    EXPECT_EQ(testing::fileBytes(root / "shows" / "x.kvr"), "bystander");
    EXPECT_EQ(testing::fileBytes(root / "elsewhere" / "x.kvr"), "meant");
}

// Undo puts back only the very item it trashed: not one that another program trashed under the
// same name after the trash was emptied, and not one the trash no longer holds.
TEST_F(GioTrashTest, UndoRefusesAnItemItDidNotTrash)
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

    EXPECT_FALSE(actions.UndoTrash());
    EXPECT_EQ(statuses.back(), "Cannot put a.kvr back: the trash holds another item in its place");
    EXPECT_FALSE(fs::exists(root / "a.kvr"));
    EXPECT_EQ(testing::fileBytes(trash.files() / "a.kvr"), "theirs");
    EXPECT_TRUE(fs::exists(trash.info() / "a.kvr.trashinfo"));
    EXPECT_FALSE(actions.canUndoTrash());  // dropped, not kept "still undoable"

    std::ofstream(root / "b.kvr") << "b";
    ASSERT_TRUE(trashItem("b.kvr"));
    fs::remove(trash.files() / "b.kvr");
    fs::remove(trash.info() / "b.kvr.trashinfo");
    EXPECT_FALSE(actions.UndoTrash());
    EXPECT_EQ(statuses.back(), "Cannot put b.kvr back: it is no longer in the trash");
    EXPECT_FALSE(actions.canUndoTrash());
}

// A record that cannot be read for a while (here: no descriptor is free) keeps the undo for a
// later try; only an item gone or changed ends it.
TEST_F(GioTrashTest, AnUndoThatCannotReadTheRecordForAWhileCanTryAgain)
{
    std::ofstream(root / "x.kvr") << "x";
    ASSERT_TRUE(trashItem("x.kvr"));
    {
        struct DescriptorsUsedUp {
            rlimit before{};
            std::vector<int> held;
            DescriptorsUsedUp()
            {
                ::getrlimit(RLIMIT_NOFILE, &before);
                rlimit few = before;
                few.rlim_cur = 64;
                ::setrlimit(RLIMIT_NOFILE, &few);
                for (int descriptor; (descriptor = ::open("/dev/null", O_RDONLY)) >= 0;) held.push_back(descriptor);
            }
            ~DescriptorsUsedUp()
            {
                for (const int descriptor : held) ::close(descriptor);
                ::setrlimit(RLIMIT_NOFILE, &before);
            }
        } usedUp;
        EXPECT_FALSE(actions.UndoTrash());
    }
    EXPECT_EQ(statuses.back(), "Cannot put x.kvr back: its record in the trash cannot be read: Too many open files");
    EXPECT_TRUE(actions.canUndoTrash());
    EXPECT_TRUE(actions.UndoTrash());
    EXPECT_EQ(testing::fileBytes(root / "x.kvr"), "x");
    EXPECT_TRUE(fs::is_empty(trash.info()));
}

TEST_F(GioTrashTest, AnItemWhoseNameIsTakenStaysInTheTrashUntilTheNameIsFree)
{
    std::ofstream(root / "x.kvr") << "first";
    ASSERT_TRUE(trashItem("x.kvr"));
    std::ofstream(root / "x.kvr") << "second";
    EXPECT_FALSE(actions.UndoTrash());
    EXPECT_EQ(statuses.back(), "Cannot put x.kvr back: an item of that name exists");
    EXPECT_EQ(testing::fileBytes(root / "x.kvr"), "second");
    EXPECT_TRUE(fs::exists(trash.info() / "x.kvr.trashinfo"));
    fs::remove(root / "x.kvr");
    EXPECT_TRUE(actions.UndoTrash());
    EXPECT_EQ(testing::fileBytes(root / "x.kvr"), "first");
    EXPECT_FALSE(fs::exists(trash.info() / "x.kvr.trashinfo"));
}

// The trash on a full volume: GIO moves the item even when its record could not be written; a
// move without a record is no move.
TEST_F(GioTrashTest, OnAFullVolumeTheItemStaysWhereItWas)
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

// GIO does not say where an item went: it is found by its inode, which hard links share. A link
// trashed before, with a record of its own path, is not the item of a move whose record failed.
TEST_F(GioTrashTest, AMoveWithoutARecordLeavesTheTrashedHardLinksOfItsItemAlone)
{
    // A name too long for a record, and enough links that its own entry is rarely listed first.
    const std::string name = std::string(236, 'l') + ".kvr";
    std::ofstream(root / name) << "linked";
    std::vector<std::string> links;
    for (int i = 0; i < 20; ++i) {
        links.push_back("link" + std::to_string(i) + ".kvr");
        fs::create_hard_link(root / name, root / links.back());
        ASSERT_TRUE(trashItem(links.back()));
    }
    expectRefusedAndKept(name, "linked");
    EXPECT_EQ(statuses.back().toStdString(),
              "Cannot move " + name + " to the trash: its name is too long for the trash to record");
    for (const std::string& link : links) {
        EXPECT_TRUE(fs::exists(trash.files() / link)) << link;
        EXPECT_NE(testing::fileBytes(trash.info() / (link + ".trashinfo")).find("/" + link + "\n"), std::string::npos)
            << link;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(trash.files()), fs::directory_iterator()), 20);
    EXPECT_EQ(std::distance(fs::directory_iterator(trash.info()), fs::directory_iterator()), 20);
}

// A volume's trash records a path from the volume's top folder, the links on the way resolved: an
// item listed through a linked folder is found by that path too.
TEST_F(GioTrashTest, AnItemOfAnotherVolumeListedThroughALinkGoesAndComesBack)
{
    // GIO uses no trash on tmpfs, so the volume is a small ext4 image of the test's own.
    const fs::path volume = root / "volume";
    fs::create_directories(volume);
    const std::string image = (root / "volume.img").string();
    const testing::CommandOutcome mounted =
        testing::runCommand("truncate -s 8M '" + image + "' && mkfs.ext4 -q '" + image + "' && mount -o loop '" +
                            image + "' '" + volume.string() + "'");
    if (mounted.status != 0) GTEST_SKIP() << "mounting a volume of an image was refused: " << mounted.err;
    struct Unmount {
        fs::path at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{volume};
    fs::create_directories(volume / "Shows");
    std::ofstream(volume / "Shows" / "x.kvr") << "x";
    fs::create_directory_symlink(volume / "Shows", root / "linked");
    const std::string path = local("linked/x.kvr");

    const TrashOutcome outcome = system.moveToTrash(path);
    ASSERT_TRUE(outcome.trashed.has_value()) << outcome.error;
    EXPECT_EQ(outcome.error, "");
    const fs::path volumeTrash = volume / (".Trash-" + std::to_string(::geteuid()));
    EXPECT_EQ(outcome.trashed->pathInTrash, (volumeTrash / "files" / "x.kvr").string());
    EXPECT_FALSE(fs::exists(volume / "Shows" / "x.kvr"));
    EXPECT_EQ(system.restoreFromTrash(*outcome.trashed).result, RestoreOutcome::Restored);
    EXPECT_EQ(testing::fileBytes(volume / "Shows" / "x.kvr"), "x");
}

// Root writes into read-only folders: the attempts run in a child process as an ordinary user.
TEST_F(GioTrashTest, WhatTheUserCannotWriteStaysWhereItIs)
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

}  // namespace
}  // namespace trovelin
