// Writes the sample panel file that the README's first command shows: a small panel with
// a background picture, a group box, two labels and two speed buttons with glyphs.
// Usage: make_sample_panel <file.kvr>

#include <cstdio>

#include "support/BmpWriter.h"
#include "support/FileWriter.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"

namespace {

using namespace trovelin::testing;

std::vector<std::uint8_t> background()
{
    auto bmp = makeBmp24(64, 40, [](int x, int y) {
        auto shade = static_cast<std::uint32_t>(0x30 + 3 * y);
        return (shade << 16) | (shade << 8) | static_cast<std::uint32_t>(0x40 + 2 * x);
    });
    RecordWriter w;
    w.beginRecord("TImage", "Background").property("Left").integer(0).property("Top").integer(0);
    w.property("Width").integer(640).property("Height").integer(400);
    w.property("Picture.Data").binary(picturePayload("TBitmap", bitmapPayload(bmp)));
    w.property("Stretch").boolean(true).end().end();
    return w.bytes();
}

std::vector<std::uint8_t> label(std::string_view name, std::string_view caption, int left, int top)
{
    RecordWriter w;
    w.beginRecord("TLabel", name).property("Left").integer(left).property("Top").integer(top);
    w.property("Width").integer(60).property("Height").integer(13).property("Caption").string(caption);
    w.property("Font.Charset").ident("DEFAULT_CHARSET").property("Font.Color").ident("clWhite");
    w.property("Font.Height").integer(-11).property("Font.Name").string("MS Sans Serif");
    w.property("Font.Style").set({"fsBold"}).property("ParentFont").boolean(false);
    w.property("Transparent").boolean(true).end().end();
    return w.bytes();
}

std::vector<std::uint8_t> speedButton(std::string_view name, int left, std::uint32_t colour)
{
    auto glyph = makeBmp24(16, 16, [colour](int x, int y) {
        bool edge = x == 0 || y == 0 || x == 15 || y == 15;
        return edge ? 0x808000u : colour;
    });
    RecordWriter w;
    w.beginRecord("TSpeedButton", name).property("Left").integer(left).property("Top").integer(300);
    w.property("Width").integer(24).property("Height").integer(24).property("Flat").boolean(true);
    w.property("Glyph.Data").binary(bitmapPayload(glyph)).end().end();
    return w.bytes();
}

std::vector<std::uint8_t> groupBox()
{
    RecordWriter w;
    w.beginRecord("TGroupBox", "GroupBox1").property("Left").integer(16).property("Top").integer(16);
    w.property("Width").integer(300).property("Height").integer(120).property("Caption").string("Dimmers");
    w.property("Color").ident("clBtnFace").property("TabOrder").integer(0).end().end();
    return w.bytes();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <file.kvr>\n", argv[0]);
        return 2;
    }
    PanelFileContent panel;
    panel.channelCount = 12;
    panel.channelBits = {0x0FFF};
    panel.channelBytes = {1, 1, 2, 0, 0, 2};
    panel.title = "Demo Stage";
    panel.records = {background(),  groupBox(), label("Label1", "Front wash", 24, 40),
                     label("Label2", "Back light", 24, 70), speedButton("SpeedButton1", 16, 0xFFCC00),
                     speedButton("SpeedButton2", 48, 0x00A0FF)};
    return writeFile(argv[1], writePanelFile(panel)) ? 0 : 1;
}
