// The reader's value level: every tag, the value readers' conversions, list markers,
// skipping, nesting limits and declared lengths.

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "streaming/Errors.h"
#include "streaming/Reader.h"
#include "streaming/Stream.h"
#include "support/RecordWriter.h"

namespace trovelin {
namespace {

using testing::RecordWriter;

// A reader over the writer's bytes; the stream outlives the reader.
struct ReaderFixture {
    explicit ReaderFixture(const RecordWriter& writer) : bytes(writer.bytes()), stream(bytes), reader(stream) {}
    std::vector<std::uint8_t> bytes;
    ByteViewStream stream;
    Reader reader;
};

template <class F> std::string failureOf(F&& action)
{
    try {
        action();
    } catch (const EReadError& error) {
        return error.message();
    }
    return "no failure";
}

TEST(ReaderValues, IntegerTagsAreSignedAndAnyWidthIsAccepted)
{
    ReaderFixture f(RecordWriter().int8(-1).int16(-300).int32(-70000).integer(127).integer(128).integer(32768));
    EXPECT_EQ(f.reader.readInteger(), -1);  // 0xFF is -1, not 255
    EXPECT_EQ(f.reader.readInteger(), -300);
    EXPECT_EQ(f.reader.readInteger(), -70000);
    EXPECT_EQ(f.reader.readInteger(), 127);
    EXPECT_EQ(f.reader.readInteger(), 128);
    EXPECT_EQ(f.reader.readInteger(), 32768);
}

TEST(ReaderValues, NumericReadersAcceptIntegerTags)
{
    ReaderFixture f(RecordWriter()
                        .extended(-2.5)
                        .integer(3)
                        .single(1.25f)
                        .integer(-4)
                        .currency(123456)
                        .integer(7)
                        .date(45000.75)
                        .integer(2));
    EXPECT_DOUBLE_EQ(f.reader.readFloat(), -2.5);
    EXPECT_DOUBLE_EQ(f.reader.readFloat(), 3.0);
    EXPECT_FLOAT_EQ(f.reader.readSingle(), 1.25f);
    EXPECT_FLOAT_EQ(f.reader.readSingle(), -4.0f);
    EXPECT_EQ(f.reader.readCurrency(), 123456);
    EXPECT_EQ(f.reader.readCurrency(), 70000);  // an integer amount is scaled by 10000
    EXPECT_DOUBLE_EQ(f.reader.readDate(), 45000.75);
    EXPECT_DOUBLE_EQ(f.reader.readDate(), 2.0);
}

TEST(ReaderValues, TinyExtendedValuesAreRoundedOnce)
{
    // 2^-1075 * (1 + 2^-60): just above half the smallest double, so it rounds up to it.
    // Rounding the 64-bit mantissa to 53 bits first would make it an exact half and round to 0.
    const std::uint64_t mantissa = 0x8000000000000008ull;
    const unsigned exponent = 16383 + 63 - 1138;
    std::vector<std::uint8_t> payload;
    for (int i = 0; i < 8; ++i) payload.push_back(static_cast<std::uint8_t>(mantissa >> (8 * i)));
    payload.push_back(static_cast<std::uint8_t>(exponent));
    payload.push_back(static_cast<std::uint8_t>(exponent >> 8));
    ReaderFixture f(RecordWriter().tag(5).raw(payload));
    EXPECT_EQ(f.reader.readFloat(), std::numeric_limits<double>::denorm_min());
}

TEST(ReaderValues, TextReaders)
{
    ReaderFixture f(RecordWriter()
                        .string("short")
                        .longString(std::string(300, 'x'))
                        .wideString(u"\u00e9t\u00e9")
                        .ident("clRed")
                        .boolean(false)
                        .boolean(true)
                        .nil()
                        .null()
                        .set({"akLeft", "akTop"})
                        .set({})
                        .string("Q"));
    EXPECT_EQ(f.reader.readString(), "short");
    EXPECT_EQ(f.reader.readString(), std::string(300, 'x'));
    EXPECT_EQ(f.reader.readWideString(), u"\u00e9t\u00e9");
    EXPECT_EQ(f.reader.readIdent(), "clRed");
    EXPECT_EQ(f.reader.readIdent(), "False");
    EXPECT_EQ(f.reader.readIdent(), "True");
    EXPECT_EQ(f.reader.readIdent(), "nil");
    EXPECT_EQ(f.reader.readIdent(), "Null");
    EXPECT_EQ(f.reader.readSet(), (std::vector<std::string>{"akLeft", "akTop"}));
    EXPECT_TRUE(f.reader.readSet().empty());
    EXPECT_EQ(f.reader.readChar(), 'Q');
}

TEST(ReaderValues, BooleanIsTrueOnlyForTheTrueTag)
{
    ReaderFixture f(RecordWriter().boolean(true).boolean(false).integer(1).ident("True"));
    EXPECT_TRUE(f.reader.readBoolean());
    EXPECT_FALSE(f.reader.readBoolean());
    EXPECT_FALSE(f.reader.readBoolean());
    EXPECT_FALSE(f.reader.readBoolean());
}

TEST(ReaderValues, WrongTagsAreInvalidPropertyValues)
{
    const std::vector<std::pair<const char*, std::function<void(Reader&)>>> readers = {
        {"integer", [](Reader& r) { r.readInteger(); }},      {"float", [](Reader& r) { r.readFloat(); }},
        {"string", [](Reader& r) { r.readString(); }},        {"wide", [](Reader& r) { r.readWideString(); }},
        {"ident", [](Reader& r) { r.readIdent(); }},          {"set", [](Reader& r) { r.readSet(); }},
        {"char", [](Reader& r) { r.readChar(); }},            {"list begin", [](Reader& r) { r.readListBegin(); }},
        {"list end", [](Reader& r) { r.readListEnd(); }},
    };
    for (const auto& [what, read] : readers) {
        ReaderFixture f(RecordWriter().tag(19));
        EXPECT_EQ(failureOf([&] { read(f.reader); }), "Invalid property value") << what;
    }
    ReaderFixture twoLetters(RecordWriter().string("ab"));
    EXPECT_EQ(failureOf([&] { twoLetters.reader.readChar(); }), "Invalid property value");
}

TEST(ReaderValues, VariantsTakeTheStoredType)
{
    ReaderFixture f(RecordWriter()
                        .null()
                        .nil()
                        .integer(-5)
                        .extended(0.5)
                        .string("s")
                        .longString("long")
                        .boolean(true)
                        .single(2.0f)
                        .currency(10000)
                        .date(1.5)
                        .wideString(u"w"));
    EXPECT_EQ(f.reader.readVariant(), Variant(VariantNull{}));
    EXPECT_EQ(f.reader.readVariant(), Variant(VariantUnassigned{}));
    EXPECT_EQ(f.reader.readVariant(), Variant(std::int32_t{-5}));
    EXPECT_EQ(f.reader.readVariant(), Variant(0.5));
    EXPECT_EQ(f.reader.readVariant(), Variant(std::string("s")));
    EXPECT_EQ(f.reader.readVariant(), Variant(std::string("long")));
    EXPECT_EQ(f.reader.readVariant(), Variant(true));
    EXPECT_EQ(f.reader.readVariant(), Variant(2.0f));
    EXPECT_EQ(f.reader.readVariant(), Variant(Currency{10000}));
    EXPECT_EQ(f.reader.readVariant(), Variant(DateTime{1.5}));
    EXPECT_EQ(f.reader.readVariant(), Variant(std::u16string(u"w")));

    for (auto tag : {ValueTag::List, ValueTag::Ident, ValueTag::Binary, ValueTag::Set, ValueTag::Collection}) {
        ReaderFixture bad(RecordWriter().tag(static_cast<std::uint8_t>(tag)));
        EXPECT_EQ(failureOf([&] { bad.reader.readVariant(); }), "Stream read error");
    }
}

TEST(ReaderValues, ListMarkersDoNotConsumeTheEndTest)
{
    ReaderFixture f(RecordWriter().beginList().integer(1).integer(2).end().integer(9));
    f.reader.readListBegin();
    std::vector<int> items;
    while (!f.reader.endOfList()) items.push_back(f.reader.readInteger());
    EXPECT_TRUE(f.reader.endOfList());
    f.reader.readListEnd();
    EXPECT_EQ(items, (std::vector<int>{1, 2}));
    EXPECT_EQ(f.reader.readInteger(), 9);
}

// One row per tag: skipping the value must land exactly on the sentinel after it.
TEST(ReaderValues, SkippingPassesOverExactlyOneValueOfEveryTag)
{
    const std::vector<std::pair<const char*, std::function<void(RecordWriter&)>>> values = {
        {"null", [](RecordWriter& w) { w.null(); }},
        {"list", [](RecordWriter& w) { w.beginList().integer(1).beginList().string("x").end().end(); }},
        {"int8", [](RecordWriter& w) { w.int8(5); }},
        {"int16", [](RecordWriter& w) { w.int16(500); }},
        {"int32", [](RecordWriter& w) { w.int32(500000); }},
        {"extended", [](RecordWriter& w) { w.extended(1.5); }},
        {"string", [](RecordWriter& w) { w.string("abc"); }},
        {"ident", [](RecordWriter& w) { w.ident("clRed"); }},
        {"false", [](RecordWriter& w) { w.boolean(false); }},
        {"true", [](RecordWriter& w) { w.boolean(true); }},
        {"binary", [](RecordWriter& w) { w.binary(std::vector<std::uint8_t>(5000, 7)); }},
        {"set", [](RecordWriter& w) { w.set({"a", "bb"}); }},
        {"long string", [](RecordWriter& w) { w.longString(std::string(70, 'q')); }},
        {"nil", [](RecordWriter& w) { w.nil(); }},
        {"collection",
         [](RecordWriter& w) {
             w.beginCollection().collectionItem(3).property("A").integer(1).end().collectionItem().end().end();
         }},
        {"single", [](RecordWriter& w) { w.single(1.0f); }},
        {"currency", [](RecordWriter& w) { w.currency(1); }},
        {"date", [](RecordWriter& w) { w.date(1.0); }},
        {"wide string", [](RecordWriter& w) { w.wideString(u"wide"); }},
    };
    for (const auto& [what, write] : values) {
        RecordWriter w;
        write(w);
        w.string("sentinel");
        ReaderFixture f(w);
        f.reader.skipValue();
        EXPECT_EQ(f.reader.readString(), "sentinel") << what;
    }
}

TEST(ReaderValues, SkippingAComponentPassesOverItsPropertiesAndChildren)
{
    RecordWriter w;
    w.prefix(0x02, 4).names("TThing", "Thing1").property("A").integer(1).end();
    w.beginChild("TThing", "Inner").property("B").string("b").end().end();
    w.end();
    w.string("sentinel");
    ReaderFixture f(w);
    f.reader.skipComponent(true);
    EXPECT_EQ(f.reader.readString(), "sentinel");
}

TEST(ReaderValues, UnknownTagsCannotBeSkipped)
{
    ReaderFixture f(RecordWriter().tag(19));
    EXPECT_EQ(failureOf([&] { f.reader.skipValue(); }), "Invalid stream format");
}

TEST(ReaderValues, NestingBeyondTheLimitFailsInsteadOfExhaustingTheStack)
{
    auto nestedLists = [](int depth) {
        RecordWriter w;
        for (int i = 0; i < depth; ++i) w.beginList();
        for (int i = 0; i < depth; ++i) w.end();
        return w;
    };
    ReaderFixture atLimit(nestedLists(maxNestingDepth));
    EXPECT_NO_THROW(atLimit.reader.skipValue());
    ReaderFixture deep(nestedLists(maxNestingDepth + 1));
    EXPECT_EQ(failureOf([&] { deep.reader.skipValue(); }), "Invalid stream format");

    RecordWriter collections;
    for (int i = 0; i < 100000; ++i) collections.beginCollection().collectionItem().property("P");
    ReaderFixture hostile(collections);
    EXPECT_EQ(failureOf([&] { hostile.reader.skipValue(); }), "Invalid stream format");
}

TEST(ReaderValues, DeclaredLengthsBeyondTheStreamFailBeforeAllocating)
{
    const std::vector<std::pair<const char*, std::function<void(Reader&)>>> cases = {
        {"long string", [](Reader& r) { r.readString(); }},
        {"wide string", [](Reader& r) { r.readWideString(); }},
        {"skip binary", [](Reader& r) { r.skipValue(); }},
    };
    const std::uint8_t tags[] = {12, 18, 10};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        ReaderFixture f(RecordWriter().tag(tags[i]).rawU32(0xFFFFFFF0u).raw(std::vector<std::uint8_t>(16, 'a')));
        EXPECT_EQ(failureOf([&] { cases[i].second(f.reader); }), "Stream read error") << cases[i].first;
    }
}

TEST(ReaderValues, ReadingPastTheEndIsAStreamReadError)
{
    ReaderFixture f(RecordWriter().tag(4).raw(std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(failureOf([&] { f.reader.readInteger(); }), "Stream read error");
}

TEST(ReaderValues, ThePrefixByteCarriesFlagsAndAPosition)
{
    ReaderFixture f(RecordWriter().prefix(0x03, 300).prefix(0x01).names("TX", "x"));
    auto first = f.reader.readPrefix();
    EXPECT_TRUE(first.inherited);
    EXPECT_TRUE(first.hasPosition);
    EXPECT_EQ(first.position, 300);
    auto second = f.reader.readPrefix();
    EXPECT_TRUE(second.inherited);
    EXPECT_FALSE(second.hasPosition);
    auto none = f.reader.readPrefix();  // a length byte below 0xF0 is no prefix
    EXPECT_FALSE(none.inherited);
    EXPECT_EQ(f.reader.readShortString(), "TX");
}

}  // namespace
}  // namespace trovelin
