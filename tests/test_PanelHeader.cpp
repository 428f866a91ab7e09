#include "panelfile/PanelHeader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "streaming/Stream.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"

namespace trovelin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Where the chunks may start: the end of the fixed tables of each variant.
constexpr std::size_t smallTablesEnd = 105;
constexpr std::size_t largeTablesEnd = 806;

std::size_t tablesEnd(bool large) { return large ? largeTablesEnd : smallTablesEnd; }
std::size_t blcoChunkSize(bool large) { return large ? 516 : 68; }
std::size_t smthChunkSize(bool large) { return large ? 36 : 8; }

struct HeaderRead {
    std::optional<PanelHeader> header;
    std::int64_t position = 0;  // where the stream stood afterwards
};

HeaderRead readHeader(const Bytes& bytes)
{
    ByteViewStream stream(bytes);
    HeaderRead result;
    result.header = readPanelHeader(stream);
    result.position = stream.position();
    return result;
}

Bytes backgroundRecord()
{
    return testing::RecordWriter().beginRecord("TImage", "Background").end().end().bytes();
}

// Tables full of distinct values, so that a shifted or mis-sized read cannot go unnoticed.
testing::PanelFileContent fullContent(bool large, std::uint16_t channelCount)
{
    testing::PanelFileContent content;
    content.large = large;
    content.channelCount = channelCount;
    const int channels = testing::panelTableChannels(large);
    for (int i = 0; i < channels / 32; ++i) content.channelBits.push_back(0x11111111u * static_cast<unsigned>(i + 1));
    for (int i = 0; i < channels; ++i) content.channelBytes.push_back(static_cast<std::uint8_t>(i * 7 + 3));
    for (int i = 0; i < channels; ++i) content.channelWords.push_back(static_cast<std::uint16_t>(0xA000 + i * 3));
    content.blco.emplace();
    for (int i = 0; i < channels; ++i) content.blco->push_back(static_cast<std::uint16_t>(0x5000 + i));
    content.smth.emplace();
    for (int i = 0; i < channels / 32; ++i) content.smth->push_back(0xF0F0F0F0u >> i);
    content.title = "Stage left";
    content.records = {backgroundRecord()};
    return content;
}

// The header a reader must produce for content whose SMTH bits are stored, not derived.
PanelHeader storedHeader(const testing::PanelFileContent& content, std::uint16_t channelCount)
{
    PanelHeader header;
    header.variant = content.large ? PanelVariant::Large : PanelVariant::Small;
    header.channelCount = channelCount;
    std::copy(content.channelBits.begin(), content.channelBits.end(), header.channelBits.begin());
    std::copy(content.channelBytes.begin(), content.channelBytes.end(), header.channelBytes.begin());
    std::copy(content.channelWords.begin(), content.channelWords.end(), header.channelWords.begin());
    if (content.blco) std::copy(content.blco->begin(), content.blco->end(), header.blco.begin());
    if (content.smth) std::copy(content.smth->begin(), content.smth->end(), header.smthBits.begin());
    header.hasBlco = content.blco.has_value();
    header.hasSmth = content.smth.has_value();
    header.title = content.title;
    return header;
}

struct CountCase {
    bool large;
    std::uint16_t written;
    std::uint16_t expected;
};

class PanelHeaderCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(PanelHeaderCount, TablesHaveTheVariantsSizeWhateverTheCount)
{
    const CountCase c = GetParam();
    testing::PanelFileContent content = fullContent(c.large, c.written);
    HeaderRead read = readHeader(testing::writePanelFile(content));

    ASSERT_TRUE(read.header);
    EXPECT_EQ(*read.header, storedHeader(content, c.expected));
    EXPECT_EQ(read.position, static_cast<std::int64_t>(tablesEnd(c.large) + blcoChunkSize(c.large) +
                                                       smthChunkSize(c.large) + 1 + content.title.size()));
}

INSTANTIATE_TEST_SUITE_P(Variants, PanelHeaderCount,
                         ::testing::Values(CountCase{false, 5, 5}, CountCase{false, 200, 200},
                                           CountCase{false, 255, 255}, CountCase{true, 0, 0},
                                           CountCase{true, 256, 256}, CountCase{true, 300, 256},
                                           CountCase{true, 0xFFFF, 256}));

struct ChunkCase {
    bool large;
    bool blco;
    bool smth;
};

class PanelHeaderChunks : public ::testing::TestWithParam<ChunkCase> {};

// Every chunk arrangement leaves the stream on the background record; the title is empty, so
// the length byte 0 is directly followed by the record.
TEST_P(PanelHeaderChunks, EachChunkIsFoundOnlyWherePresent)
{
    const ChunkCase c = GetParam();
    testing::PanelFileContent content = fullContent(c.large, c.large ? 256 : 32);
    content.channelBytes.assign(content.channelBytes.size(), 0);
    content.channelBytes[0] = 1;
    content.channelBytes[1] = 2;
    content.channelBytes[2] = 3;
    content.channelBytes[31] = 2;
    if (c.large) content.channelBytes[255] = 1;
    if (!c.blco) content.blco.reset();
    if (!c.smth) content.smth.reset();
    content.title.clear();
    Bytes file = testing::writePanelFile(content);

    ByteViewStream stream(file);
    std::optional<PanelHeader> header = readPanelHeader(stream);
    ASSERT_TRUE(header);

    PanelHeader expected = storedHeader(content, content.channelCount);
    if (!c.smth) {
        expected.smthBits[0] = 0x80000003;
        if (c.large) expected.smthBits[7] = 0x80000000;
    }
    EXPECT_EQ(*header, expected);
    EXPECT_EQ(stream.position(), static_cast<std::int64_t>(tablesEnd(c.large) + (c.blco ? blcoChunkSize(c.large) : 0) +
                                                           (c.smth ? smthChunkSize(c.large) : 0) + 1));
    char signature[4];
    stream.readExact(signature, 4);
    EXPECT_EQ(std::string(signature, 4), "TPF0");
}

INSTANTIATE_TEST_SUITE_P(Arrangements, PanelHeaderChunks,
                         ::testing::Values(ChunkCase{false, false, false}, ChunkCase{false, true, false},
                                           ChunkCase{false, false, true}, ChunkCase{false, true, true},
                                           ChunkCase{true, false, false}, ChunkCase{true, true, false},
                                           ChunkCase{true, false, true}, ChunkCase{true, true, true}));

struct DerivationCase {
    bool large;
    std::uint16_t count;
    std::uint8_t entry;  // every channel byte table entry
    ChannelBitSet expected;
};

class PanelHeaderDerivation : public ::testing::TestWithParam<DerivationCase> {};

TEST_P(PanelHeaderDerivation, OnlyChannelsBelowTheCountWithEntryOneOrTwoAreMarked)
{
    const DerivationCase c = GetParam();
    testing::PanelFileContent content;
    content.large = c.large;
    content.channelCount = c.count;
    content.channelBytes.assign(static_cast<std::size_t>(testing::panelTableChannels(c.large)), c.entry);

    HeaderRead read = readHeader(testing::writePanelFile(content));
    ASSERT_TRUE(read.header);
    EXPECT_EQ(read.header->smthBits, c.expected);
}

constexpr std::uint32_t all = 0xFFFFFFFF;
INSTANTIATE_TEST_SUITE_P(
    Counts, PanelHeaderDerivation,
    ::testing::Values(DerivationCase{false, 0, 1, {}}, DerivationCase{false, 3, 1, {0x7}},
                      // a small table ends at 32 channels however many the count claims
                      DerivationCase{false, 200, 2, {all}}, DerivationCase{false, 32, 3, {}},
                      DerivationCase{true, 33, 1, {all, 0x1}},
                      DerivationCase{true, 300, 2, {all, all, all, all, all, all, all, all}},
                      DerivationCase{true, 256, 0, {}}));

TEST(PanelHeader, SmthBeforeBlcoTakesTheBlcoTagAsTitle)
{
    testing::PanelFileContent content = fullContent(false, 32);
    content.smthBeforeBlco = true;
    Bytes file = testing::writePanelFile(content);

    HeaderRead read = readHeader(file);
    ASSERT_TRUE(read.header);
    EXPECT_EQ(read.header->smthBits[0], content.smth->front());
    EXPECT_EQ(read.header->blco, decltype(read.header->blco){});
    ASSERT_EQ(read.header->title.size(), 0x42u);  // the "B" of "BLCO"
    EXPECT_EQ(read.header->title.substr(0, 3), "LCO");
    // The background record is then looked for inside the BLCO data.
    const std::size_t blcoData = smallTablesEnd + smthChunkSize(false) + 4;
    EXPECT_EQ(read.position, static_cast<std::int64_t>(smallTablesEnd + smthChunkSize(false) + 1 + 0x42));
    EXPECT_LT(read.position, static_cast<std::int64_t>(blcoData + 64));
}

TEST(PanelHeader, MagicIsComparedByteForByte)
{
    testing::PanelFileContent content = fullContent(false, 32);
    for (const char* magic : {"kvl0", "Kvl0", "KVLp", "kvlp", "KVL1", "TPF0", " KVL"}) {
        content.magic = magic;
        EXPECT_FALSE(readHeader(testing::writePanelFile(content)).header) << magic;
    }
    for (const Bytes& shortFile : {Bytes{}, Bytes{'K'}, Bytes{'K', 'V', 'L'}})
        EXPECT_FALSE(readHeader(shortFile).header) << shortFile.size() << " bytes";
}

// A header cut anywhere inside its fixed tables reads as if the missing bytes were zero, and
// the stream is left at the end, where the background record read then fails.
TEST(PanelHeader, CutInsideTheTablesReadsMissingBytesAsZero)
{
    for (bool large : {false, true}) {
        Bytes file = testing::writePanelFile(fullContent(large, 20));
        for (std::size_t cut = 4; cut <= tablesEnd(large); ++cut) {
            Bytes truncated(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(cut));
            Bytes zeroPadded = truncated;
            zeroPadded.resize(tablesEnd(large) + 1);  // up to and with a title length of 0

            HeaderRead read = readHeader(truncated);
            ASSERT_TRUE(read.header) << "cut at " << cut;
            EXPECT_EQ(*read.header, *readHeader(zeroPadded).header) << "cut at " << cut;
            EXPECT_EQ(read.position, static_cast<std::int64_t>(cut));
        }
    }
}

struct TagCutCase {
    bool large;
    bool inBlcoTag;            // else in the SMTH tag after a whole BLCO chunk
    std::size_t tagBytesLeft;  // 1..3 bytes of the tag remain
    const char* title;         // what the tag's remains give as title
};

class PanelHeaderTagCut : public ::testing::TestWithParam<TagCutCase> {};

// Stepping back a whole tag would hand the end of the word table (or BLCO table) to the title;
// only the tag's own remains may be read again.
TEST_P(PanelHeaderTagCut, CutInsideAChunkTagStepsBackOnlyWhatWasRead)
{
    const TagCutCase c = GetParam();
    testing::PanelFileContent content = fullContent(c.large, 8);
    content.channelBytes[3] = 1;
    content.channelBytes[9] = 2;  // beyond the count
    Bytes file = testing::writePanelFile(content);
    const std::size_t tagAt = tablesEnd(c.large) + (c.inBlcoTag ? 0 : blcoChunkSize(c.large));
    file.resize(tagAt + c.tagBytesLeft);

    HeaderRead read = readHeader(file);
    ASSERT_TRUE(read.header);
    const PanelHeader whole = storedHeader(content, 8);
    EXPECT_EQ(read.header->channelWords, whole.channelWords);
    EXPECT_EQ(read.header->blco, c.inBlcoTag ? PanelHeader{}.blco : whole.blco);
    EXPECT_EQ(read.header->smthBits, (ChannelBitSet{0x8}));  // a cut tag counts as an absent chunk
    EXPECT_EQ(read.header->title, c.title);
    EXPECT_EQ(read.position, static_cast<std::int64_t>(file.size()));
}

INSTANTIATE_TEST_SUITE_P(Cuts, PanelHeaderTagCut,
                         ::testing::Values(TagCutCase{false, true, 1, ""}, TagCutCase{false, true, 2, "L"},
                                           TagCutCase{false, true, 3, "LC"}, TagCutCase{true, true, 2, "L"},
                                           TagCutCase{false, false, 2, "M"}, TagCutCase{true, false, 3, "MT"}));

TEST(PanelHeader, CutInsideTheBlcoDataKeepsTheEntriesRead)
{
    testing::PanelFileContent content = fullContent(false, 32);
    Bytes file = testing::writePanelFile(content);
    file.resize(smallTablesEnd + 4 + 2 * 5 + 1);  // five entries and one byte of the sixth

    HeaderRead read = readHeader(file);
    ASSERT_TRUE(read.header);
    EXPECT_EQ(read.header->blco[4], (*content.blco)[4]);
    EXPECT_EQ(read.header->blco[5], (*content.blco)[5] & 0xFF);
    EXPECT_EQ(read.header->blco[6], 0);
    EXPECT_EQ(read.header->title, "");
    EXPECT_EQ(read.position, static_cast<std::int64_t>(file.size()));
}

TEST(PanelHeader, EveryFileStartsFromZeroedTables)
{
    HeaderRead first = readHeader(testing::writePanelFile(fullContent(true, 256)));
    ASSERT_TRUE(first.header);
    ASSERT_NE(first.header->channelWords[255], 0);

    HeaderRead second = readHeader(testing::writePanelFile({}));
    ASSERT_TRUE(second.header);
    EXPECT_EQ(*second.header, PanelHeader{});
}

TEST(PanelHeader, ChannelBitsFollowWordThenBitOrder)
{
    ChannelBitSet bits{};
    bits[1] = 0x2;
    bits[7] = 0x80000000;
    EXPECT_TRUE(isChannelSet(bits, 33));
    EXPECT_TRUE(isChannelSet(bits, 255));
    EXPECT_FALSE(isChannelSet(bits, 32));
    EXPECT_FALSE(isChannelSet(bits, 1));
    EXPECT_FALSE(isChannelSet(bits, 256));
    EXPECT_FALSE(isChannelSet(bits, -1));
}

}  // namespace
}  // namespace trovelin
