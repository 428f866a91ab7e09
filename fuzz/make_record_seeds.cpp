// Writes the seed corpus of fuzz_record: usage make_record_seeds <directory>.
// Each seed is a class selector byte (0 image, 1 group box, 2 label, 3 speed button) and a
// record that reads without error into that class.

#include <cstdio>
#include <string>
#include <vector>

#include "support/FileWriter.h"
#include "support/RecordWriter.h"

namespace {

using trovelin::testing::RecordWriter;

bool writeSeed(const std::string& directory, const std::string& name, std::uint8_t selector,
               const RecordWriter& record)
{
    std::vector<std::uint8_t> bytes{selector};
    trovelin::testing::append(bytes, record.bytes());
    return trovelin::testing::writeFile(directory + "/" + name, bytes);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1];
    const std::vector<std::uint8_t> payload{7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 0, 0, 0, 0};
    bool ok = true;

    RecordWriter image;
    image.beginRecord("TImage", "Image1").property("Left").integer(0).property("Width").integer(640);
    image.property("Picture.Data").binary(payload).property("Anchors").set({"akLeft", "akBottom"});
    image.property("Stretch").boolean(true).end().end();
    ok &= writeSeed(directory, "image", 0, image);

    RecordWriter box;
    box.prefix(0x02, 1).names("TGroupBox", "GroupBox1").property("Caption").string("Dimmers");
    box.property("Color").ident("clBtnFace").property("TabOrder").integer(2).end();
    box.beginChild("TMenuItem", "Item1").property("Caption").longString("Open").end();
    box.prefix(0x02, 0).names("TMenuItem", "Item2").property("ShortCut").integer(16463).end().end();
    box.end().end();
    ok &= writeSeed(directory, "groupbox_children", 1, box);

    RecordWriter label;
    label.beginRecord("TLabel", "Label1").property("Font.Charset").ident("DEFAULT_CHARSET");
    label.property("Font.Height").integer(-11).property("Font.Name").string("MS Sans Serif");
    label.property("Font.Style").set({"fsBold"}).property("Cursor").ident("crHandPoint");
    label.property("PopupMenu").ident("Nothing").property("OnClick").nil().end().end();
    ok &= writeSeed(directory, "label_font", 2, label);

    RecordWriter button;
    button.beginRecord("TSpeedButton", "SpeedButton1").property("Glyph.Data").binary(std::vector<std::uint8_t>(4, 0));
    button.property("NumGlyphs").integer(2).property("Flat").boolean(true).property("Hint").wideString(u"hint");
    button.end().end();
    ok &= writeSeed(directory, "speedbutton_glyph", 3, button);

    return ok ? 0 : 1;
}
