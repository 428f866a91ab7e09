// The command-line harvest: which files a folder stands for, the folder walk's stopping rules,
// the JSON manifest and the PNG files.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <filesystem>
#include <sstream>

#include "cli/Harvest.h"
#include "panelfile/Json.h"
#include "framework/Control.h"
#include "panelfile/PictureFiles.h"
#include "support/BmpWriter.h"
#include "support/EveryPropertyPanel.h"
#include "support/FileWriter.h"
#include "support/PanelFileWriter.h"
#include "support/PngReference.h"
#include "support/RecordWriter.h"

namespace trovelin {
namespace {

using namespace testing;
namespace fs = std::filesystem;

std::vector<std::uint8_t> panelWithGlyphs(int glyphs, int width)
{
    PanelFileContent content;
    RecordWriter background;
    background.beginRecord("TImage", "Background").end().end();
    content.records.push_back(background.bytes());
    for (int i = 0; i < glyphs; ++i) {
        RecordWriter button;
        button.beginRecord("TSpeedButton", "B" + std::to_string(i))
            .property("Glyph.Data")
            .binary(bitmapPayload(makeBmp24(width, 2, [i](int, int) { return static_cast<std::uint32_t>(i); })))
            .end()
            .end();
        content.records.push_back(button.bytes());
    }
    return writePanelFile(content);
}

// A 4-bit run-length bitmap of one column whose header declares 16,187,394 rows: the data ends
// after the bottom row, which is red.
std::vector<std::uint8_t> panelWithTallPicture()
{
    BmpContent bmp;
    bmp.bitsPerPixel = 4;
    bmp.compression = BitmapCompression::Rle4;
    bmp.colorTable = {{255, 0, 0, 0}, {0, 0, 255, 0}};  // blue, red
    bmp.value = [](int, int) { return 1u; };
    std::vector<std::uint8_t> bytes = makeBmp(bmp);
    patchU32(bytes, 22, 16'187'394);  // the info header's height
    PanelFileContent content;
    RecordWriter background;
    background.beginRecord("TImage", "Background").property("Picture.Data").binary(picturePayload("TBitmap", bitmapPayload(bytes)));
    background.end().end();
    content.records.push_back(background.bytes());
    return writePanelFile(content);
}

class Harvest : public ::testing::Test {
protected:
    Harvest() { fs::create_directories(folder); }
    ~Harvest() override { fs::remove_all(folder); }

    std::string file(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = (folder / name).string();
        EXPECT_TRUE(writeFile(path, bytes));
        return path;
    }
    int run(cli::HarvestOptions options)
    {
        out.str("");
        progress.str("");
        options.quiet = true;
        return cli::harvest(options, out, progress);
    }

    fs::path folder = fs::temp_directory_path() / ("trovelin-harvest-" + std::to_string(::getpid()));
    std::ostringstream out;
    std::ostringstream progress;
};

TEST_F(Harvest, AFolderStandsForItsPanelFilesSortedByName)
{
    file("b.KVR", {});
    file("a.kvr", {});
    file("c.txt", {});
    fs::create_directories(folder / "d.kvr");
    EXPECT_EQ(cli::expandPanelPaths({folder.string(), "x.kvr"}),
              (std::vector<std::string>{(folder / "a.kvr").string(), (folder / "b.KVR").string(), "x.kvr"}));
}

TEST_F(Harvest, TheJsonManifestListsPicturesAndEventsAndThePngsMatch)
{
    const std::string first = file("1.kvr", panelWithGlyphs(2, 5));
    const std::string notPanel = file("2.kvr", {'J', 'U', 'N', 'K'});
    const std::string outFolder = (folder / "out").string();
    EXPECT_EQ(run({{folder.string()}, outFolder, true, false, false}), 1);  // a file named is no panel file
    EXPECT_EQ(out.str(), "{\"pictures\":[{\"index\":0,\"width\":5,\"height\":2,\"bpp\":24,\"file\":" +
                             jsonString(first) + ",\"record\":\"B0\",\"class\":\"TSpeedButton\",\"property\":\"Glyph\"}," +
                             "{\"index\":1,\"width\":5,\"height\":2,\"bpp\":24,\"file\":" + jsonString(first) +
                             ",\"record\":\"B1\",\"class\":\"TSpeedButton\",\"property\":\"Glyph\"}]," +
                             "\"events\":[{\"file\":" + jsonString(notPanel) +
                             ",\"kind\":\"status\",\"text\":\"Not KVR Format !!!\"}]}\n");
    QImage second(QString::fromStdString(outFolder + "/001.png"));
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(second.size(), QSize(5, 2));
    EXPECT_EQ(second.pixel(0, 0) & 0xFFFFFF, 1u);
    EXPECT_FALSE(fs::exists(outFolder + "/002.png"));
}

TEST_F(Harvest, AFolderWithoutPanelFilesIsReportedAndTheRunGoesOn)
{
    const std::string panel = file("1.kvr", panelWithGlyphs(1, 3));
    const fs::path empty = folder / "empty";
    fs::create_directories(empty);
    file("empty/notes.txt", {'x'});
    EXPECT_EQ(run({{empty.string(), panel}, "", false, false, false}), 0);
    EXPECT_EQ(progress.str(), "No panel files in " + empty.string() + "\n");
    EXPECT_NE(out.str().find("1 picture\n"), std::string::npos);
}

TEST_F(Harvest, TheWalkStopsWhenTheListIsFullOrALoadFails)
{
    file("1.kvr", panelWithGlyphs(300, 1));
    file("2.kvr", panelWithGlyphs(300, 2));
    const std::string third = file("3.kvr", panelWithGlyphs(1, 3));
    EXPECT_EQ(run({{folder.string()}, "", true, false, false}), 0);
    EXPECT_NE(out.str().find("\"index\":511,"), std::string::npos);
    // Never loaded: the list was full, which an event on the file says.
    EXPECT_EQ(out.str().find("\"file\":" + jsonString(third) + ",\"record\""), std::string::npos);
    EXPECT_NE(out.str().find("{\"file\":" + jsonString(third) +
                             ",\"kind\":\"status\",\"text\":\"Picture list full (512 pictures): 1 file not read\"}"),
              std::string::npos)
        << out.str();

    const std::string missing = (folder / "missing.kvr").string();
    EXPECT_EQ(run({{missing, third}, "", false, false, false}), 1);
    EXPECT_NE(out.str().find("0 pictures"), std::string::npos);
    EXPECT_NE(progress.str().find(missing + ": error: Cannot open file " + missing + ": No such file or directory\n" +
                                  missing + ": status: Stopped at the first error: 1 file not read (--keep-going reads on)\n"),
              std::string::npos)
        << progress.str();

    EXPECT_EQ(run({{missing, third}, "", false, true, false}), 1);
    EXPECT_NE(out.str().find("1 picture\n"), std::string::npos);
}

TEST_F(Harvest, PicturesBeforeAFailureAreKeptInEveryOutput)
{
    file("a.kvr", panelWithGlyphs(1, 4));
    std::vector<std::uint8_t> failing = panelWithGlyphs(1, 5);
    RecordWriter bad;
    bad.beginRecord("TLabel", "Label1").property("Top").tag(42).end().end();
    append(failing, bad.bytes());
    file("b.kvr", failing);
    file("c.kvr", panelWithGlyphs(1, 6));
    const std::string outFolder = (folder / "out").string();

    for (const bool keepGoing : {false, true}) {
        fs::remove_all(outFolder);
        EXPECT_EQ(run({{folder.string()}, outFolder, false, keepGoing, false}), 1);
        const int expected = keepGoing ? 3 : 2;  // a's glyph and b's, read before its failing record
        EXPECT_NE(out.str().find(std::to_string(expected) + " pictures\n"), std::string::npos) << keepGoing;
        EXPECT_NE(progress.str().find("b.kvr: error: Error reading Label1.Top"), std::string::npos);
        EXPECT_EQ(QImage(QString::fromStdString(outFolder + "/001.png")).size(), QSize(5, 2));
        EXPECT_EQ(fs::exists(outFolder + "/002.png"), keepGoing);
        EXPECT_EQ(run({{folder.string()}, "", true, keepGoing, false}), 1);
        EXPECT_NE(out.str().find("{\"index\":" + std::to_string(expected - 1) + ","), std::string::npos);
    }
}

// This test program creates no Qt application: a setter that measured or drew text during the
// load would abort it, as it once did the command-line harvest.
TEST_F(Harvest, EverySetterOfEveryClassRunsWithoutAnApplication)
{
    const std::string panel = file("every.kvr", everyLoaderClassPanel());
    const std::string outFolder = (folder / "out").string();
    EXPECT_EQ(run({{panel}, outFolder, false, false, false}), 0);
    EXPECT_EQ(out.str(), "index  size        bpp  record                              file\n"
                         "    0  40 x 30      24  Background.Picture (TImage)         " + panel + "\n"
                         "    1  12 x 6       24  SpeedButton1.Glyph (TSpeedButton)   " + panel + "\n"
                         "    2  12 x 6       24  MultiButton1.Glyph (TMultiButton)   " + panel + "\n"
                         "3 pictures\n");
    EXPECT_EQ(QImage(QString::fromStdString(outFolder + "/002.png")).size(), QSize(12, 6));
}

TEST_F(Harvest, TheTablesColumnsFitTheirWidestValue)
{
    file("1.kvr", panelWithGlyphs(2, 5));
    file("2.kvr", panelWithGlyphs(1, 1000000));  // "1000000 x 2" is wider than the column's heading
    EXPECT_EQ(run({{folder.string()}, "", false, false, false}), 0);
    std::istringstream table(out.str());
    std::string heading;
    std::getline(table, heading);
    for (std::string row; std::getline(table, row) && !row.ends_with("pictures");) {
        EXPECT_EQ(row.find(folder.string()), heading.find("file")) << row;
        EXPECT_EQ(row.find(" 24  "), heading.find("bpp")) << row;
    }
}

TEST_F(Harvest, TheTableEscapesControlCharactersFromPanelFiles)
{
    RecordWriter background;
    background.beginRecord("TImage", "Background").end().end();
    RecordWriter label;
    label.beginRecord("TLabel", "L\x1B[2J").end().end();
    PanelFileContent content;
    content.records = {background.bytes(), label.bytes()};
    EXPECT_EQ(run({{file("escape.kvr", writePanelFile(content))}, "", false, false, false}), 1);
    EXPECT_NE(progress.str().find(": error: ''L\\x1B[2J'' is not a valid component name\n"), std::string::npos);
    EXPECT_EQ(progress.str().find('\x1B'), std::string::npos);
}

TEST_F(Harvest, PicturesOfAnyShapeTheDecoderAcceptsAreWritten)
{
    file("tall.kvr", panelWithTallPicture());
    const std::string outFolder = (folder / "out").string();
    EXPECT_EQ(run({{folder.string()}, outFolder, false, false, false}), 0) << out.str();
    const auto png = readPngFile(outFolder + "/000.png");
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 1);
    EXPECT_EQ(png->height, 16'187'394);
    EXPECT_EQ(png->rgbAt(0, 0), 0x000000u);  // rows the runs never reached stay black
    EXPECT_EQ(png->rgbAt(0, png->height - 1), 0xFF0000u);
}

TEST_F(Harvest, AFailedWriteIsAnErrorAndLeavesNoFileBehind)
{
    file("1.kvr", panelWithGlyphs(3, 600));
    const std::string outFolder = (folder / "out").string();
    fs::create_directories(outFolder);
    ASSERT_TRUE(writeFile(outFolder + "/001.png", {'o', 'l', 'd'}));
    {
        FileSizeLimit limit(40);  // no PNG is this small
        EXPECT_EQ(run({{folder.string()}, outFolder, false, false, false}), 1);
    }
    EXPECT_NE(progress.str().find(outFolder + "/000.png: error: Cannot write " + outFolder + "/000.png: File too large\n" +
                                  outFolder + "/001.png: error: Cannot write " + outFolder + "/001.png: File too large\n"),
              std::string::npos)
        << progress.str();
    EXPECT_EQ(fileNames(outFolder), std::vector<std::string>{"001.png"});  // pictures.json is too large as well
    EXPECT_EQ(fs::file_size(outFolder + "/001.png"), 3u);
}

// The folder's names are the run's own: what holds one is replaced, never written through or
// waited on.
TEST_F(Harvest, ALinkOrAPipeInTheFolderIsReplacedNotWrittenThrough)
{
    file("1.kvr", panelWithGlyphs(1, 4));
    const std::string outFolder = (folder / "out").string();
    fs::create_directories(outFolder);
    const std::string victim = file("victim", {'m', 'i', 'n', 'e'});
    fs::create_symlink(victim, outFolder + "/000.png");
    ASSERT_EQ(::mkfifo((outFolder + "/pictures.json").c_str(), 0600), 0);
    EXPECT_EQ(run({{(folder / "1.kvr").string()}, outFolder, false, false, false}), 0);
    EXPECT_EQ(fs::file_size(victim), 4u);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(outFolder + "/000.png")));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(outFolder + "/pictures.json")));
}

// Pictures of earlier files are encoded while later files load.
TEST_F(Harvest, ManyPicturesOfManyFilesAreWrittenUnderTheirIndices)
{
    for (int f = 0; f < 4; ++f) file(std::to_string(f) + ".kvr", panelWithGlyphs(25, 3 + f));
    const std::string outFolder = (folder / "out").string();
    EXPECT_EQ(run({{folder.string()}, outFolder, false, false, false}), 0);
    EXPECT_EQ(fileNames(outFolder).size(), 101u);  // and pictures.json
    EXPECT_TRUE(fs::exists(outFolder + "/pictures.json"));
    for (int i = 0; i < 100; ++i) {
        const QImage picture(QString::fromStdString(outFolder + "/" + threeDigits(i) + ".png"));
        ASSERT_EQ(picture.size(), QSize(3 + i / 25, 2)) << i;
        EXPECT_EQ(picture.pixel(0, 0) & 0xFFFFFF, static_cast<unsigned>(i % 25)) << i;
    }
}

TEST(Json, StringsAreEscapedAndLatin1BytesBecomeUtf8)
{
    EXPECT_EQ(jsonString("a\"b\\c\n"), "\"a\\\"b\\\\c\\u000a\"");
    EXPECT_EQ(jsonString("caf\xC3\xA9"), "\"caf\xC3\xA9\"");  // valid UTF-8 stays
    EXPECT_EQ(jsonString("caf\xE9"), "\"caf\xC3\xA9\"");       // a Latin-1 byte is converted
}

}  // namespace
}  // namespace trovelin
