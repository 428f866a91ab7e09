// `trovelin-cli thumbnail`: the panel as render paints it, shrunk smoothly to the size a file
// manager asks for and never enlarged; a panel that does not load leaves no file behind.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <sstream>

#include <QImage>

#include "cli/Thumbnail.h"
#include "gallery/PanelRender.h"
#include "support/FileWriter.h"
#include "support/GuiApplication.h"
#include "support/PanelFileWriter.h"
#include "support/PngReference.h"
#include "support/RecordWriter.h"
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
    CommandOutcome thumbnail(const std::string& arguments) { return cli("thumbnail " + arguments); }
    CommandOutcome cli(const std::string& arguments)
    {
        return testing::runCommand("cd '" + folder.string() + "' && '" + TROVELIN_CLI + "' " + arguments);
    }
    // A panel of faders (and whatever `more` adds after them), written as `name` into the test's folder.
    std::string faderPanel(const std::string& name, const std::vector<std::vector<std::uint8_t>>& more = {})
    {
        testing::PanelFileContent content;
        content.records.push_back(testing::redCornerBackgroundRecord(120, 80));
        for (int i = 0; i < 3; ++i) {
            testing::RecordWriter fader;
            fader.beginRecord("TSlider", "Fader" + std::to_string(i)).property("Left").integer(10 + 30 * i);
            fader.property("Top").integer(10).property("Width").integer(20).property("Height").integer(60).end().end();
            content.records.push_back(fader.bytes());
        }
        content.records.insert(content.records.end(), more.begin(), more.end());
        EXPECT_TRUE(testing::writeFile((folder / name).string(), testing::writePanelFile(content)));
        return (folder / name).string();
    }
    static ino_t inodeOf(const fs::path& path)
    {
        struct stat status {};
        return ::lstat(path.c_str(), &status) == 0 ? status.st_ino : 0;
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
    // A valid panel whose fifth record lost its signature: the load stops there, after three faders.
    testing::RecordWriter unsigned_;
    unsigned_.beginRecord("TSlider", "Fader3").end().end();
    std::vector<std::uint8_t> lost = unsigned_.bytes();
    lost[0] = 'X';
    faderPanel("stops.kvr", {lost});
    for (const char* input : {"junk.kvr", "cut.kvr", "missing.kvr", "stops.kvr"}) {
        const CommandOutcome failed = thumbnail((folder / input).string() + " " + png);
        EXPECT_EQ(failed.status, 1) << input;
        EXPECT_NE(failed.err, "") << input;
        EXPECT_FALSE(fs::exists(png)) << input;
        EXPECT_EQ(testing::fileNames(folder.string()).size(), 3u) << input;  // no temporary left either
    }
}

TEST_F(Thumbnail, OnlyTheCallersOwnEmptyFileIsWrittenIntoAndAFailedWriteEmptiesItAgain)
{
    const std::string rig = sample("arena-rig.kvr");
    // A hard link and a symbolic link to a file of someone else's: each name gets a thumbnail of
    // its own, and the other file stays empty.
    ASSERT_EQ(testing::runCommand("cd '" + folder.string() + "' && : > victim && ln victim hard.png && "
                                  ": > victim2 && ln -s victim2 soft.png && ln -s /dev/null null.png").status, 0);
    for (const char* output : {"hard.png", "soft.png", "null.png"})
        EXPECT_EQ(thumbnail(rig + " " + output).status, 0) << output;
    EXPECT_EQ(fs::file_size(folder / "victim"), 0u);
    EXPECT_EQ(fs::file_size(folder / "victim2"), 0u);
    EXPECT_TRUE(testing::readPngFile((folder / "hard.png").string()));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder / "soft.png")));
    EXPECT_TRUE(testing::readPngFile((folder / "soft.png").string()));
    EXPECT_TRUE(fs::is_symlink(folder / "null.png"));  // a link to a device is written through

    // The caller's own empty file past the file size limit: emptied again, not left cut.
    ASSERT_TRUE(testing::writeFile((folder / "own.png").string(), {}));
    const ino_t own = inodeOf(folder / "own.png");
    const CommandOutcome limited = testing::runCommand("cd '" + folder.string() + "' && sh -c 'ulimit -f 1; exec \"$0\" "
                                                       "thumbnail -s 256 \"$1\" own.png' '" TROVELIN_CLI "' " + rig);
    EXPECT_EQ(limited.status, 1);
    EXPECT_NE(limited.err.find("Cannot write own.png: File too large"), std::string::npos) << limited.err;
    EXPECT_EQ(inodeOf(folder / "own.png"), own);
    EXPECT_EQ(fs::file_size(folder / "own.png"), 0u);

    // Without a limit the same file is filled in place.
    EXPECT_EQ(thumbnail("-s 256 " + rig + " own.png").status, 0);
    EXPECT_EQ(inodeOf(folder / "own.png"), own);
    EXPECT_TRUE(testing::readPngFile((folder / "own.png").string()));
    for (const std::string& name : testing::fileNames(folder.string())) EXPECT_NE(name[0], '.') << name;
}

TEST_F(Thumbnail, ASignalDuringTheWriteEmptiesTheCallersFileAgain)
{
    const std::string rig = sample("arena-rig.kvr");
    ASSERT_TRUE(testing::writeFile((folder / "own.png").string(), {}));
    // strace holds the write at its sync for seconds, and the signal comes once bytes are in the file.
    const CommandOutcome ended = testing::runCommand(
        "cd '" + folder.string() + "' && { strace -f -qq -o /dev/null -e trace=fsync -e inject=fsync:delay_enter=3000000 '" +
        TROVELIN_CLI + "' thumbnail " + rig + " own.png & traced=$!; "
        "n=0; while [ ! -s own.png ] && [ $n -lt 2000 ]; do sleep 0.01; n=$((n+1)); done; kill -TERM $(pgrep -P $traced); wait $traced; }");
    EXPECT_EQ(ended.status, 128 + SIGTERM) << ended.err;
    EXPECT_EQ(fs::file_size(folder / "own.png"), 0u);
}

TEST_F(Thumbnail, KeepsToItsMemoryAndTimeLimits)
{
    // Two glyphs that declare 244 MiB each pass the default of 256 MiB, not a budget of 1G.
    ASSERT_TRUE(testing::writeFile((folder / "glyphs.kvr").string(), testing::declaredOnlyGlyphsPanel(2)));
    const CommandOutcome refused = thumbnail("glyphs.kvr out.png");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("Out of memory: the picture needs 244 MiB, over the memory budget of 256 MiB"),
              std::string::npos)
        << refused.err;
    EXPECT_FALSE(fs::exists(folder / "out.png"));
    EXPECT_EQ(thumbnail("--max-memory 1G glyphs.kvr out.png").status, 0);

    // Thousands of controls take far longer than a millisecond to load and paint.
    testing::PanelFileContent content;
    content.records.push_back(testing::redCornerBackgroundRecord(10, 10));
    for (int i = 0; i < 50000; ++i) {
        testing::RecordWriter box;
        box.beginRecord("TGroupBox", "Box" + std::to_string(i)).end().end();
        content.records.push_back(box.bytes());
    }
    ASSERT_TRUE(testing::writeFile((folder / "slow.kvr").string(), testing::writePanelFile(content)));
    ASSERT_TRUE(testing::writeFile((folder / "tumbler.png").string(), {}));
    const CommandOutcome late = thumbnail("--max-time 0.001 slow.kvr tumbler.png");
    EXPECT_EQ(late.status, 1);
    EXPECT_EQ(late.err, "slow.kvr: error: No thumbnail within the --max-time limit of 0.001 s\n");
    EXPECT_EQ(fs::file_size(folder / "tumbler.png"), 0u);
    EXPECT_EQ(thumbnail("--max-time 0 slow.kvr x.png").status, 2);
}

// A panel whose colour mixers the loader refuses with its message box, and passes over, loads to
// its end: every command says so with exit status 0 and reports the messages as messages. A panel
// whose load stops halfway fails every command; render still draws what was read.
TEST_F(Thumbnail, EveryCommandGivesAFileTheSameVerdict)
{
    std::vector<std::vector<std::uint8_t>> mixers;
    for (int i = 0; i < 3; ++i) {
        testing::RecordWriter named;  // the mixer's own reader takes no component name
        named.beginRecord("TCMY", "Mixer" + std::to_string(i)).end().end();
        mixers.push_back(named.bytes());
    }
    faderPanel("giants.kvr", mixers);
    testing::RecordWriter unsigned_;
    unsigned_.beginRecord("TSlider", "Fader3").end().end();
    std::vector<std::uint8_t> lost = unsigned_.bytes();
    lost[0] = 'X';
    faderPanel("stops.kvr", {lost});

    for (const auto& [file, status, message] : {std::tuple{"giants.kvr", 0, ": message: ValueType CMY ERROR!!!\n"},
                                                std::tuple{"stops.kvr", 1, ": message: Format ERROR!!!\n"}}) {
        const std::string f = file;
        const std::string said = f + message;
        const CommandOutcome dump = cli("dump " + f);
        EXPECT_EQ(dump.status, status) << f << dump.err;
        for (const auto& [command, outcome] :
             {std::pair{"harvest", cli("harvest " + f)}, std::pair{"extract", cli("extract -q --out x " + f)},
              std::pair{"render", cli("render " + f + " --out r.png")}, std::pair{"thumbnail", thumbnail(f + " t.png")}}) {
            EXPECT_EQ(outcome.status, status) << command << " " << f << "\n" << outcome.err;
            EXPECT_NE(outcome.err.find(said), std::string::npos) << command << " " << f << "\n" << outcome.err;
        }
        EXPECT_TRUE(testing::readPngFile((folder / "r.png").string())) << f;
        EXPECT_EQ(fs::exists(folder / "t.png"), status == 0) << f;
        fs::remove(folder / "r.png");
        fs::remove(folder / "t.png");
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
