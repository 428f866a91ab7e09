// The files `cmake --install` gives the desktop: the launcher entry passes a file to the viewer,
// and the MIME type finds panel files by name and by content. Installed into a temporary
// prefix, checked with the freedesktop tools and with Qt's MIME database over the result.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <QMimeDatabase>

#include "support/FileWriter.h"
#include "support/RunCommand.h"
#include "support/SamplePanels.h"

namespace trovelin {
namespace {

namespace fs = std::filesystem;

constexpr const char* panelType = "application/x-kvr-panel";

using testing::installed;

// Runs a shell command; its exit status, with what it printed on either stream in `output`.
int run(const std::string& command, std::string& output)
{
    const testing::CommandOutcome outcome = testing::runCommand(command);
    output = outcome.out + outcome.err;
    return outcome.status;
}

class DesktopFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        fs::remove_all(prefix());
        std::string output;
        installStatus = run(std::string("'") + TROVELIN_CMAKE + "' --install '" + TROVELIN_BINARY_DIR + "' --prefix '" +
                                prefix().string() + "' --component desktop",
                            output);
        installOutput = output;
    }
    static void TearDownTestSuite() { fs::remove_all(prefix()); }
    static fs::path prefix() { return fs::temp_directory_path() / ("trovelin-install-" + std::to_string(::getpid())); }
    static fs::path share() { return prefix() / "share"; }

    void SetUp() override { ASSERT_EQ(installStatus, 0) << installOutput; }

    static inline int installStatus = -1;
    static inline std::string installOutput;
};

TEST_F(DesktopFiles, TheDesktopEntryIsValidAndOpensPanelFilesInTheViewer)
{
    if (!installed("desktop-file-validate")) GTEST_SKIP() << "desktop-file-utils is not installed";
    const fs::path entry = share() / "applications" / "trovelin.desktop";
    std::string output;
    EXPECT_EQ(run("desktop-file-validate '" + entry.string() + "'", output), 0);
    EXPECT_EQ(output, "");  // not even a hint

    std::ifstream in(entry);
    std::stringstream text;
    text << in.rdbuf();
    for (const char* line : {"Exec=trovelin %f\n", "Icon=trovelin\n", "MimeType=application/x-kvr-panel;\n",
                             "Categories=Graphics;Viewer;\n"})
        EXPECT_NE(text.str().find(line), std::string::npos) << line;
    EXPECT_TRUE(fs::exists(share() / "icons" / "hicolor" / "scalable" / "apps" / "trovelin.svg"));
}

TEST_F(DesktopFiles, TheMimeTypeFindsPanelFilesByNameAndByContent)
{
    if (!installed("update-mime-database")) GTEST_SKIP() << "shared-mime-info is not installed";
    std::string output;
    ASSERT_EQ(run("XDG_DATA_DIRS='" + share().string() + "' update-mime-database '" + (share() / "mime").string() + "'",
                  output),
              0)
        << output;
    EXPECT_EQ(output, "");  // the package file was read without complaint
    ASSERT_TRUE(fs::exists(share() / "mime" / "application" / "x-kvr-panel.xml"));

    // Qt reads the database of the data folders once, at its first use in this process.
    const fs::path files = prefix() / "files";
    fs::create_directories(files);
    ::setenv("XDG_DATA_HOME", (prefix() / "home").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", (share().string() + ":/usr/share").c_str(), 1);
    const QMimeDatabase database;

    std::vector<std::uint8_t> small = testing::samplePanels().front().bytes;
    std::vector<std::uint8_t> large = small;
    std::copy_n("KVL0", 4, small.begin());
    std::copy_n("KVLP", 4, large.begin());
    ASSERT_TRUE(testing::writeFile((files / "small.data").string(), small));
    ASSERT_TRUE(testing::writeFile((files / "large.data").string(), large));
    ASSERT_TRUE(testing::writeFile((files / "junk.data").string(), {'J', 'U', 'N', 'K', 0, 1, 2, 3}));
    auto byContent = [&](const char* name) {
        return database.mimeTypeForFile(QString::fromStdString((files / name).string()), QMimeDatabase::MatchContent)
            .name()
            .toStdString();
    };
    EXPECT_EQ(byContent("small.data"), panelType);
    EXPECT_EQ(byContent("large.data"), panelType);
    EXPECT_NE(byContent("junk.data"), panelType);

    for (const char* name : {"show.kvr", "SHOW.KVR"})
        EXPECT_EQ(database.mimeTypeForFile(name, QMimeDatabase::MatchExtension).name().toStdString(), panelType)
            << name;
    EXPECT_EQ(database.mimeTypeForName(panelType).comment().toStdString(), "KVR panel file");
}

}  // namespace
}  // namespace trovelin
