// The desktop app on a virtual X display, as scripts/screenshot runs it: the window shows the
// sample panels' pictures in its grid, and a click on the first one puts exactly that picture
// on the system clipboard, read back with xclip. Skipped where the X tools are not installed.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

#include <QImage>

#include "cli/Harvest.h"
#include "support/GuiApplication.h"

namespace trovelin {
namespace {

namespace fs = std::filesystem;

bool installed(const char* program) { return std::system(("command -v " + std::string(program) + " >/dev/null").c_str()) == 0; }

class ScreenshotTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }
    ~ScreenshotTest() override { fs::remove_all(folder); }

    fs::path folder = fs::temp_directory_path() / ("trovelin-screenshot-" + std::to_string(::getpid()));
};

TEST_F(ScreenshotTest, TheWindowShowsTheSamplePicturesAndAClickCopiesTheFirst)
{
    if (!installed("xvfb-run") || !installed("xdotool") || !installed("xclip") || !installed("/usr/bin/import"))
        GTEST_SKIP() << "xvfb, xdotool, xclip or imagemagick is not installed";
    fs::create_directories(folder);
    const fs::path window = folder / "window.png";
    const fs::path clip = folder / "clip.png";
    const std::string command = std::string(TROVELIN_SOURCE_DIR) + "/scripts/screenshot '" + window.string() +
                                "' --copy '" + clip.string() + "' --app '" + TROVELIN_APP + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const QImage shot(QString::fromStdString(window.string()));
    ASSERT_EQ(shot.size(), QSize(662, 453));
    // The grid, right of the file browser: past silver and the grid's background there must be
    // the pictures' own colours.
    const QRgb silver = qRgb(192, 192, 192);
    const QRgb background = qRgb(0xFF, 0xF8, 0xE8);
    std::set<QRgb> pictureColours;
    for (int y = 2; y < 420; ++y)
        for (int x = 310; x < 640; ++x)
            if (const QRgb c = shot.pixel(x, y) | 0xFF000000u; c != silver && c != background) pictureColours.insert(c);
    EXPECT_GT(pictureColours.size(), 100u);

    // The first picture of the folder, as the harvest writes it, is what the clipboard holds.
    cli::HarvestOptions options;
    options.paths = {std::string(TROVELIN_SOURCE_DIR) + "/samples"};
    options.outputFolder = (folder / "pictures").string();
    options.quiet = true;
    std::ostringstream out;
    std::ostringstream progress;
    ASSERT_EQ(cli::harvest(options, out, progress), 0);
    const QImage first = QImage(QString::fromStdString((folder / "pictures" / "000.png").string()))
                             .convertToFormat(QImage::Format_RGB32);
    const QImage copied = QImage(QString::fromStdString(clip.string())).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(copied, first);
}

}  // namespace
}  // namespace trovelin
