// The shell's answers on this system: type names follow the extension alone, as the original
// shell's do, folders are "File folder", drive roots show their label and letter, and icons of
// one kind share an index.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/QtShellInfo.h"
#include "platform/FileAttributes.h"
#include "platform/PosixFileSystem.h"
#include "support/GuiApplication.h"

namespace trovelin {
namespace {

namespace fs = std::filesystem;

class QtShellInfoTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureWidgetApplication(); }

    QtShellInfoTest()
    {
        fs::create_directories(root / "Club");
        // PNG bytes under a panel file's name: the name decides, the content is never read.
        std::ofstream(root / "disguised.kvr", std::ios::binary) << "\x89PNG\r\n\x1a\n";
        std::ofstream(root / "stage.KVR") << "x";
        std::ofstream(root / "README") << "x";
    }
    ~QtShellInfoTest() override { fs::remove_all(root); }

    std::string drivePath(const std::string& name) const
    {
        return fileSystem.drives().toWindowsPath((root / name).string()).value();
    }

    fs::path root = fs::temp_directory_path() / ("trovelin-shell-" + std::to_string(::getpid()));
    PosixFileSystem fileSystem;
    QtShellInfo shell{fileSystem};
};

TEST_F(QtShellInfoTest, TypeNamesFollowTheExtension)
{
    const ShellFileInfo panel = shell.fileInfo(drivePath("disguised.kvr"));
    EXPECT_EQ(panel.typeName, "KVR File");
    EXPECT_EQ(panel.displayName, "disguised.kvr");
    const ShellFileInfo upper = shell.fileInfo(drivePath("stage.KVR"));
    EXPECT_EQ(upper.typeName, "KVR File");
    EXPECT_EQ(upper.iconIndex, panel.iconIndex);
    EXPECT_EQ(shell.fileInfo(drivePath("README")).typeName, "File");
    EXPECT_EQ(shell.fileInfo(drivePath("Club")).typeName, "File folder");
    EXPECT_FALSE(shell.icon(panel.iconIndex).isNull());
}

TEST_F(QtShellInfoTest, AFoundEntrysAttributesSayWhetherItIsAFolder)
{
    EXPECT_EQ(shell.entryInfo(drivePath("Club"), faDirectory).typeName, "File folder");
    EXPECT_EQ(shell.entryInfo(drivePath("stage.KVR"), faArchive).typeName, "KVR File");
}

TEST_F(QtShellInfoTest, ADriveRootShowsItsLabelAndLetter)
{
    const ShellFileInfo root = shell.fileInfo("C:\\");
    EXPECT_TRUE(root.displayName.ends_with(" (C:)")) << root.displayName;
    EXPECT_EQ(root.typeName, "Local Disk");
}

}  // namespace
}  // namespace trovelin
