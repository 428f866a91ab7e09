// The file list on a real folder: what a refresh lists and in which order, the directory rules,
// navigation by keys and clicks, and the selection properties.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "browse/Mfileexplorer.h"
#include "platform/PosixFileSystem.h"

namespace trovelin {
namespace {

namespace fs = std::filesystem;

class FakeShell : public ShellInfo {
public:
    ShellFileInfo fileInfo(const std::string& path) override
    {
        return {7, "Name of " + path, path.ends_with(".kvr") ? "Panel file" : "Something"};
    }
};

class FileExplorer : public ::testing::Test {
protected:
    FileExplorer()
    {
        fs::create_directories(root / "Shows" / "Club");
        fs::create_directories(root / "Shows" / ".hidden");
        std::ofstream(root / "Shows" / "b.kvr") << "12345";
        std::ofstream(root / "Shows" / "A.KVR") << "1";
        std::ofstream(root / "Shows" / "notes.txt") << "x";
        std::ofstream(root / "Shows" / "both.kvr.txt") << "xy";
        std::ofstream(root / "Shows" / ".secret.kvr") << "s";
        shows = fileSystem.drives().toWindowsPath((root / "Shows").string()).value();
        list.SetFileType(1u << ftReadOnly | 1u << ftArchive | 1u << ftNormal);
        list.SetMask("*.kvr");
    }
    ~FileExplorer() override
    {
        fileSystem.setCurrentDirectory(fileSystem.drives().toWindowsPath(fs::temp_directory_path().string()).value());
        fs::remove_all(root);
    }

    std::vector<std::string> captions() const
    {
        std::vector<std::string> names;
        for (const FileListItem& item : list.items()) names.push_back(item.caption);
        return names;
    }
    int indexOf(const std::string& caption) const
    {
        const auto names = captions();
        return static_cast<int>(std::find(names.begin(), names.end(), caption) - names.begin());
    }

    fs::path root = fs::temp_directory_path() / ("trovelin-files-" + std::to_string(::getpid()));
    PosixFileSystem fileSystem;
    FakeShell shell;
    TMFileExplorer list{fileSystem, shell, isoDateTimeText(), ','};
    std::string shows;
};

TEST_F(FileExplorer, ARefreshListsFoldersThenEachMaskPatternsFilesSortedByName)
{
    int changes = 0;
    list.OnChange = [&changes] { ++changes; };
    list.SetDirectory(shows);
    EXPECT_EQ(list.Directory(), shows);
    EXPECT_EQ(captions(), (std::vector<std::string>{"..", "Club", "A.KVR", "b.kvr"}));
    EXPECT_EQ(changes, 4);
    const FileListItem& file = list.items()[3];
    EXPECT_EQ(file.sub(FileListItem::size), "5");
    EXPECT_EQ(file.sub(FileListItem::typeName), "Panel file");
    EXPECT_EQ(file.sub(FileListItem::attributes), "A");
    EXPECT_EQ(file.sub(FileListItem::fullPath), shows + "\\b.kvr");
    EXPECT_EQ(file.sub(FileListItem::kind), "file");
    EXPECT_EQ(list.items()[1].sub(FileListItem::size), " ");
    EXPECT_EQ(list.columns()[2].caption, "Type");
    EXPECT_EQ(list.SortDirection(), TSortDirection::sdAscending);

    // A pattern without wildcards is a name, found whatever its letter case.
    list.SetMask("NOTES.TXT;b.kvr");
    EXPECT_EQ(captions(), (std::vector<std::string>{"..", "Club", "b.kvr", "notes.txt"}));
    EXPECT_EQ(list.items()[2].sub(FileListItem::size), "5");
    // A pattern with a folder part lists that folder, and its rows name the entries there.
    std::ofstream(root / "Shows" / "Club" / "b.kvr") << "123";
    list.SetMask("Club\\*.kvr");
    ASSERT_EQ(captions(), (std::vector<std::string>{"..", "Club", "b.kvr"}));
    EXPECT_EQ(list.items()[2].sub(FileListItem::fullPath), shows + "\\Club\\b.kvr");
    EXPECT_EQ(list.items()[2].localPath, (root / "Shows" / "Club" / "b.kvr").string());
    EXPECT_EQ(list.items()[2].sub(FileListItem::size), "3");
    // Each pattern adds its own matches: a file matching two patterns is listed twice.
    list.SetMask("*.kvr;*.txt;*.kvr.txt");
    const std::vector<std::string> names = captions();
    EXPECT_EQ(std::count(names.begin(), names.end(), "both.kvr.txt"), 2);
    // Hidden entries need ftHidden.
    list.SetFileType(list.FileType() | 1u << ftHidden);
    EXPECT_NE(indexOf(".hidden"), static_cast<int>(list.items().size()));
    EXPECT_NE(indexOf(".secret.kvr"), static_cast<int>(list.items().size()));
    EXPECT_EQ(indexOf("."), static_cast<int>(list.items().size()));
}

TEST_F(FileExplorer, DirectoriesAreCanonicalAndTheDriveListKeepsItsSpelling)
{
    list.SetDirectory(shows + "\\Club\\..\\");
    EXPECT_EQ(list.Directory(), shows);
    list.SetDirectory(shows + "\\Missing");
    EXPECT_EQ(list.Directory(), shows);

    list.SetDirectory("drives");
    EXPECT_EQ(list.Directory(), "drives");
    ASSERT_FALSE(list.items().empty());
    EXPECT_EQ(list.items()[0].sub(FileListItem::fullPath), "C:\\");
    EXPECT_EQ(list.items()[0].sub(FileListItem::kind), "drv");
    EXPECT_EQ(list.columns()[2].caption, "Disk Size");
    EXPECT_EQ(list.SortDirection(), TSortDirection::sdDescending);
    list.OneLevelUp();
    EXPECT_EQ(list.Directory(), "drives");
    EXPECT_GT(list.GetDiskInfo("C:").DiskSize, 0);
}

TEST_F(FileExplorer, KeysAndClicksNavigate)
{
    list.SetDirectory(shows + "\\Club");
    list.Keydown(VK_UP, ssCtrl | ssShift);
    EXPECT_EQ(list.Directory(), shows + "\\Club");
    list.Keydown(VK_UP, ssCtrl);
    EXPECT_EQ(list.Directory(), shows);
    list.Keydown(VK_BACK, ssAlt | ssShift);
    const std::size_t parentEnd = shows.rfind('\\');
    EXPECT_EQ(list.Directory(), shows.substr(0, parentEnd == 2 ? 3 : parentEnd));  // a drive root keeps its backslash

    list.SetDirectory(shows);
    int clicks = 0, doubleClicks = 0;
    list.OnClick = [&clicks] { ++clicks; };
    list.OnDblClick = [&doubleClicks] { ++doubleClicks; };
    list.setSelected(indexOf("b.kvr"), true);
    list.Click();
    EXPECT_EQ(list.FileName(), shows + "\\b.kvr");
    list.Keydown(VK_RETURN, 0);  // Enter on a file: the double-click event and nothing else
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(list.Directory(), shows);
    list.clearSelection();
    list.Click();  // on empty space: the last file name stays
    EXPECT_EQ(list.FileName(), shows + "\\b.kvr");
    EXPECT_EQ(clicks, 2);
    list.setSelected(indexOf("Club"), true);
    list.Keydown(VK_RETURN, 0);
    EXPECT_EQ(list.Directory(), shows + "\\Club");
}

TEST_F(FileExplorer, TheSelectionIsCountedSizedNamedAndTyped)
{
    list.SetDirectory(shows);
    EXPECT_EQ(list.SelectedCount(), 4);  // nothing selected: every item
    EXPECT_EQ(list.SelectedFilenames(), "");
    list.setSelected(indexOf("A.KVR"), true);
    list.setSelected(indexOf("b.kvr"), true);
    EXPECT_EQ(list.SelectedCount(), 2);
    EXPECT_EQ(list.SelectedSize(), 6);
    EXPECT_EQ(list.SelectedFilenames(), shows + "\\A.KVR;" + shows + "\\b.kvr");
    EXPECT_EQ(list.SelectedTypes(), 1u << otFile);
    list.setSelected(indexOf("Club"), true);
    EXPECT_EQ(list.SelectedTypes(), (1u << otFile) | (1u << otDirectory));
}

}  // namespace
}  // namespace trovelin
