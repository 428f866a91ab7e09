#include "support/RecordWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "streaming/Extended.h"
#include "streaming/Reader.h"
#include "streaming/Stream.h"
#include "streaming/ValueTag.h"

namespace trovelin {
namespace {

std::array<std::uint8_t, 10> extendedPayload(double value)
{
    const std::vector<std::uint8_t> bytes = testing::RecordWriter().extended(value).bytes();
    EXPECT_EQ(bytes.size(), 11u);
    EXPECT_EQ(bytes[0], static_cast<std::uint8_t>(ValueTag::Extended));
    std::array<std::uint8_t, 10> payload{};
    std::copy(bytes.begin() + 1, bytes.end(), payload.begin());
    return payload;
}

TEST(RecordWriter, ExtendedRoundTripsEveryKindOfDouble)
{
    using limits = std::numeric_limits<double>;
    for (double value : {0.0, 1.0, -1.0, 0.1, -2.5, 1e300, -1e-300, 123456.789, limits::max(), limits::lowest(),
                         limits::min(), limits::denorm_min(), -limits::denorm_min(), 3e-310, limits::infinity(),
                         -limits::infinity()}) {
        EXPECT_EQ(extendedToDouble(extendedPayload(value)), value) << value;
    }
    EXPECT_TRUE(std::signbit(extendedToDouble(extendedPayload(-0.0))));
    EXPECT_TRUE(std::isnan(extendedToDouble(extendedPayload(limits::quiet_NaN()))));
}

// Pins the layout itself, which a round trip through two matching mistakes would not.
TEST(RecordWriter, ExtendedHasExplicitIntegerBitAndBias16383)
{
    EXPECT_EQ(extendedPayload(1.0), (std::array<std::uint8_t, 10>{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
    EXPECT_EQ(extendedPayload(-3.0), (std::array<std::uint8_t, 10>{0, 0, 0, 0, 0, 0, 0, 0xC0, 0x00, 0xC0}));
}

struct IntegerCase {
    std::int64_t value;
    ValueTag tag;
};

class RecordWriterInteger : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(RecordWriterInteger, UsesTheSmallestTagAndReadsBack)
{
    const IntegerCase c = GetParam();
    const std::vector<std::uint8_t> bytes = testing::RecordWriter().integer(c.value).bytes();
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(static_cast<ValueTag>(bytes[0]), c.tag);

    ByteViewStream stream(bytes);
    {
        Reader reader(stream);
        EXPECT_EQ(reader.readInteger(), c.value);
    }
    EXPECT_EQ(stream.position(), stream.size());  // the reader handed back nothing unread
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, RecordWriterInteger,
    ::testing::Values(IntegerCase{0, ValueTag::Int8}, IntegerCase{-128, ValueTag::Int8},
                      IntegerCase{127, ValueTag::Int8}, IntegerCase{128, ValueTag::Int16},
                      IntegerCase{-129, ValueTag::Int16}, IntegerCase{-32768, ValueTag::Int16},
                      IntegerCase{32767, ValueTag::Int16}, IntegerCase{32768, ValueTag::Int32},
                      IntegerCase{-32769, ValueTag::Int32}, IntegerCase{INT32_MAX, ValueTag::Int32},
                      IntegerCase{INT32_MIN, ValueTag::Int32}));

// A record using every kind of value is one the product's reader walks to its last byte.
TEST(RecordWriter, EveryValueKindIsSkippedExactly)
{
    const std::uint8_t blob[] = {1, 2, 3};
    testing::RecordWriter record;
    record.signature().prefix(prefixChildPosition, 300).names("TPanel", "Panel1");
    record.property("A").null().property("B").beginList().integer(5).string("x").end();
    record.property("C").extended(2.5).property("D").ident("clRed").property("E").boolean(true);
    record.property("F").binary(blob).property("G").set({"akLeft", "akTop"}).property("H").longString("long");
    record.property("I").nil().property("J").single(1.5f).property("K").currency(-12345).property("L").date(1.25);
    record.property("M").wideString(u"\u00e9t\u00e9");
    record.property("N").beginCollection().collectionItem().property("X").integer(1).end();
    record.collectionItem(7).end().end();
    record.end();
    record.prefix(prefixInherited).beginChild("TButton", "B1").end().end();
    record.end();

    ByteViewStream stream(record.bytes());
    {
        Reader reader(stream);
        reader.readSignature();
        reader.skipComponent(true);
    }
    EXPECT_EQ(stream.position(), stream.size());
}

}  // namespace
}  // namespace trovelin
