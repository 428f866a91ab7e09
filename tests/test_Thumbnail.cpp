// `trovelin-cli thumbnail`: the panel as render paints it, shrunk smoothly to the size a file
// manager asks for and never enlarged; a panel that does not load leaves no file behind.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include <QImage>

#include "cli/Thumbnail.h"
#include "gallery/PanelRender.h"
#include "support/FileWriter.h"
#include "support/GuiApplication.h"
#include "support/PngReference.h"
#include "support/RunCommand.h"
#include "support/SamplePanels.h"

namespace trovelin {
namespace {

namespace fs = std::filesystem;
using testing::CommandOutcome;

class Thumbnail : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }
    Thumbnail() { fs::create_directories(folder); }
    ~Thumbnail() override { fs::remove_all(folder); }

    // The sample panel `name` (the generator's bytes, so that no other test's hold on the
    // committed copies gets in the way), written into the test's folder.
    std::string sample(const std::string& name)
    {
        for (const testing::SamplePanel& panel : testing::samplePanels())
            if (panel.fileName == name) {
                EXPECT_TRUE(testing::writeFile((folder / name).string(), panel.bytes));
            }
        return (folder / name).string();
    }
    CommandOutcome thumbnail(const std::string& arguments)
    {
        return testing::runCommand(std::string("'") + TROVELIN_CLI + "' thumbnail " + arguments);
    }

    fs::path folder = fs::temp_directory_path() / ("trovelin-thumbnail-" + std::to_string(::getpid()));
};

TEST_F(Thumbnail, ShrinksSmoothlyToTheLongerSideAndNeverEnlarges)
{
    // Columns of black and white one pixel wide average to grey; sampling would keep them stark.
    QImage stripes(400, 240, QImage::Format_RGB32);
    for (int x = 0; x < stripes.width(); ++x)
        for (int y = 0; y < stripes.height(); ++y) stripes.setPixel(x, y, x % 2 ? 0xFFFFFFFF : 0xFF000000);
    const QImage shrunk = cli::thumbnailOf(stripes, 128);
    EXPECT_EQ(shrunk.size(), QSize(128, 77));
    EXPECT_NEAR(qGray(shrunk.pixel(60, 40)), 128, 16);

    EXPECT_EQ(cli::thumbnailOf(stripes, 400).size(), QSize(400, 240));
    EXPECT_EQ(cli::thumbnailOf(stripes, 1024).size(), QSize(400, 240));
    // A strip far longer than wide stays one pixel thick rather than vanishing.
    EXPECT_EQ(cli::thumbnailOf(QImage(1, 8192, QImage::Format_RGB32), 128).size(), QSize(1, 128));
}

TEST_F(Thumbnail, TheCommandWritesThePanelAsRenderPaintsItScaledDown)
{
    const std::string rig = sample("arena-rig.kvr");
    const std::string png = (folder / "rig.png").string();
    const CommandOutcome made = thumbnail("-s 200 " + rig + " " + png);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out + made.err, "");

    const QImage rendered = renderPanel(rig).image;
    const QImage expected = cli::thumbnailOf(rendered, 200);
    const auto written = testing::readPngFile(png);
    ASSERT_TRUE(written);
    ASSERT_EQ(QSize(written->width, written->height), expected.size());
    EXPECT_EQ(std::max(written->width, written->height), 200);
    for (int y = 0; y < written->height; y += 7)
        for (int x = 0; x < written->width; x += 7)
            ASSERT_EQ(written->rgbAt(x, y), expected.pixel(x, y) & 0xFFFFFFu) << x << "," << y;

    // The default is the file managers' normal size.
    ASSERT_EQ(thumbnail(rig + " " + png).status, 0);
    EXPECT_EQ(testing::readPngFile(png)->width, 128);
}

TEST_F(Thumbnail, AnEmptyOutputMadeByTheCallerIsFilledInPlace)
{
    // Thumbnail services create the output themselves and read it back through the descriptor
    // they keep, which a file renamed over that name would leave empty.
    const std::string png = (folder / "tumbler-X1.png").string();
    const int held = ::open(png.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(held, 0);
    const CommandOutcome made = thumbnail(sample("club-stage.kvr") + " " + png);
    EXPECT_EQ(made.status, 0) << made.err;
    std::vector<std::uint8_t> bytes(1 << 16);
    const ssize_t got = ::pread(held, bytes.data(), bytes.size(), 0);
    ::close(held);
    ASSERT_GT(got, 0);
    bytes.resize(static_cast<std::size_t>(got));
    const auto seen = testing::readPng(bytes);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->width, 128);
}

TEST_F(Thumbnail, APanelThatDoesNotLoadLeavesNoFile)
{
    const std::string png = (folder / "out.png").string();
    ASSERT_TRUE(testing::writeFile((folder / "junk.kvr").string(), {'J', 'U', 'N', 'K', 0, 0, 0, 0}));
    // A panel whose records stop halfway: render shows what was read, a thumbnail shows nothing.
    std::vector<std::uint8_t> cut = testing::samplePanels().front().bytes;
    cut.resize(cut.size() - 40);
    ASSERT_TRUE(testing::writeFile((folder / "cut.kvr").string(), cut));
    for (const char* input : {"junk.kvr", "cut.kvr", "missing.kvr"}) {
        const CommandOutcome failed = thumbnail((folder / input).string() + " " + png);
        EXPECT_EQ(failed.status, 1) << input;
        EXPECT_NE(failed.err, "") << input;
        EXPECT_FALSE(fs::exists(png)) << input;
        EXPECT_EQ(testing::fileNames(folder.string()).size(), 2u) << input;  // no temporary left either
    }
}

TEST_F(Thumbnail, BadArgumentsAreUsageErrors)
{
    const std::string rig = sample("arena-rig.kvr");
    for (const auto& [arguments, named] : std::vector<std::pair<std::string, std::string>>{
             {"-s 0 " + rig + " a.png", "trovelin-cli: thumbnail: bad value '0' for -s"},
             {"-s 12px " + rig + " a.png", "bad value '12px' for -s"},
             {rig, "trovelin-cli: thumbnail: give INPUT and OUTPUT.png"},
             {rig + " a.png extra", "unexpected argument 'extra'"},
             {rig + " a.jpg", "only PNG is written: 'a.jpg'"}}) {
        const CommandOutcome refused = thumbnail(arguments);
        EXPECT_EQ(refused.status, 2) << arguments;
        EXPECT_NE(refused.err.find(named), std::string::npos) << arguments << "\n" << refused.err;
    }
}

}  // namespace
}  // namespace trovelin
