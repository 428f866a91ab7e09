// PNG files of decoded bitmaps and Qt images, read back by Qt's reader and by libpng, BMP files
// read back by Qt's reader, and the whole-file replacement that keeps a failed write from
// leaving anything under the final name.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/BitmapImage.h"
#include "framework/BmpWriter.h"
#include "framework/PngWriter.h"
#include "platform/FileBatch.h"
#include "platform/ReplacingFile.h"
#include "streaming/BitmapDecoder.h"
#include "streaming/Stream.h"
#include "streaming/Errors.h"
#include "support/BmpWriter.h"
#include "support/FileWriter.h"
#include "support/PngReference.h"

namespace trovelin {
namespace {

using namespace testing;
namespace fs = std::filesystem;

QImage readWithQt(const std::vector<std::uint8_t>& png)
{
    return QImage::fromData(png.data(), static_cast<int>(png.size()), "PNG");
}

// An image of every depth with bytes that vary along both axes; indexed depths get a short
// colour table, so that some indices fall past it.
std::shared_ptr<DibImage> patterned(int bitsPerPixel)
{
    auto image = std::make_shared<DibImage>(13, 7, bitsPerPixel);
    for (int y = 0; y < image->height(); ++y)
        for (std::size_t i = 0; i < image->stride(); ++i) image->scanLine(y)[i] = static_cast<std::uint8_t>(i * 37 + y * 11);
    if (bitsPerPixel <= 8)
        for (int i = 0; i < 3; ++i)
            image->colorTable.push_back({static_cast<std::uint8_t>(10 * i), static_cast<std::uint8_t>(20 + i), 200, 0});
    if (bitsPerPixel == 16) image->masks = {0xF800, 0x07E0, 0x001F};
    return image;
}

TEST(PngWriter, EveryDepthReadsBackAsTheColoursDrawingShows)
{
    for (int depth : {1, 4, 8, 16, 24, 32}) {
        const auto image = patterned(depth);
        const QImage expected = toQImage(image).convertToFormat(QImage::Format_RGB32);
        const QImage written = readWithQt(encodePng(*image)).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(written.size(), expected.size()) << depth;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                ASSERT_EQ(written.pixel(x, y), expected.pixel(x, y)) << depth << " at " << x << ", " << y;
    }
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_ARGB32}) {
        QImage image(9, 4, format);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 9; ++x) image.setPixel(x, y, qRgb(x * 20, y * 50, x * y));
        EXPECT_EQ(readWithQt(encodePng(image)).convertToFormat(QImage::Format_RGB32),
                  image.convertToFormat(QImage::Format_RGB32))
            << format;
    }
}

// Read back by the program's own decoder at the same depth and colours, and by Qt's reader,
// which widens 16-bit channels by shifting alone: it is the reference for the other depths.
TEST(BmpWriter, EveryDepthReadsBackAtItsDepthWithTheColoursDrawingShows)
{
    for (int depth : {1, 4, 8, 16, 24, 32}) {
        const auto image = patterned(depth);
        const std::vector<std::uint8_t> bmp = encodeBmp(*image);
        std::vector<std::uint8_t> data;
        putU32(data, static_cast<std::uint32_t>(bmp.size()));
        data.insert(data.end(), bmp.begin(), bmp.end());
        ByteViewStream stream(data);
        const auto decoded = decodeBitmapData(stream);
        ASSERT_TRUE(decoded) << depth;
        EXPECT_EQ(decoded->bitsPerPixel(), depth);
        for (int y = 0; y < image->height(); ++y)
            for (int x = 0; x < image->width(); ++x)
                ASSERT_EQ(decoded->pixel(x, y), image->pixel(x, y)) << depth << " at " << x << ", " << y;
        if (depth == 16) continue;
        const QImage read = QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), toQImage(image).convertToFormat(QImage::Format_RGB32))
            << depth;
    }
}

TEST(PngWriter, IndexedDepthsKeepTheirIndicesAndPalette)
{
    const auto png = readPng(encodePng(*patterned(4)));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->colorType, 3);
    EXPECT_EQ(png->bitDepth, 4);
}

// The tallest shape a tiny payload can declare: one 4-bit column of 16,187,394 rows.
TEST(PngWriter, PicturesOfMoreThanAMillionRowsAreWritten)
{
    DibImage tall(1, 16'187'394, 4);
    std::memset(tall.bits(), 0x00, tall.byteCount());
    tall.scanLine(tall.height() - 1)[0] = 0x10;
    tall.colorTable = {{255, 0, 0, 0}, {0, 0, 255, 0}};
    const auto png = readPng(encodePng(tall));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 1);
    EXPECT_EQ(png->height, 16'187'394);
    EXPECT_EQ(png->rgbAt(0, 0), 0x0000FFu);
    EXPECT_EQ(png->rgbAt(0, png->height - 1), 0xFF0000u);
}

// The umask as the kernel reports it, read without setting it.
mode_t umaskNow()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("Umask:")) return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    ADD_FAILURE() << "no Umask in /proc/self/status";
    return 0;
}

class ReplacingFile : public ::testing::Test {
protected:
    ReplacingFile() { fs::create_directories(folder); }
    ~ReplacingFile() override { fs::remove_all(folder); }

    std::vector<std::uint8_t> contents(const std::string& path)
    {
        std::vector<std::uint8_t> bytes(fs::file_size(path));
        FILE* file = std::fopen(path.c_str(), "rb");
        EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
        std::fclose(file);
        return bytes;
    }

    fs::path folder = fs::temp_directory_path() / ("trovelin-replacing-" + std::to_string(::getpid()));
    std::string path = (folder / "out.png").string();
};

TEST_F(ReplacingFile, ReplacesTheFileWholeWithTheUsualPermissions)
{
    ASSERT_TRUE(writeFile(path, std::vector<std::uint8_t>(100, 1)));
    writeFileReplacing(path, std::vector<std::uint8_t>{2, 3});
    EXPECT_EQ(contents(path), (std::vector<std::uint8_t>{2, 3}));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0666 & ~umaskNow()));
    EXPECT_EQ(fileNames(folder.string()), std::vector<std::string>{"out.png"});

    // The longest name a folder takes, new or replaced.
    const std::string longest = std::string(251, 'n') + ".png";
    writeFileReplacing((folder / longest).string(), std::vector<std::uint8_t>{4});
    writeFileReplacing((folder / longest).string(), std::vector<std::uint8_t>{5});
    EXPECT_EQ(contents((folder / longest).string()), std::vector<std::uint8_t>{5});
    EXPECT_EQ(fileNames(folder.string()).size(), 2u);
}

TEST_F(ReplacingFile, AFailedWriteLeavesNothingUnderTheNameAndAnOlderFileAsItWas)
{
    const std::vector<std::uint8_t> large(64 * 1024, 7);
    {
        FileSizeLimit limit(1000);
        EXPECT_THROW(
            try { writeFileReplacing(path, large); } catch (const Exception& error) {
                EXPECT_EQ(error.message(), "Cannot write " + path + ": File too large");
                throw;
            },
            Exception);
        EXPECT_TRUE(fileNames(folder.string()).empty());

        ASSERT_TRUE(writeFile(path, {1, 2, 3}));
        EXPECT_THROW(writeFileReplacing(path, large), Exception);
    }
    EXPECT_EQ(contents(path), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(fileNames(folder.string()), std::vector<std::string>{"out.png"});
    EXPECT_THROW(writeFileReplacing((folder / "missing" / "x.png").string(), large), Exception);
}

// A batch's files keep their temporary names until it commits, however many it holds, and a
// signal's cleanup finds every one of them.
TEST_F(ReplacingFile, ABatchNamesNothingBeforeItCommitsAndASignalLeavesNoneOfItsFiles)
{
    const auto writeHundred = [&](FileBatch& batch) {
        for (int i = 0; i < 100; ++i)
            batch.write((folder / ("p" + std::to_string(i) + ".png")).string(), std::vector<std::uint8_t>{1, 2});
    };
    FileBatch batch;
    writeHundred(batch);
    const std::vector<std::string> staged = fileNames(folder.string());
    EXPECT_EQ(staged.size(), 100u);
    EXPECT_TRUE(std::all_of(staged.begin(), staged.end(), [](const std::string& name) { return name[0] == '.'; }));
    EXPECT_TRUE(batch.commit().empty());
    EXPECT_EQ(contents((folder / "p99.png").string()), (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(fileNames(folder.string()).size(), 100u);

    fs::remove_all(folder);
    fs::create_directories(folder);
    EXPECT_EXIT(
        {
            FileBatch interrupted;
            writeHundred(interrupted);
            undoWritesInFlight();  // as the handler does before the process ends
            std::_Exit(fileNames(folder.string()).empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace trovelin
