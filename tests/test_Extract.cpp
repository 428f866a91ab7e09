// `extract` over folder trees: each file's pictures as `harvest FILE` gives them, the layout of
// the output folder, the manifest, --unique, and the walk's and the files' failures.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stop_token>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "cli/Extract.h"
#include "cli/ExtractProgress.h"
#include "cli/Harvest.h"
#include "cli/PictureDigest.h"
#include "streaming/BitmapDecoder.h"
#include "streaming/Stream.h"
#include "support/BmpWriter.h"
#include "support/FileWriter.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"

namespace trovelin {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// A background of `backgroundWidth` x 3 (none for 0) and one glyph per entry of `glyphColours`,
// each 4 x 2 in that colour.
std::vector<std::uint8_t> panel(int backgroundWidth, const std::vector<std::uint32_t>& glyphColours)
{
    PanelFileContent content;
    RecordWriter background;
    background.beginRecord("TImage", "Background");
    if (backgroundWidth > 0)
        background.property("Picture.Data")
            .binary(picturePayload("TBitmap", bitmapPayload(makeBmp24(backgroundWidth, 3, [](int x, int y) {
                                       return static_cast<std::uint32_t>(x * 40 + y);
                                   }))));
    background.end().end();
    content.records.push_back(background.bytes());
    for (std::size_t i = 0; i < glyphColours.size(); ++i) {
        RecordWriter button;
        const std::uint32_t colour = glyphColours[i];
        button.beginRecord("TSpeedButton", "B" + std::to_string(i))
            .property("Glyph.Data")
            .binary(bitmapPayload(makeBmp24(4, 2, [colour](int, int) { return colour; })))
            .end()
            .end();
        content.records.push_back(button.bytes());
    }
    return writePanelFile(content);
}

std::string readText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<QJsonObject> jsonLines(const std::string& text)
{
    std::vector<QJsonObject> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
        lines.push_back(document.object());
    }
    return lines;
}

class Extract : public ::testing::Test {
protected:
    Extract() { fs::create_directories(folder); }
    ~Extract() override
    {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }

    std::string file(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const fs::path path = folder / name;
        fs::create_directories(path.parent_path());
        EXPECT_TRUE(writeFile(path.string(), bytes));
        return path.string();
    }
    int run(const std::vector<std::string>& paths, const std::string& output, bool unique = false, unsigned jobs = 2,
            std::uint64_t budget = std::uint64_t{1} << 30)
    {
        cli::ExtractOptions options;
        options.paths = paths;
        options.outputFolder = output;
        options.unique = unique;
        options.jobs = jobs;
        options.pixelBudgetBytes = budget;
        options.quiet = true;
        out.str("");
        err.str("");
        return cli::extract(options, out, err);
    }
    std::vector<QJsonObject> manifest(const fs::path& output) { return jsonLines(readText(output / "manifest.jsonl")); }

    fs::path folder = fs::temp_directory_path() / ("trovelin-extract-" + std::to_string(::getpid()));
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(Extract, EachFileGivesWhatHarvestGivesForItAlone)
{
    const fs::path tree = folder / "tree";
    const std::vector<std::string> files{file("tree/top.kvr", panel(10, {0xFF0000, 0x00FF00})),
                                         file("tree/venue/a.kvr", panel(7, {0x0000FF})),
                                         file("tree/venue/deep/b.kvr", panel(0, {0x123456, 0x654321, 0x111111}))};
    ASSERT_EQ(run({tree.string()}, (folder / "out").string()), 0) << err.str();
    const std::vector<QJsonObject> lines = manifest(folder / "out");
    ASSERT_EQ(lines.size(), 8u);  // three files' pictures in file order

    std::size_t line = 0;
    for (const std::string& path : files) {
        const fs::path harvested = folder / "harvest";
        fs::remove_all(harvested);
        cli::HarvestOptions harvest;
        harvest.paths = {path};
        harvest.outputFolder = harvested.string();
        harvest.json = true;
        harvest.quiet = true;
        std::ostringstream json;
        std::ostringstream ignored;
        ASSERT_EQ(cli::harvest(harvest, json, ignored), 0);
        const QJsonObject expected = QJsonDocument::fromJson(QByteArray::fromStdString(json.str())).object();
        for (const QJsonValue value : expected.value("pictures").toArray()) {
            const QJsonObject picture = value.toObject();
            const QJsonObject& got = lines.at(line++);
            for (const char* key : {"file", "index", "width", "height", "bpp", "record", "class", "property"})
                EXPECT_EQ(got.value(key), picture.value(key)) << key << " of " << path;
            const std::string name = std::string(3 - std::to_string(picture.value("index").toInt()).size(), '0') +
                                     std::to_string(picture.value("index").toInt()) + ".png";
            EXPECT_EQ(readText(folder / "out" / got.value("png").toString().toStdString()), readText(harvested / name));
        }
    }
    EXPECT_EQ(lines[1].value("png").toString(), "tree/top/001.png");
    EXPECT_EQ(lines[3].value("png").toString(), "tree/venue/a/000.png");
    EXPECT_EQ(lines[6].value("png").toString(), "tree/venue/deep/b/001.png");
    EXPECT_EQ(lines[1].value("sha256").toString().size(), 64);
}

TEST_F(Extract, NamesKeepTheirBytesAndNeverShareAFolder)
{
    const std::string glyph = "\xff-\xe9 x";
    file("one/shows/-rf now.kvr", panel(0, {1}));
    file("one/shows/" + glyph + ".kvr", panel(0, {2}));
    file("one/shows/same.kvr", panel(0, {3}));
    file("one/shows/same.KVR", panel(0, {4}));
    file("two/shows/same.kvr", panel(0, {5}));
    const std::string loose = file("loose.kvr", panel(0, {6}));
    const fs::path output = folder / "out";
    ASSERT_EQ(run({(folder / "one/shows").string(), (folder / "two/shows/").string(), loose}, output.string()), 0)
        << err.str();
    std::map<std::string, std::string> pngOfFile;
    for (const QJsonObject& line : manifest(output)) {
        if (line.value("index").toInt() != 0) continue;
        const QByteArray png = line.contains("png_bytes") ? QByteArray::fromHex(line.value("png_bytes").toString().toLatin1())
                                                          : line.value("png").toString().toUtf8();
        const std::string file = line.contains("file_bytes")
                                     ? QByteArray::fromHex(line.value("file_bytes").toString().toLatin1()).toStdString()
                                     : line.value("file").toString().toStdString();
        pngOfFile[fs::path(file).lexically_relative(folder).string()] = png.toStdString();
        EXPECT_TRUE(fs::is_regular_file(output / png.toStdString())) << png.toStdString();
    }
    EXPECT_EQ(pngOfFile, (std::map<std::string, std::string>{
                             {"one/shows/-rf now.kvr", "shows/-rf now/000.png"},
                             {"one/shows/" + glyph + ".kvr", "shows/" + glyph + "/000.png"},
                             {"one/shows/same.KVR", "shows/same/000.png"},
                             {"one/shows/same.kvr", "shows/same~2/000.png"},
                             {"two/shows/same.kvr", "shows~2/same/000.png"},
                             {"loose.kvr", "loose/000.png"},
                         }));
}

TEST_F(Extract, ANameOfTheLongestLengthStillStepsAside)
{
    const std::string longest(255, 'b');
    const std::string pictureLike = std::string(251, '0') + ".png";
    file("one/" + longest + "/x.kvr", panel(0, {1}));
    file("two/" + longest + "/x.kvr", panel(0, {2}));
    file("three/" + pictureLike + "/x.kvr", panel(0, {3}));
    const fs::path output = folder / "out";
    ASSERT_EQ(run({(folder / "one" / longest).string(), (folder / "two" / longest).string(), (folder / "three").string()},
                  output.string()),
              0)
        << err.str();
    std::vector<std::string> pngs;
    for (const QJsonObject& line : manifest(output)) pngs.push_back(line.value("png").toString().toStdString());
    EXPECT_EQ(pngs, (std::vector<std::string>{longest + "/x/000.png", longest.substr(0, 253) + "~2/x/000.png",
                                              "three/" + pictureLike.substr(0, 253) + "~2/x/000.png"}));
}

TEST_F(Extract, UniqueWritesEachContentOnceAndPointsTheRestAtIt)
{
    for (int i = 0; i < 12; ++i) file("tree/p" + std::to_string(10 + i) + ".kvr", panel(5 + i % 2, {0xAA0000, 0x00BB00}));
    const fs::path output = folder / "out";
    ASSERT_EQ(run({(folder / "tree").string()}, output.string(), true), 0) << err.str();
    std::map<std::string, std::string> firstPng;
    std::set<std::string> named;
    for (const QJsonObject& line : manifest(output)) {
        if (line.value("png").isNull()) continue;
        const std::string digest = line.value("sha256").toString().toStdString();
        const std::string png = line.value("png").toString().toStdString();
        firstPng.try_emplace(digest, png);
        EXPECT_EQ(png, firstPng[digest]);
        named.insert(png);
    }
    std::set<std::string> firsts;  // two backgrounds, two glyphs
    for (const auto& [digest, png] : firstPng) firsts.insert(png);
    EXPECT_EQ(firsts, (std::set<std::string>{"tree/p10/000.png", "tree/p10/001.png", "tree/p10/002.png", "tree/p11/000.png"}));
    std::set<std::string> written;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(output))
        if (entry.path().extension() == ".png") written.insert(entry.path().lexically_relative(output).string());
    EXPECT_EQ(written, named);
}

// What an earlier run wrote and this one does not goes; nothing else does, whatever the earlier
// manifest names.
TEST_F(Extract, ARerunKeepsTheFolderTrueToItsManifest)
{
    const fs::path output = folder / "out";
    const std::string show = file("tree/show.kvr", panel(5, {0x10, 0x20, 0x30}));
    file("tree/copy.kvr", panel(5, {0x10, 0x20, 0x30}));
    ASSERT_EQ(run({(folder / "tree").string()}, output.string()), 0) << err.str();
    const auto pngFiles = [&] {
        std::set<std::string> found;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(output))
            if (entry.is_regular_file() && entry.path().extension() == ".png")
                found.insert(entry.path().lexically_relative(output).string());
        return found;
    };
    const auto namedPngs = [&] {
        std::set<std::string> named;
        for (const QJsonObject& line : manifest(output))
            if (line.value("png").isString()) named.insert(line.value("png").toString().toStdString());
        return named;
    };
    ASSERT_EQ(pngFiles().size(), 8u);
    // Files of our own beside the pictures, and a numbered one the manifest does not list.
    file("out/tree/show/notes.png", {1});
    file("out/tree/show/999.png", {2});

    // The file now has fewer pictures.
    writeFile(show, panel(5, {0x10}));
    ASSERT_EQ(run({(folder / "tree").string()}, output.string()), 0) << err.str();
    EXPECT_EQ(pngFiles(), (std::set<std::string>{"tree/copy/000.png", "tree/copy/001.png", "tree/copy/002.png",
                                                 "tree/copy/003.png", "tree/show/000.png", "tree/show/001.png",
                                                 "tree/show/999.png", "tree/show/notes.png"}));

    // A plain run, then a --unique one: the copies go.
    ASSERT_EQ(run({(folder / "tree").string()}, output.string(), true), 0) << err.str();
    std::set<std::string> expected = namedPngs();
    expected.insert({"tree/show/999.png", "tree/show/notes.png"});
    EXPECT_EQ(pngFiles(), expected);
    EXPECT_FALSE(fs::exists(output / "tree/show/000.png"));  // a copy of tree/copy/000.png

    // A manifest someone edited to name what lies outside, through "..", an absolute path or a
    // link, or what is no picture of ours.
    file("out/tree/show/000.png", {5});
    file("outside/000.png", {3});
    file("outside/x/000.png", {4});
    fs::create_directory_symlink(folder / "outside", output / "link");
    std::ofstream(output / "manifest.jsonl")
        << "{\"png\":\"../outside/000.png\"}\n{\"png\":\"" << (folder / "outside/x/000.png").string()
        << "\"}\n{\"png\":\"link/000.png\"}\n{\"png\":\"tree/./show/000.png\"}\n"
        << "{\"png\":\"tree/show/notes.png\"}\n{\"png\":\"x\",\"png_bytes\":\"2e2e2f6f7574736964652f3030302e706e67\"}\n";
    ASSERT_EQ(run({(folder / "tree/copy.kvr").string()}, output.string()), 0) << err.str();
    EXPECT_TRUE(fs::exists(folder / "outside/000.png"));
    EXPECT_TRUE(fs::exists(folder / "outside/x/000.png"));
    EXPECT_TRUE(fs::exists(output / "tree/show/000.png"));
    EXPECT_TRUE(fs::exists(output / "tree/show/notes.png"));
}

// What another program left where the outputs go is replaced, never written through: a link
// named manifest.jsonl leads out of the folder, a named pipe nobody reads would hold the run. A
// killed run's temporary pictures go with the rerun.
TEST_F(Extract, WhatLiesWhereTheOutputsGoIsReplacedNotWrittenThrough)
{
    const std::string show = file("show.kvr", panel(5, {0x10}));
    const fs::path output = folder / "out";
    file("precious.txt", {'k', 'e', 'e', 'p'});
    fs::create_directories(output / "show");
    fs::create_symlink(folder / "precious.txt", output / "manifest.jsonl");
    ASSERT_EQ(::mkfifo((output / "show/000.png").c_str(), 0644), 0);
    file("out/show/.001.png.Xy12Z9", {1});
    file("out/show/.001.png.mine", {2});
    ASSERT_EQ(run({show}, output.string()), 0) << err.str();
    EXPECT_FALSE(fs::exists(output / "show/.001.png.Xy12Z9"));
    EXPECT_TRUE(fs::exists(output / "show/.001.png.mine"));
    EXPECT_EQ(readText(folder / "precious.txt"), "keep");
    EXPECT_FALSE(fs::is_symlink(output / "manifest.jsonl"));
    EXPECT_EQ(manifest(output).size(), 2u);
    EXPECT_TRUE(fs::is_regular_file(output / "show/000.png"));

    fs::remove(output / "manifest.jsonl");
    ASSERT_EQ(::mkfifo((output / "manifest.jsonl").c_str(), 0644), 0);
    EXPECT_EQ(run({show}, output.string()), 1);
    EXPECT_NE(err.str().find("Cannot write " + (output / "manifest.jsonl").string() + ": No such device or address"),
              std::string::npos)
        << err.str();

    // A link to another file's folder would put one file's pictures over the other's.
    fs::remove(output / "manifest.jsonl");
    const std::string other = file("other.kvr", panel(9, {}));
    fs::create_directory_symlink("show", output / "other");
    EXPECT_EQ(run({show, other}, output.string()), 1);
    EXPECT_NE(err.str().find("Cannot write " + (output / "other").string() + ": a symbolic link leads elsewhere in " +
                             output.string()),
              std::string::npos)
        << err.str();
    EXPECT_EQ(readText(output / "show/000.png").substr(16, 4), std::string("\0\0\0\5", 4));  // the PNG's width
}

// The list stops at 512 pictures within a file, and the manifest says how many it left.
TEST_F(Extract, AFileOfMorePicturesThanTheListHoldsSaysSo)
{
    const std::string crowded = file("crowded.kvr", panel(5, std::vector<std::uint32_t>(600, 0x123456)));
    const fs::path output = folder / "out";
    ASSERT_EQ(run({crowded}, output.string()), 0) << err.str();
    const std::vector<QJsonObject> lines = manifest(output);
    ASSERT_EQ(lines.size(), 513u);
    EXPECT_EQ(lines.back().value("kind").toString().toStdString(), "status");
    EXPECT_EQ(lines.back().value("text").toString().toStdString(),
              "Picture list full (512 pictures): 89 pictures of " + crowded + " not read");
    EXPECT_NE(err.str().find("89 pictures of"), std::string::npos) << err.str();

    cli::HarvestOptions options;
    options.paths = {crowded};
    options.quiet = true;
    std::ostringstream table;
    std::ostringstream events;
    EXPECT_EQ(cli::harvest(options, table, events), 0);
    EXPECT_NE(events.str().find("Picture list full (512 pictures): 89 pictures of " + crowded + " not read"),
              std::string::npos)
        << events.str();
}

TEST_F(Extract, LoopsAndFailingFilesAreReportedAndTheRunGoesOn)
{
    file("tree/a.kvr", panel(3, {}));
    file("tree/b.kvr", {'J', 'U', 'N', 'K'});
    std::vector<std::uint8_t> failing = panel(4, {});
    RecordWriter bad;
    bad.beginRecord("TLabel", "Label1").property("Top").tag(42).end().end();
    failing.insert(failing.end(), bad.bytes().begin(), bad.bytes().end());
    file("tree/c.kvr", failing);
    file("tree/sub/d.kvr", panel(5, {}));
    fs::create_directory_symlink("..", folder / "tree/sub/up");
    fs::create_symlink("self.kvr", folder / "tree/self.kvr");
    const fs::path output = folder / "out";
    EXPECT_EQ(run({(folder / "tree").string()}, output.string()), 1);
    std::vector<std::string> seen;
    for (const QJsonObject& line : manifest(output))
        seen.push_back(fs::path(line.value("file").toString().toStdString()).filename().string() + " " +
                       (line.contains("kind") ? line.value("text").toString().toStdString()
                                              : std::to_string(line.value("width").toInt())));
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "a.kvr 3", "b.kvr Not KVR Format !!!", "c.kvr 4",
                        "c.kvr Error reading Label1.Top: Invalid property value",
                        "self.kvr Cannot open file " + (folder / "tree/self.kvr").string() +
                            ": Too many levels of symbolic links",
                        "d.kvr 5"}));
    EXPECT_NE(err.str().find("c.kvr: error: Error reading Label1.Top"), std::string::npos) << err.str();
    EXPECT_TRUE(fs::exists(output / "tree/c/000.png"));  // read before the failing record
}

TEST_F(Extract, TwoHalvesConcatenatedGiveWhatOneRunGives)
{
    for (const char* venue : {"v1", "v2", "v3"})
        for (int i = 0; i < 3; ++i) file(std::string("tree/") + venue + "/s" + std::to_string(i) + ".kvr", panel(2 + i, {0x10u * i}));
    const auto pictures = [](const std::vector<QJsonObject>& lines) {
        std::multiset<std::string> found;
        for (const QJsonObject& line : lines)
            found.insert(line.value("file").toString().toStdString() + " " + std::to_string(line.value("index").toInt()) +
                         " " + line.value("sha256").toString().toStdString());
        return found;
    };
    const std::string tree = (folder / "tree").string();
    ASSERT_EQ(run({tree + "/v1", tree + "/v2"}, (folder / "half1").string(), false, 1), 0);
    ASSERT_EQ(run({tree + "/v3"}, (folder / "half2").string(), false, 1), 0);
    ASSERT_EQ(run({tree}, (folder / "whole").string()), 0);
    std::vector<QJsonObject> halves = manifest(folder / "half1");
    for (const QJsonObject& line : manifest(folder / "half2")) halves.push_back(line);
    EXPECT_EQ(pictures(halves), pictures(manifest(folder / "whole")));
    EXPECT_EQ(pictures(halves).size(), 18u);
}

// Files in flight share the pixel budget; one that passes it only because of the others loads
// again alone and succeeds, as `harvest FILE` would.
TEST_F(Extract, AFileThatFitsTheBudgetAloneNeverFailsForItsNeighbours)
{
    // Each file's pixels stay charged while its PNG is written, so neighbours overlap.
    for (int i = 0; i < 16; ++i) file("tree/p" + std::to_string(i) + ".kvr", panel(1000, {}));
    const std::uint64_t oneBackground = 3000 * 3;
    const std::string output = (folder / "out").string();
    EXPECT_EQ(run({(folder / "tree").string()}, output, false, 2, oneBackground + 100), 0) << err.str();
    EXPECT_EQ(run({(folder / "tree").string()}, output, false, 2, oneBackground - 100), 1);
    EXPECT_NE(err.str().find("Out of memory"), std::string::npos);
}

// A small file system of its own, full but for `freeBytes`; unmounted when the test ends.
class SmallDisk {
public:
    SmallDisk(const fs::path& where, off_t freeBytes) : where_(where)
    {
        fs::create_directories(where);
        mounted_ = std::system(("mount -t tmpfs -o size=1M tmpfs '" + where.string() + "' 2>/dev/null").c_str()) == 0;
        if (!mounted_) return;
        const int fill = ::open((where / "fill").c_str(), O_WRONLY | O_CREAT, 0600);
        const std::vector<char> page(4096, 'x');
        off_t size = 0;
        while (::write(fill, page.data(), page.size()) == static_cast<ssize_t>(page.size())) size += 4096;
        EXPECT_EQ(::ftruncate(fill, size - freeBytes), 0);
        ::close(fill);
    }
    ~SmallDisk()
    {
        if (mounted_) {
            EXPECT_EQ(std::system(("umount '" + where_.string() + "'").c_str()), 0);
        }
    }
    bool mounted() const { return mounted_; }

private:
    fs::path where_;
    bool mounted_ = false;
};

TEST_F(Extract, AFullDiskLeavesTheManifestOnItsLastWholeLine)
{
    for (int i = 0; i < 30; ++i) file("tree/p" + std::to_string(i) + ".kvr", panel(0, {1, 2, 3}));
    const fs::path disk = folder / "disk";
    const SmallDisk small(disk, 8192);
    if (!small.mounted()) GTEST_SKIP() << "mount -t tmpfs was refused: a full disk cannot be made here";
    // The pictures' folder cannot be made, so that only the manifest's lines fill the disk.
    fs::create_directories(disk / "out");
    std::ofstream(disk / "out/tree").close();
    EXPECT_EQ(run({(folder / "tree").string()}, (disk / "out").string()), 1);
    EXPECT_NE(err.str().find("manifest.jsonl: error: Cannot write " + (disk / "out/manifest.jsonl").string() +
                             ": No space left on device"),
              std::string::npos)
        << err.str();
    const std::string text = readText(disk / "out/manifest.jsonl");
    ASSERT_GT(text.size(), 4096u);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(jsonLines(text).size(), static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
}

TEST(ExtractProgress, SaysHowFarAndHowLongStill)
{
    EXPECT_EQ(cli::ExtractProgress::text(120, 1000, 410, 85.2), "120 of 1000 files, 410 pictures, 85 files/s, 11 s left");
    EXPECT_EQ(cli::ExtractProgress::text(10, 5000, 1, 0.2), "10 of 5000 files, 1 picture, <1 files/s, 6 h 55 min left");
    EXPECT_EQ(cli::ExtractProgress::text(3, 3, 9, 40), "3 of 3 files, 9 pictures, 40 files/s");
}

TEST(PictureDigest, NamesTheContentWhateverTheStoredForm)
{
    const auto digest = [](const BmpContent& content) {
        const std::vector<std::uint8_t> data = bitmapPayload(makeBmp(content));
        ByteViewStream stream(data);
        return cli::pictureDigest(decodeBitmapData(stream).get());
    };
    BmpContent indexed;
    indexed.width = 3;
    indexed.height = 2;
    indexed.bitsPerPixel = 4;
    indexed.colorTable = {{0, 0, 0, 0}, {10, 20, 30, 0}};
    indexed.value = [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 2); };
    BmpContent sameTopDown = indexed;
    sameTopDown.topDown = true;
    BmpContent sameFullTable = indexed;
    sameFullTable.colorTable.resize(16);
    BmpContent otherPalette = indexed;
    otherPalette.colorTable[1].red = 11;
    EXPECT_EQ(digest(sameTopDown), digest(indexed));
    EXPECT_EQ(digest(sameFullTable), digest(indexed));
    EXPECT_NE(digest(otherPalette), digest(indexed));

    BmpContent colours;
    colours.width = 3;
    colours.height = 2;
    colours.value = [](int x, int y) { return static_cast<std::uint32_t>(0x102030 * (x + 1) + y); };
    BmpContent sameAt32 = colours;
    sameAt32.bitsPerPixel = 32;
    EXPECT_EQ(digest(sameAt32), digest(colours));
    EXPECT_EQ(cli::pictureDigest(nullptr).size(), 64u);
}


// A caller that is no program with signals (the Python package) stops a run through its token:
// the files in flight finish, the manifest holds whole lines of whole files only.
TEST_F(Extract, AStopTokenEndsTheRunWithWholeFilesOnly)
{
    for (int i = 0; i < 40; ++i) file("tree/f" + std::to_string(100 + i) + ".kvr", panel(i % 7, {0xFF0000, 0x00FF00}));
    cli::ExtractOptions options;
    options.paths = {(folder / "tree").string()};
    options.outputFolder = (folder / "out").string();
    options.jobs = 2;
    options.pixelBudgetBytes = std::uint64_t{1} << 30;
    options.quiet = true;
    std::stop_source stop;
    options.stop = stop.get_token();
    stop.request_stop();
    EXPECT_EQ(cli::extract(options, out, err), cli::extractInterrupted);
    EXPECT_NE(err.str().find("Interrupted after "), std::string::npos) << err.str();
    const std::vector<QJsonObject> lines = manifest(folder / "out");
    EXPECT_LT(lines.size(), 80u);  // the 40 files were not all read
    for (const QJsonObject& line : lines)
        EXPECT_TRUE(fs::exists(folder / "out" / line.value("png").toString().toStdString())) << line.value("png").toString().toStdString();
}

}  // namespace
}  // namespace trovelin
