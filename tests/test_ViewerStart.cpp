// Where the viewer starts: its command line, and the panel file or folder it names. A panel
// file opens its folder and loads that file alone; a folder loads as if the user moved there;
// anything else starts in the program's folder with the problem in the status bar.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "app/StartPlace.h"
#include "app/Trovelinc.h"
#include "app/ViewerCommandLine.h"
#include "panelfile/PictureList.h"
#include "platform/PosixFileSystem.h"
#include "support/BmpWriter.h"
#include "support/FileWriter.h"
#include "support/FinishFolderLoad.h"
#include "support/GuiApplication.h"
#include "support/NoShell.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"
#include "support/SamplePanels.h"

namespace trovelin {
namespace {

using namespace testing;
namespace fs = std::filesystem;
using Action = ViewerCommandLine::Action;
using Kind = StartPlace::Kind;

TEST(ViewerCommandLine, HelpAndVersionWinWhereverTheyStandAndOnePathIsTaken)
{
    EXPECT_EQ(parseViewerCommandLine({}).action, Action::Run);
    EXPECT_FALSE(parseViewerCommandLine({}).path);
    EXPECT_EQ(parseViewerCommandLine({"show.kvr"}).path, "show.kvr");
    EXPECT_EQ(parseViewerCommandLine({"-platform", "offscreen", "--help"}).action, Action::ShowHelp);
    EXPECT_EQ(parseViewerCommandLine({"x", "--version"}).action, Action::ShowVersion);
    EXPECT_EQ(parseViewerCommandLine({"--", "--help"}).path, "--help");
    // Read before the toolkit starts, the toolkit's own options and their values are passed over.
    const ViewerCommandLine withToolkitOptions =
        parseViewerCommandLine({"-platform", "offscreen", "--style=fusion", "-reverse", "show.kvr"});
    EXPECT_EQ(withToolkitOptions.action, Action::Run);
    EXPECT_EQ(withToolkitOptions.path, "show.kvr");

    const ViewerCommandLine unknown = parseViewerCommandLine({"--bogus"});
    EXPECT_EQ(unknown.action, Action::UsageError);
    EXPECT_EQ(unknown.error, "unknown option --bogus");
    EXPECT_EQ(parseViewerCommandLine({"a", "b"}).error, "more than one PATH: a and b");
    EXPECT_NE(viewerHelpText().find("usage: trovelin [PATH]"), std::string::npos);
}

class ViewerStart : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureWidgetApplication(); }

    ViewerStart()
    {
        for (const char* folder : {"Show", "Mixed", "Program"}) fs::create_directories(root / folder);
        writeFile((root / "Show" / "a.kvr").string(), greyBackgroundPanel(1));
        writeFile((root / "Show" / "b.kvr").string(), greyBackgroundPanel(2));
        writeFile((root / "Show" / "panel.bin").string(), greyBackgroundPanel(5));
        writeFile((root / "Show" / "notes.txt").string(), {'n', 'o', 't', 'e', 's'});
        writeFile((root / "Program" / "p.kvr").string(), greyBackgroundPanel(7));
        writeFile((root / "Mixed" / "good.kvr").string(), greyBackgroundPanel(3));
        std::vector<std::uint8_t> broken = greyBackgroundPanel(4);
        broken.resize(broken.size() - 20);
        writeFile((root / "Mixed" / "broken.kvr").string(), broken);
        window.messageBox = [this](const QString&, const QString& text) { messages.push_back(text); };
    }
    ~ViewerStart() override
    {
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(root);
    }

    std::string drivePath(const fs::path& path) const
    {
        return fileSystem.drives().toWindowsPath(path.string()).value();
    }
    StartPlace resolve(const fs::path& path) const { return resolveStartPlace(path.string(), fileSystem.drives()); }
    void start(const StartPlace& place)
    {
        showStartPlace(window, place, drivePath(root / "Program"));
        finishFolderLoad(window);
    }
    std::vector<int> widths() const
    {
        std::vector<int> result;
        for (int i = 0; i < pictures.count(); ++i) result.push_back(pictures.at(i).width());
        std::sort(result.begin(), result.end());
        return result;
    }

    fs::path root = fs::temp_directory_path() / ("trovelin-start-" + std::to_string(::getpid()));
    PictureList pictures;
    PosixFileSystem fileSystem;
    NoShell shell;
    TTrovelin window{pictures, fileSystem, shell};
    std::vector<QString> messages;
};

TEST_F(ViewerStart, APanelFileOpensItsFolderAndLoadsThatFileAlone)
{
    const std::string show = drivePath(root / "Show");
    fs::current_path(root);
    const StartPlace place = resolve("Show/../Show/b.kvr");
    EXPECT_EQ(place.kind, Kind::PanelFile);
    EXPECT_EQ(place.folder, show);
    EXPECT_EQ(place.file, show + "\\b.kvr");

    start(place);
    EXPECT_EQ(window.fileList().Directory(), show);
    EXPECT_EQ(widths(), std::vector<int>{2});
    EXPECT_EQ(window.statusText(0).toStdString(), show + "\\b.kvr");
    EXPECT_EQ(window.statusText(1).toStdString(), show);
    EXPECT_EQ(window.fileList().FileName(), show + "\\b.kvr");  // a click on empty space loads it again

    // The content decides, not the name: desktops hand over panel files by their magic.
    EXPECT_EQ(resolve(root / "Show" / "panel.bin").kind, Kind::PanelFile);
}

TEST_F(ViewerStart, ABrokenNeighbourOfThePanelFileIsNotLoaded)
{
    start(resolve(root / "Mixed" / "good.kvr"));
    EXPECT_EQ(widths(), std::vector<int>{3});
    EXPECT_TRUE(messages.empty());

    // Moving away and back loads the folder, and the broken file says so.
    window.fileList().SetDirectory(drivePath(root));
    window.fileList().SetDirectory(drivePath(root / "Mixed"));
    finishFolderLoad(window);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(ViewerStart, AFolderLoadsAsIfTheUserMovedThere)
{
    const StartPlace place = resolve(root / "Show" / "");
    EXPECT_EQ(place.kind, Kind::Folder);
    start(place);
    EXPECT_EQ(window.fileList().Directory(), drivePath(root / "Show"));
    EXPECT_EQ(widths(), (std::vector<int>{1, 2}));
    EXPECT_EQ(window.statusText(1).toStdString(), drivePath(root / "Show"));
}

TEST_F(ViewerStart, AnythingElseStartsInTheProgramFolderAndSaysWhatWasWrong)
{
    const fs::path fifo = root / "Show" / "pipe.kvr";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string program = drivePath(root / "Program");
    for (const auto& [path, problem] : std::vector<std::pair<fs::path, std::string>>{
             {root / "gone.kvr", "No such file or folder: " + (root / "gone.kvr").string()},
             {root / "Show" / "notes.txt", "Not KVR Format !!!"},
             {fifo, "Cannot open file " + drivePath(fifo)},  // never read, so no hang
         }) {
        const StartPlace place = resolve(path);
        EXPECT_EQ(place.kind, Kind::ProgramFolder) << path;
        start(place);
        EXPECT_EQ(window.fileList().Directory(), program) << path;
        EXPECT_EQ(widths(), std::vector<int>{7}) << path;
        EXPECT_EQ(window.statusText(0).toStdString(), problem) << path;
    }
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace trovelin
