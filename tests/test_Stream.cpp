// Byte streams: exact reads, clamped seeks and the files a file stream refuses.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "streaming/Errors.h"
#include "streaming/Stream.h"

namespace trovelin {
namespace {

std::string openFailure(const std::string& path)
{
    try {
        FileStream stream(path);
    } catch (const EFOpenError& error) {
        return error.message();
    }
    return "opened";
}

TEST(Stream, ExactReadsFailAtTheEndWithStreamReadError)
{
    const std::uint8_t bytes[] = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xFF};
    ByteViewStream stream(bytes);
    EXPECT_EQ(stream.readU16(), 0x1234);
    EXPECT_EQ(stream.readU32(), 0x12345678u);
    try {
        stream.readU16();
        FAIL();
    } catch (const EReadError& error) {
        EXPECT_EQ(error.message(), "Stream read error");
    }
}

TEST(Stream, SeeksStayWithinTheData)
{
    MemoryStream stream(std::vector<std::uint8_t>(10, 1));
    EXPECT_EQ(stream.seek(-5, SeekOrigin::Begin), 0);
    EXPECT_EQ(stream.seek(50, SeekOrigin::Current), 10);
    EXPECT_EQ(stream.seek(-3, SeekOrigin::End), 7);
    EXPECT_EQ(stream.seek(INT64_MAX, SeekOrigin::End), 10);
    EXPECT_EQ(stream.remaining(), 0);
}

TEST(Stream, SubStreamsStayInsideTheirWindow)
{
    const std::uint8_t bytes[] = {1, 2, 3, 4, 5, 6, 7, 8};
    ByteViewStream base(bytes);
    base.seek(2, SeekOrigin::Begin);
    SubStream window(base, 3);
    std::uint8_t out[8]{};
    EXPECT_EQ(window.read(out, sizeof out), 3u);
    EXPECT_EQ(out[0], 3);
    EXPECT_EQ(out[2], 5);
    EXPECT_EQ(window.seek(-10, SeekOrigin::Current), 0);
    EXPECT_EQ(base.position(), 2);
    EXPECT_EQ(window.seek(1, SeekOrigin::End), 3);

    base.setPosition(6);
    EXPECT_EQ(SubStream(base, 100).size(), 2);  // a window never reaches past its stream's end
}

TEST(Stream, FileStreamsReadRegularFilesOnly)
{
    auto folder = std::filesystem::temp_directory_path() / ("trovelin-stream-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "panel.kvr", std::ios::binary) << "KVL0";
    FileStream file((folder / "panel.kvr").string());
    EXPECT_EQ(file.size(), 4);
    EXPECT_EQ(file.readToEnd(), (std::vector<std::uint8_t>{'K', 'V', 'L', '0'}));

    EXPECT_EQ(openFailure((folder / "missing.kvr").string()), "Cannot open file " + (folder / "missing.kvr").string());
    EXPECT_EQ(openFailure(folder.string()), "Cannot open file " + folder.string());
    auto fifo = folder / "fifo.kvr";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(openFailure(fifo.string()), "Cannot open file " + fifo.string());  // refused, not waited on
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace trovelin
