// The text form of records that `trovelin-cli dump` prints.

#include <gtest/gtest.h>

#include "streaming/Errors.h"
#include "streaming/RecordText.h"
#include "streaming/Stream.h"
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
              "  Glyph.Data = {12 bytes}\n"
              "  List = (1 'a')\n"
              "  Items = <[2] item N = 5 end >\n"
              "  Ratio = 0.5\n"
              "  Money = -1.5000\n"
              "  Wide = '\xc3\xa9'\n"
              "  inherited Item1: TMenuItem [1]\n"
              "  end\n"
              "end\n");
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
