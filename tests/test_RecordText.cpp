// The text form of records that `trovelin-cli dump` prints.

#include <gtest/gtest.h>

#include "streaming/Errors.h"
#include "streaming/PrintableText.h"
#include "streaming/RecordText.h"
#include "streaming/Stream.h"
#include "streaming/TextRecord.h"
#include "support/BmpWriter.h"
#include "support/RecordWriter.h"

namespace trovelin {
namespace {

using testing::RecordWriter;

std::string textOf(const RecordWriter& writer)
{
    auto bytes = writer.bytes();
    ByteViewStream stream(bytes);
    return recordToText(stream);
}

TEST(RecordText, ShowsEveryValueKindAndNestedChildren)
{
    RecordWriter w;
    w.beginRecord("TLabel", "Label1");
    w.property("Left").integer(-3).property("Caption").string("It's").property("Hint").longString("long");
    w.property("Font.Style").set({"fsBold", "fsItalic"}).property("Color").ident("clRed");
    w.property("Visible").boolean(false).property("PopupMenu").nil();
    w.property("Glyph.Data").binary(std::vector<std::uint8_t>(12));
    w.property("List").beginList().integer(1).string("a").end();
    w.property("Items").beginCollection().collectionItem(2).property("N").integer(5).end().end();
    w.property("Ratio").extended(0.5).property("Money").currency(-15000).property("Wide").wideString(u"\u00e9");
    w.end();
    w.prefix(0x03, 1).names("TMenuItem", "Item1").end().end();
    w.end();
    EXPECT_EQ(textOf(w),
              "object Label1: TLabel\n"
              "  Left = -3\n"
              "  Caption = 'It''s'\n"
              "  Hint = 'long'\n"
              "  Font.Style = [fsBold, fsItalic]\n"
              "  Color = clRed\n"
              "  Visible = False\n"
              "  PopupMenu = nil\n"
              "  Glyph.Data = {12 bytes: empty bitmap}\n"
              "  List = (1 'a')\n"
              "  Items = <[2] item N = 5 end >\n"
              "  Ratio = 0.5\n"
              "  Money = -1.5000\n"
              "  Wide = #233\n"
              "  inherited Item1: TMenuItem [1]\n"
              "  end\n"
              "end\n");
}

TEST(RecordText, PicturePayloadsShowWhatTheyDecodeTo)
{
    const auto bmp = testing::makeBmp24(3, 2, [](int, int) { return 0u; });
    auto badGlyph = testing::bitmapPayload(bmp);
    badGlyph[4] = 'X';
    RecordWriter w;
    w.beginRecord("TImage", "Image1");
    w.property("Picture.Data").binary(testing::picturePayload("TBitmap", testing::bitmapPayload(bmp)));
    w.property("Glyph.Data").binary(badGlyph);
    w.property("Other.Data").binary(testing::bitmapPayload(bmp));
    w.end().end();
    const std::string text = textOf(w);
    EXPECT_NE(text.find("Picture.Data = {" + std::to_string(1 + 7 + 4 + bmp.size()) + " bytes: TBitmap 3 x 2, 24 bpp}"),
              std::string::npos);
    EXPECT_NE(text.find("Glyph.Data = {" + std::to_string(badGlyph.size()) + " bytes: Bitmap image is not valid}"),
              std::string::npos);
    EXPECT_NE(text.find("Other.Data = {" + std::to_string(4 + bmp.size()) + " bytes}"), std::string::npos);
}

TEST(RecordText, NamesAreValidUtf8WithoutControlCharacters)
{
    // ESC, DEL, a lone 0x9B (CSI to an 8-bit terminal) and a UTF-8 CSI; a Windows-1252 letter,
    // an overlong slash and a UTF-16 surrogate in UTF-8 form are no UTF-8. Valid UTF-8 stays.
    EXPECT_EQ(printableText("a\x1B[2J\x7F\x9B\xC2\x9B\n"), "a\\x1B[2J\\x7F\\x9B\\xC2\\x9B\\x0A");
    EXPECT_EQ(printableText("caf\xC3\xA9 \xC2\xA0\xE2\x82\xAC\xF0\x9F\x8E\x9B"), "caf\xC3\xA9 \xC2\xA0\xE2\x82\xAC\xF0\x9F\x8E\x9B");
    EXPECT_EQ(printableText("caf\xE9 \xC0\xAF \xED\xA0\x80"), "caf\\xE9 \\xC0\\xAF \\xED\\xA0\\x80");

    RecordWriter w;
    w.beginRecord("TLabel\x07", "Label\x1B]0;x\x07").property("Cap\x1Btion").ident("cl\xE9").end().end();
    EXPECT_EQ(textOf(w), "object Label\\x1B]0;x\\x07: TLabel\\x07\n  Cap\\x1Btion = cl\\xE9\nend\n");
}

// Strings show every character that is not plain ASCII as its code, and read back to the same
// bytes (or the same wide characters) and kind of string.
TEST(RecordText, StringsUseCharacterCodesAndReadBack)
{
    struct Case {
        std::string bytes, text;
    };
    for (const Case& c : {Case{"", "''"}, Case{"It's", "'It''s'"}, Case{"\r\n", "#13#10"},
                          Case{"abc\xC8" "def", "'abc'#200'def'"}, Case{"\xC8", "#200"},
                          Case{std::string("a\0\x1B\x7F", 4), "'a'#0#27#127"}, Case{std::string(300, 'x'), ""}}) {
        RecordWriter written;
        written.beginRecord("TLabel", "L").property("Caption");
        c.bytes.size() > 255 ? written.longString(c.bytes) : written.string(c.bytes);
        written.end().end();
        const std::string text = textOf(written);
        if (!c.text.empty()) {
            EXPECT_EQ(text, "object L: TLabel\n  Caption = " + c.text + "\nend\n");
        }
        RecordNode node{"TLabel", "L", false, std::nullopt, {{"Caption", quotedText(c.bytes)}}, {}};
        EXPECT_EQ(recordFromText(node), written.bytes()) << c.text;
    }

    RecordWriter wide;
    wide.beginRecord("TLabel", "L").property("Caption").wideString(u"caf\u00e9 \u20ac\U0001F39B").end().end();
    const std::string text = textOf(wide);
    EXPECT_EQ(text, "object L: TLabel\n  Caption = 'caf'#233' '#8364#55356#57243\nend\n");
    RecordNode node{"TLabel", "L", false, std::nullopt, {{"Caption", "'caf'#233' '#8364#55356#57243"}}, {}};
    EXPECT_EQ(recordFromText(node), wide.bytes());

    for (const char* bad : {"#", "#65536", "'a'#", "#-1", "'open"}) {
        std::vector<std::uint8_t> out;
        EXPECT_THROW(appendTextValue(out, bad), EReadError) << bad;
    }
}

TEST(RecordText, AFailedReadKeepsWhatWasReadSoFar)
{
    RecordWriter w;
    w.beginRecord("TLabel", "Label1").property("Left").integer(4).property("Top").tag(42).end().end();
    const auto bytes = w.bytes();
    ByteViewStream stream(bytes);
    RecordNode root;
    EXPECT_THROW(readRecordTree(stream, root), EReadError);
    EXPECT_EQ(root.name, "Label1");
    ASSERT_EQ(root.properties.size(), 1u);
    EXPECT_EQ(root.properties[0].second, "4");
}

TEST(RecordText, FailsLikeTheReaderOnBadRecords)
{
    RecordWriter deep;
    deep.beginRecord("TLabel", "L").property("P");
    for (int i = 0; i < 1000; ++i) deep.beginList();
    EXPECT_THROW(textOf(deep), EReadError);

    RecordWriter unknownTag;
    unknownTag.beginRecord("TLabel", "L").property("P").tag(42).end().end();
    EXPECT_THROW(textOf(unknownTag), EReadError);
}

}  // namespace
}  // namespace trovelin
