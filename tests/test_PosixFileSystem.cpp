// The file system services on real folders: attribute bits, folder searches with "." and "..",
// the current directory, and space and volume data of a drive.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "platform/FileAttributes.h"
#include "platform/FindFiles.h"
#include "platform/PosixFileSystem.h"
#include "support/OrdinaryUser.h"

namespace trovelin {
namespace {

std::string physical(const std::string& path)
{
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) != nullptr ? std::string(buffer) : path;
}

void writeFile(const std::string& path, std::size_t size)
{
    std::ofstream(path, std::ios::binary) << std::string(size, 'x');
}

// A fresh folder (by its physical path, so that it reads back as it was set), and the working
// directory put back afterwards.
class PosixFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/trovelin-platform-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = physical(pattern);
        char* working = ::getcwd(nullptr, 0);
        working_ = working;
        std::free(working);
    }

    void TearDown() override
    {
        EXPECT_EQ(::chdir(working_.c_str()), 0);
        ASSERT_EQ(std::system(("rm -rf '" + folder_ + "'").c_str()), 0);
    }

    // The drive path of a file in the folder.
    std::string drivePath(const std::string& name = "") const
    {
        const std::string path = name.empty() ? folder_ : folder_ + "/" + name;
        return fileSystem_.drives().toWindowsPath(path).value_or("<none>");
    }

    // What a search finds, by name.
    std::map<std::string, FindData> search(const std::string& pattern)
    {
        std::map<std::string, FindData> found;
        std::uint32_t error = 0;
        const auto search = fileSystem_.findFirstFile(pattern, error);
        if (!search) return found;
        FindData entry;
        while (search->next(entry)) EXPECT_TRUE(found.emplace(entry.fileName, entry).second) << entry.fileName;
        return found;
    }

    std::string folder_;
    std::string working_;
    PosixFileSystem fileSystem_;
};

TEST_F(PosixFileSystemTest, AttributeBitsOfFilesFoldersLinksAndFifos)
{
    writeFile(folder_ + "/plain.kvr", 1234);
    writeFile(folder_ + "/.hidden", 3);
    ASSERT_EQ(::mkdir((folder_ + "/sub").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((folder_ + "/.config").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("plain.kvr", (folder_ + "/to-file").c_str()), 0);
    ASSERT_EQ(::symlink("sub", (folder_ + "/to-folder").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", (folder_ + "/broken").c_str()), 0);
    ASSERT_EQ(::symlink("loop", (folder_ + "/loop").c_str()), 0);
    ASSERT_EQ(::mkfifo((folder_ + "/fifo").c_str(), 0644), 0);

    const auto found = search(drivePath() + "\\*");
    const std::map<std::string, std::pair<std::uint32_t, std::uint64_t>> expected = {
        {".", {faDirectory, 0}},
        {"..", {faDirectory, 0}},
        {"plain.kvr", {faArchive, 1234}},
        {".hidden", {faArchive | faHidden, 3}},
        {"sub", {faDirectory, 0}},
        {".config", {faDirectory | faHidden, 0}},
        {"to-file", {faArchive, 1234}},
        {"to-folder", {faDirectory, 0}},
        {"broken", {faSysFile | faReadOnly, 0}},  // nothing there to write to
        {"loop", {faSysFile | faReadOnly, 0}},
        {"fifo", {faSysFile, 0}},
    };
    ASSERT_EQ(found.size(), expected.size());
    for (const auto& [name, bitsAndSize] : expected) {
        ASSERT_TRUE(found.count(name)) << name;
        EXPECT_EQ(found.at(name).attributes, bitsAndSize.first) << name;
        EXPECT_EQ(found.at(name).size, bitsAndSize.second) << name;
    }
}

// The file list looks every entry up again by its name: that must find the entry itself, not a
// neighbour differing in letter case, and the hidden bit must still come from the bare name.
TEST_F(PosixFileSystemTest, ANameWithoutWildcardsFindsExactlyThatEntryWhereItExists)
{
    writeFile(folder_ + "/a.kvr", 10);
    writeFile(folder_ + "/A.KVR", 20);
    writeFile(folder_ + "/.Hidden.kvr", 30);

    const auto exact = search(drivePath() + "\\a.kvr");
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_EQ(exact.at("a.kvr").size, 10u);
    EXPECT_EQ(search(drivePath() + "\\.Hidden.kvr").at(".Hidden.kvr").attributes, faArchive | faHidden);

    const auto caseless = search(drivePath() + "\\a.Kvr");  // no entry of exactly this name
    ASSERT_EQ(caseless.size(), 2u);
    EXPECT_EQ(caseless.at("A.KVR").size, 20u);
    EXPECT_TRUE(search(drivePath() + "\\b.kvr").empty());
}

TEST(FileAttributes, ReadOnlyWhenNotWritableAndHiddenNeverForDotEntries)
{
    EXPECT_EQ(fileAttributes("a.kvr", S_IFREG | 0444, false), faArchive | faReadOnly);
    EXPECT_EQ(fileAttributes(".a", S_IFDIR | 0555, false), faDirectory | faReadOnly | faHidden);
    EXPECT_EQ(fileAttributes("..", S_IFDIR | 0755, true), faDirectory);
    EXPECT_EQ(fileAttributes(".", S_IFDIR | 0755, true), faDirectory);
    EXPECT_EQ(fileAttributes("tty", S_IFCHR | 0666, true), faSysFile);
    EXPECT_EQ(fileAttributes("sock", S_IFSOCK | 0666, true), faSysFile);
}

TEST_F(PosixFileSystemTest, AFileTheUserMayNotWriteIsReadOnly)
{
    writeFile(folder_ + "/locked.kvr", 1);
    ASSERT_EQ(::chmod((folder_ + "/locked.kvr").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(folder_.c_str(), 0755), 0);
    EXPECT_EQ(testing::runAsOrdinaryUser([this] {
                  return search(drivePath() + "\\*.kvr").at("locked.kvr").attributes == (faArchive | faReadOnly) ? 0 : 1;
              }),
              0);
}

TEST_F(PosixFileSystemTest, EntriesOfAFolderThatMayBeReadButNotEnteredAreListedByTheirType)
{
    ASSERT_EQ(::mkdir((folder_ + "/closed").c_str(), 0755), 0);
    writeFile(folder_ + "/closed/a.kvr", 5);
    ASSERT_EQ(::mkdir((folder_ + "/closed/sub").c_str(), 0755), 0);
    ASSERT_EQ(::chmod((folder_ + "/closed").c_str(), 0644), 0);
    ASSERT_EQ(::chmod(folder_.c_str(), 0755), 0);
    const int outcome = testing::runAsOrdinaryUser([this] {
        const auto found = search(drivePath("closed") + "\\*");
        if (!found.count("a.kvr") || !found.count("sub")) return 1;
        if ((found.at("a.kvr").attributes & (faArchive | faDirectory)) != faArchive) return 2;
        if (found.at("a.kvr").size != 0u) return 3;
        return (found.at("sub").attributes & (faArchive | faDirectory)) == faDirectory ? 0 : 4;
    });
    ASSERT_EQ(::chmod((folder_ + "/closed").c_str(), 0755), 0);
    EXPECT_EQ(outcome, 0) << "1: an entry missing, 2: the file's kind, 3: its size, 4: the folder's kind";
}

TEST_F(PosixFileSystemTest, SearchesTakeMasksWithoutLetterCaseAndReportDotEntriesLikeAnyName)
{
    writeFile(folder_ + "/a.kvr", 1);
    writeFile(folder_ + "/B.KVR", 1);
    writeFile(folder_ + "/c.txt", 1);
    writeFile(folder_ + "/README", 1);

    auto names = [this](const std::string& pattern) {
        std::string result;
        for (const auto& [name, entry] : search(pattern)) result += name + " ";
        return result;
    };
    EXPECT_EQ(names(drivePath() + "\\*.kvr"), "B.KVR a.kvr ");
    EXPECT_EQ(names(drivePath() + "\\*.KVR;*.txt"), "B.KVR a.kvr c.txt ");
    EXPECT_EQ(names(drivePath() + "\\*.*"), ". .. B.KVR README a.kvr c.txt ");
    EXPECT_EQ(names(drivePath() + "\\?.kvr"), "B.KVR a.kvr ");
    EXPECT_EQ(names(drivePath("README")), "README ");
    EXPECT_EQ(names(drivePath() + "/readme"), "README ");
    EXPECT_EQ(names(folder_ + "/*.txt"), "c.txt ");

    std::uint32_t error = 0;
    EXPECT_FALSE(fileSystem_.findFirstFile(drivePath() + "\\*.bmp", error));
    EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(fileSystem_.findFirstFile(drivePath() + "\\missing\\*", error));
    EXPECT_EQ(error, ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(fileSystem_.findFirstFile(drivePath("a.kvr") + "\\*", error));
    EXPECT_EQ(error, ERROR_PATH_NOT_FOUND);
}

TEST_F(PosixFileSystemTest, SearchesGoFromTheCurrentDirectoryAndKeepFileTimes)
{
    writeFile(folder_ + "/dated.kvr", 1);
    const timespec times[2] = {{1'000'000'000, 0}, {1'000'000'000, 500'000'000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (folder_ + "/dated.kvr").c_str(), times, 0), 0);
    ASSERT_TRUE(fileSystem_.setCurrentDirectory(drivePath()));

    const auto found = search("*.kvr");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.at("dated.kvr").lastWriteTime, fileTimeFromUnix(1'000'000'000, 500'000'000));
    EXPECT_EQ(search("dated.kvr").size(), 1u);
}

// A drive of its own on the temporary folder, to search its root.
TEST_F(PosixFileSystemTest, NoDotEntriesAtADriveRoot)
{
    ASSERT_EQ(::mkdir((folder_ + "/sub").c_str(), 0755), 0);
    MountProbe probe;
    probe.isFolder = [](const std::string&) { return true; };
    const std::string table = "/dev/vdz " + folder_ + " ext4 rw 0 0\n";
    PosixFileSystem withDrive({[table] { return parseMountTable(table); }, probe});

    std::uint32_t error = 0;
    const auto root = withDrive.findFirstFile("D:\\*", error);
    ASSERT_TRUE(root);
    FindData entry;
    ASSERT_TRUE(root->next(entry));
    EXPECT_EQ(entry.fileName, "sub");
    EXPECT_FALSE(root->next(entry));

    const auto below = withDrive.findFirstFile("D:\\sub\\*", error);
    ASSERT_TRUE(below);
    ASSERT_TRUE(below->next(entry));
    EXPECT_EQ(entry.fileName, ".");
    ASSERT_TRUE(below->next(entry));
    EXPECT_EQ(entry.fileName, "..");
    EXPECT_FALSE(below->next(entry));

    const auto byLinuxPath = withDrive.findFirstFile(folder_ + "/*", error);
    ASSERT_TRUE(byLinuxPath);
    ASSERT_TRUE(byLinuxPath->next(entry));
    EXPECT_EQ(entry.fileName, "sub");

    EXPECT_FALSE(withDrive.findFirstFile("D:\\sub\\..\\..\\*.none", error));
    EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);  // ".." stopped at D's root: the folder was searched

    ASSERT_TRUE(withDrive.setCurrentDirectory("d:\\sub\\..\\"));
    EXPECT_EQ(withDrive.currentDirectory(), "D:\\");
    ASSERT_TRUE(withDrive.setCurrentDirectory("sub"));
    EXPECT_EQ(withDrive.currentDirectory(), "D:\\sub");
}

TEST_F(PosixFileSystemTest, CurrentDirectoryRoundTripsInCanonicalForm)
{
    ASSERT_EQ(::mkdir((folder_ + "/Data").c_str(), 0755), 0);
    ASSERT_TRUE(fileSystem_.setCurrentDirectory(drivePath("Data") + "\\..\\Data\\"));
    EXPECT_EQ(fileSystem_.currentDirectory(), drivePath("Data"));
    EXPECT_EQ(physical("."), folder_ + "/Data");

    ASSERT_TRUE(fileSystem_.setCurrentDirectory(".."));
    EXPECT_EQ(fileSystem_.currentDirectory(), drivePath());

    EXPECT_FALSE(fileSystem_.setCurrentDirectory(drivePath("missing")));
    EXPECT_FALSE(fileSystem_.setCurrentDirectory("Q:\\"));
    EXPECT_EQ(fileSystem_.currentDirectory(), drivePath());

    ASSERT_TRUE(fileSystem_.setCurrentDirectory(folder_ + "/Data/"));
    EXPECT_EQ(fileSystem_.currentDirectory(), drivePath("Data"));
    ASSERT_TRUE(fileSystem_.setCurrentDirectory(".."));

    EXPECT_TRUE(fileSystem_.directoryExists("Data"));
    EXPECT_TRUE(fileSystem_.directoryExists(folder_));
    EXPECT_FALSE(fileSystem_.directoryExists("missing"));

    ASSERT_TRUE(fileSystem_.setCurrentDirectory("C:\\"));
    EXPECT_EQ(fileSystem_.currentDirectory(), "C:\\");
    EXPECT_EQ(physical("."), "/");
}

TEST_F(PosixFileSystemTest, ARemovedCurrentDirectoryHasNoDrivePath)
{
    ASSERT_EQ(::mkdir((folder_ + "/gone").c_str(), 0755), 0);
    ASSERT_TRUE(fileSystem_.setCurrentDirectory(drivePath("gone")));
    ASSERT_EQ(::rmdir((folder_ + "/gone").c_str()), 0);
    EXPECT_EQ(fileSystem_.currentDirectory(), "");
    std::uint32_t error = 0;
    EXPECT_FALSE(fileSystem_.findFirstFile("*", error));
}

TEST(PosixDrives, TheRootDriveHasSpaceAndVolumeDataAndMissingDrivesHaveNone)
{
    PosixFileSystem fileSystem;
    EXPECT_NE(fileSystem.logicalDrives() & 0b100u, 0u);
    EXPECT_GE(fileSystem.driveType("C:\\"), DRIVE_REMOVABLE);
    EXPECT_EQ(fileSystem.driveType("C:"), fileSystem.driveType("c:\\"));

    const auto space = fileSystem.diskFreeSpace("C:\\");
    ASSERT_TRUE(space);
    EXPECT_GT(space->totalNumberOfBytes, 0u);
    EXPECT_LE(space->freeBytesAvailable, space->totalNumberOfFreeBytes);
    EXPECT_LE(space->totalNumberOfFreeBytes, space->totalNumberOfBytes);
    EXPECT_GT(space->bytesPerSector, 0u);
    EXPECT_GT(space->sectorsPerCluster, 0u);

    const auto volume = fileSystem.volumeInformation("C:\\");
    ASSERT_TRUE(volume);
    EXPECT_EQ(volume->maximumComponentLength, 255u);
    EXPECT_FALSE(volume->fileSystemName.empty());
    for (const char c : volume->fileSystemName) EXPECT_FALSE(c >= 'a' && c <= 'z') << volume->fileSystemName;

    // A to Z: a letter without a drive has no root, and nothing to measure.
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root{letter, ':', '\\'};
        const bool present = (fileSystem.logicalDrives() >> (letter - 'A') & 1u) != 0;
        EXPECT_EQ(fileSystem.driveType(root) != DRIVE_NO_ROOT_DIR, present) << root;
        if (!present) {
            EXPECT_FALSE(fileSystem.diskFreeSpace(root)) << root;
        }
    }
    EXPECT_EQ(fileSystem.driveType("C:\\Windows\\"), DRIVE_NO_ROOT_DIR);
    EXPECT_FALSE(fileSystem.volumeInformation("not a root"));
}

}  // namespace
}  // namespace trovelin
