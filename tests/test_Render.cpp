// `trovelin-cli render`: every control of a panel file painted at its place on one image, the
// background first, records of unknown classes as labelled outlines, and bad files refused with
// the loader's own texts.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "cli/Render.h"
#include "gallery/PanelRender.h"
#include "support/BmpWriter.h"
#include "support/FileWriter.h"
#include "support/GuiApplication.h"
#include "support/PanelFileWriter.h"
#include "support/PixelProbe.h"
#include "support/PngReference.h"
#include "support/RecordWriter.h"
#include "support/SamplePanels.h"

namespace trovelin {
namespace {

using namespace testing;

std::vector<std::uint8_t> placed(std::string_view className, std::string_view name, int left, int top, int width,
                                 int height)
{
    RecordWriter w;
    w.beginRecord(className, name);
    w.property("Left").integer(left).property("Top").integer(top);
    w.property("Width").integer(width).property("Height").integer(height);
    w.end().end();
    return w.bytes();
}

class Render : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureGuiApplication(); }
    Render() { std::filesystem::create_directories(folder); }
    ~Render() override { std::filesystem::remove_all(folder); }

    std::string panel(std::vector<std::vector<std::uint8_t>> records)
    {
        PanelFileContent content;
        content.records = std::move(records);
        const std::string path = (folder / "panel.kvr").string();
        EXPECT_TRUE(writeFile(path, writePanelFile(content)));
        return path;
    }

    std::filesystem::path folder = std::filesystem::temp_directory_path() / ("trovelin-render-" + std::to_string(::getpid()));
};

TEST_F(Render, ControlsPaintAtTheirPlacesAndUnknownClassesShowAsOutlines)
{
    const RenderedPanel rendered =
        renderPanel(panel({redCornerBackgroundRecord(100, 60), placed("TMystery", "Odd1", 50, 20, 30, 20)}));
    ASSERT_FALSE(rendered.image.isNull());
    EXPECT_TRUE(rendered.problems.empty());
    EXPECT_EQ(rendered.image.size(), QSize(100, 60));
    EXPECT_EQ(colorAt(rendered.image, 0, 0), 0x0000FFu);  // the background's picture (red, as a colour value)
    EXPECT_EQ(colorAt(rendered.image, 3, 2), 0x0000FFu);
    EXPECT_EQ(colorAt(rendered.image, 10, 40), 0xC0C0C0u);  // the face colour around it
    EXPECT_EQ(colorAt(rendered.image, 50, 20), 0x000000u);  // the outline's first dot
    // The label inside the outline is text, so some dark pixels lie inside it.
    int dark = 0;
    for (int y = 21; y < 39; ++y)
        for (int x = 51; x < 79; ++x) dark += colorAt(rendered.image, x, y) == 0x000000u;
    EXPECT_GT(dark, 10);
}

TEST_F(Render, TheImageCoversEveryControlButNeverGrowsBeyondItsLimit)
{
    const RenderedPanel wide =
        renderPanel(panel({redCornerBackgroundRecord(10, 10), placed("TGroupBox", "Far", 150, 5, 20, 90)}));
    EXPECT_EQ(wide.image.size(), QSize(170, 95));
    const RenderedPanel huge =
        renderPanel(panel({redCornerBackgroundRecord(10, 10), placed("TGroupBox", "Huge", 0, 0, 2'000'000'000, -5)}));
    EXPECT_EQ(huge.image.size(), QSize(maxRenderedSide, 10));
    // Past the pixel limit both sides shrink alike. Controls of 2^31 - 1 pixels paint what shows:
    // the colour button's light top and left edges, and the face colour outside both buttons' discs.
    constexpr int most = 2147483647;
    const RenderedPanel vast = renderPanel(
        panel({redCornerBackgroundRecord(10, 10), placed("TMultiButton", "Lamp", 0, 0, most, most),
               placed("TCBTC", "Tint", 0, 0, most, most)}));
    EXPECT_TRUE(vast.problems.empty());
    EXPECT_EQ(vast.image.size(), QSize(2048, 2048));
    EXPECT_EQ(colorAt(vast.image, 0, 1000), 0xFFFFFFu);
    EXPECT_EQ(colorAt(vast.image, 2000, 0), 0xFFFFFFu);
    EXPECT_EQ(colorAt(vast.image, 100, 100), 0xC0C0C0u);
}

TEST_F(Render, FilesThatAreNoPanelsOrFailGiveTheLoadersMessages)
{
    const std::string path = (folder / "not.kvr").string();
    ASSERT_TRUE(writeFile(path, {'n', 'o', 'p', 'e', 0, 0, 0}));
    const RenderedPanel notPanel = renderPanel(path);
    EXPECT_TRUE(notPanel.image.isNull());
    EXPECT_EQ(notPanel.problems, (std::vector<LoaderEvent>{{LoaderEvent::Kind::Status, "Not KVR Format !!!"}}));

    std::ostringstream errors;
    EXPECT_EQ(cli::renderPanelToFile((folder / "gone.kvr").string(), (folder / "out.png").string(), errors), 1);
    EXPECT_NE(errors.str().find("Cannot open file"), std::string::npos);

    // A record that fails ends the load; what was read before it is still drawn.
    RecordWriter broken;
    broken.beginRecord("TLabel", "Bad").property("Caption").integer(5).end().end();
    const RenderedPanel partial = renderPanel(panel({redCornerBackgroundRecord(20, 20), broken.bytes()}));
    EXPECT_TRUE(partial.failed);
    ASSERT_FALSE(partial.image.isNull());
    EXPECT_EQ(colorAt(partial.image, 0, 0), 0x0000FFu);
    ASSERT_EQ(partial.problems.size(), 1u);
    EXPECT_EQ(partial.problems[0].kind, LoaderEvent::Kind::Error);
    EXPECT_NE(partial.problems[0].text.find("Invalid property value"), std::string::npos) << partial.problems[0].text;
}

TEST_F(Render, AFailedWriteLeavesAnOlderImageAsItWas)
{
    const std::string output = (folder / "out.png").string();
    ASSERT_TRUE(writeFile(output, {'o', 'l', 'd'}));
    const std::string input = panel({redCornerBackgroundRecord(30, 30)});
    std::ostringstream errors;
    {
        FileSizeLimit limit(40);
        EXPECT_EQ(cli::renderPanelToFile(input, output, errors), 1);
    }
    EXPECT_EQ(errors.str(), "Cannot write " + output + ": File too large\n");
    EXPECT_EQ(std::filesystem::file_size(output), 3u);

    EXPECT_EQ(cli::renderPanelToFile(input, output, errors), 0);
    const auto written = readPngFile(output);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->rgbAt(0, 0), 0xFF0000u);
}

// The sample desk: every record is a class the loader knows, so everything paints itself.
TEST_F(Render, TheSampleDeskShowsItsFadersKnobsAndButtons)
{
    const RenderedPanel desk = renderPanel(std::string(TROVELIN_SOURCE_DIR) + "/samples/console-desk.kvr");
    EXPECT_TRUE(desk.problems.empty());
    EXPECT_FALSE(desk.failed);
    ASSERT_EQ(desk.image.size(), QSize(480, 300));
    EXPECT_EQ(colorAt(desk.image, 36, 100), 0x000000u);  // the first fader's slot, below its knob
    EXPECT_EQ(colorAt(desk.image, 375, 55), 0x0000FFu);  // the red colour toggle's disc
}

}  // namespace
}  // namespace trovelin
