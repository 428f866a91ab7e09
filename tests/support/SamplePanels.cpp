#include "support/SamplePanels.h"

#include <cmath>
#include <iterator>
#include <cstdint>
#include <numbers>
#include <string>

#include "panelctl/PanelClasses.h"
#include "support/BmpWriter.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"

namespace trovelin::testing {

namespace {

std::uint8_t channel(double value) { return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0))); }

// A soft plasma of three sine fields.
BmpContent plasma(int width, int height)
{
    BmpContent content;
    content.width = width;
    content.height = height;
    content.value = [](int x, int y) {
        const double r = 128 + 127 * std::sin(x / 17.0 + std::sin(y / 23.0));
        const double g = 128 + 127 * std::sin(y / 13.0 + x / 41.0);
        const double b = 128 + 127 * std::sin((x + y) / 29.0);
        return (std::uint32_t{channel(r)} << 16) | (std::uint32_t{channel(g)} << 8) | channel(b);
    };
    return content;
}

// Concentric rings through a deep-blue-to-amber palette.
BmpContent rings(int width, int height)
{
    BmpContent content;
    content.width = width;
    content.height = height;
    content.bitsPerPixel = 8;
    for (int i = 0; i < 256; ++i) {
        const double t = i / 255.0;
        content.colorTable.push_back({channel(120 - 100 * t), channel(30 + 150 * t), channel(20 + 235 * t), 0});
    }
    content.value = [width, height](int x, int y) {
        const double d = std::hypot(x - width / 2.0, y - height / 2.0);
        return static_cast<std::uint32_t>(127.5 + 127.5 * std::cos(d / 6.0));
    };
    return content;
}

// A banded sunset with a sun disc, run-length encoded: long runs of one colour.
BmpContent sunset(int width, int height)
{
    BmpContent content;
    content.width = width;
    content.height = height;
    content.bitsPerPixel = 8;
    content.compression = BitmapCompression::Rle8;
    for (int i = 0; i < 32; ++i)
        content.colorTable.push_back({channel(40 + 4 * i), channel(30 + 5 * i), channel(120 + 4 * i), 0});
    content.colorTable.push_back({80, 230, 255, 0});  // the sun
    content.value = [width, height](int x, int y) {
        if (std::hypot(x - width * 0.7, y - height * 0.45) < height * 0.15) return 32u;
        return static_cast<std::uint32_t>(y * 32 / height);
    };
    return content;
}

// Four 16 x 16 frames side by side: a disc that grows, on the dark yellow that marks
// transparency (the bottom-left pixel), in the 16 standard colours.
BmpContent glyphStrip(std::uint32_t discIndex)
{
    BmpContent content;
    content.width = 64;
    content.height = 16;
    content.bitsPerPixel = 4;
    content.colorsUsedField = 16;
    const std::uint8_t standard[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                          {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                                          {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                          {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    for (const auto& c : standard) content.colorTable.push_back({c[2], c[1], c[0], 0});
    content.value = [discIndex](int x, int y) {
        const int frame = x / 16;
        const double d = std::hypot(x % 16 - 7.5, y - 7.5);
        if (d < 2.5 + 1.5 * frame) return discIndex;
        return d < 3.5 + 1.5 * frame ? 0u : 3u;
    };
    return content;
}

std::vector<std::uint8_t> backgroundRecord(const BmpContent& picture, int width, int height)
{
    RecordWriter w;
    w.beginRecord("TImage", "Background").property("Left").integer(0).property("Top").integer(0);
    w.property("Width").integer(width).property("Height").integer(height);
    w.property("Picture.Data").binary(picturePayload("TBitmap", bitmapPayload(makeBmp(picture))));
    w.end().end();
    return w.bytes();
}

std::vector<std::uint8_t> labelRecord(std::string_view name, std::string_view caption, int left, int top)
{
    RecordWriter w;
    w.beginRecord("TLabel", name).property("Left").integer(left).property("Top").integer(top);
    w.property("Caption").string(caption).property("Font.Color").ident("clWhite");
    w.property("Font.Height").integer(-11).property("Font.Name").string("MS Sans Serif");
    w.property("Font.Style").set({"fsBold"}).property("ParentFont").boolean(false);
    w.property("Transparent").boolean(true).end().end();
    return w.bytes();
}

std::vector<std::uint8_t> buttonRecord(std::string_view name, int left, int top, const BmpContent& glyph)
{
    RecordWriter w;
    w.beginRecord("TSpeedButton", name).property("Left").integer(left).property("Top").integer(top);
    w.property("Width").integer(32).property("Height").integer(32).property("Flat").boolean(true);
    w.property("Glyph.Data").binary(bitmapPayload(makeBmp(glyph)));
    w.property("NumGlyphs").integer(4).end().end();
    return w.bytes();
}

std::vector<std::uint8_t> groupBoxRecord(std::string_view name, std::string_view caption)
{
    RecordWriter w;
    w.beginRecord("TGroupBox", name).property("Left").integer(16).property("Top").integer(16);
    w.property("Width").integer(200).property("Height").integer(96).property("Caption").string(caption);
    w.property("Color").ident("clBtnFace").end().end();
    return w.bytes();
}

// A desk-like blue-grey gradient with a lighter band across the middle.
BmpContent deskGradient(int width, int height)
{
    BmpContent content;
    content.width = width;
    content.height = height;
    content.value = [height](int x, int y) {
        const double band = std::exp(-std::pow((y - height / 2.0) / (height / 6.0), 2));
        const double shade = 40 + 60.0 * y / height + 50 * band + 10 * std::sin(x / 9.0);
        return (std::uint32_t{channel(shade)} << 16) | (std::uint32_t{channel(shade + 10)} << 8) |
               channel(shade + 35);
    };
    return content;
}

// One 16 x 16 glyph: a lamp of the given standard colour index with a dark rim.
BmpContent lampGlyph(std::uint32_t lampIndex)
{
    BmpContent content = glyphStrip(lampIndex);
    content.width = 16;
    return content;
}

std::vector<std::uint8_t> faderRecord(std::string_view className, std::string_view name, int left, int top,
                                      int position, bool sixteenBit)
{
    RecordWriter w;
    w.beginRecord(className, name).property("Left").integer(left).property("Top").integer(top);
    if (className == "TSliderh") w.property("Width").integer(152).property("Height").integer(40);
    w.property("Position").integer(position);
    // Stored in the published order, fine value first: a panel loads it as 0, as the original did.
    if (sixteenBit) w.property("FinePosition").integer(128).property("M16bit").boolean(true);
    w.end().end();
    return w.bytes();
}

std::vector<std::uint8_t> knobRecord(std::string_view name, int left, int top, int position)
{
    RecordWriter w;
    w.beginRecord("TKnobL", name).property("Left").integer(left).property("Top").integer(top);
    w.property("Width").integer(64).property("Height").integer(64);
    w.property("Brush.Color").ident("clSilver").property("Pen.Width").integer(2);
    w.property("Position").integer(position).end().end();
    return w.bytes();
}

std::vector<std::uint8_t> multiButtonRecord(std::string_view name, std::string_view caption, int left, int top,
                                            std::uint32_t lampIndex, bool longChannels)
{
    RecordWriter w;
    w.beginRecord("TMultiButton", name).property("Left").integer(left).property("Top").integer(top);
    w.property("Width").integer(56).property("Height").integer(56).property("Caption").string(caption);
    w.property("Glyph.Data").binary(bitmapPayload(makeBmp(lampGlyph(lampIndex))));
    w.property("Color").ident("clTeal");
    w.property("Channels").beginList();
    if (longChannels) {
        // The long form: a count, then every channel; channel 40 is in use.
        w.integer(256);
        for (int i = 0; i < 256; ++i) w.integer(i < 4 ? 255 : i == 40 ? 128 : -1);
    } else {
        for (int i = 0; i < 32; ++i) w.integer(i < 8 ? 200 : -1);
    }
    w.end().end().end();
    return w.bytes();
}

std::vector<std::uint8_t> colourButtonRecord(std::string_view name, int left, int top, std::string_view colour,
                                             bool down)
{
    RecordWriter w;
    w.beginRecord("TCBTC", name).property("Left").integer(left).property("Top").integer(top);
    w.property("Color").ident(colour).property("Down").boolean(down).end().end();
    return w.bytes();
}

std::vector<std::uint8_t> fieldRecord(std::string_view name, int left, int top, int x, int y)
{
    RecordWriter w;
    w.beginRecord("TFieldXY", name).property("Left").integer(left).property("Top").integer(top);
    w.property("PositionX").integer(x).property("PositionY").integer(y).end().end();
    return w.bytes();
}

// Colour-mixer records have their own narrow form: no component name, small integers, and the
// inks as one-character strings.
std::vector<std::uint8_t> mixerRecord(int left, int top, std::uint8_t cyan, std::uint8_t yellow)
{
    RecordWriter w;
    w.beginRecord("TCMY", "").property("Left").integer(left).property("Top").integer(top);
    w.property("Cyan").string(std::string(1, static_cast<char>(cyan)));
    w.property("Yellow").string(std::string(1, static_cast<char>(yellow))).end().end();
    return w.bytes();
}

SamplePicture backdrop(int width, int height, int bitsPerPixel)
{
    return {width, height, bitsPerPixel, "Background", "TImage", "Picture"};
}

// A speed button's glyph strip.
SamplePicture glyph(const std::string& button) { return {64, 16, 4, button, "TSpeedButton", "Glyph"}; }

}  // namespace

std::vector<SamplePanel> samplePanels()
{
    std::vector<SamplePanel> panels;

    PanelFileContent small;
    small.channelCount = 12;
    small.channelBits = {0x0FFF};
    small.channelBytes = {1, 1, 2, 0, 0, 2};
    small.title = "Club Stage";
    small.records = {backgroundRecord(plasma(320, 200), 640, 400), groupBoxRecord("Dimmers", "Front wash"),
                     labelRecord("Label1", "Wash", 24, 40), buttonRecord("Blackout", 16, 300, glyphStrip(9)),
                     buttonRecord("Strobe", 56, 300, glyphStrip(12))};
    panels.push_back({"club-stage.kvr", writePanelFile(small), {backdrop(320, 200, 24), glyph("Blackout"), glyph("Strobe")}});

    PanelFileContent large;
    large.large = true;
    large.channelCount = 200;
    large.channelBits = {0xFFFFFFFF, 0xFFFFFFFF, 0x0000FFFF};
    large.blco = std::vector<std::uint16_t>(256, 0x0100);
    large.title = "Arena Rig";
    large.records = {backgroundRecord(rings(400, 240), 800, 480), labelRecord("Label1", "Movers", 30, 20),
                     buttonRecord("Preset1", 30, 400, glyphStrip(10)), buttonRecord("Preset2", 70, 400, glyphStrip(14)),
                     buttonRecord("Preset3", 110, 400, glyphStrip(13))};
    panels.push_back({"arena-rig.kvr", writePanelFile(large),
                      {backdrop(400, 240, 8), glyph("Preset1"), glyph("Preset2"), glyph("Preset3")}});

    PanelFileContent theatre;
    theatre.channelCount = 24;
    theatre.title = "Theatre Sunset";
    theatre.records = {backgroundRecord(sunset(360, 180), 720, 360), groupBoxRecord("Scenes", "Scenes"),
                       buttonRecord("Dusk", 20, 320, glyphStrip(11))};
    panels.push_back({"theatre-sunset.kvr", writePanelFile(theatre), {backdrop(360, 180, 32), glyph("Dusk")}});

    PanelFileContent console;
    console.channelCount = 16;
    console.title = "Console Desk";
    console.records = {backgroundRecord(deskGradient(480, 300), 480, 300),
                       labelRecord("Title", "Console", 16, 8),
                       faderRecord("TSlider", "Fader1", 16, 36, 200, false),
                       faderRecord("TSlider", "Fader2", 64, 36, 128, false),
                       faderRecord("TSlider", "Fader3", 112, 36, 40, true),
                       faderRecord("TSliderh", "Crossfade", 16, 200, 100, false),
                       knobRecord("Speed", 200, 36, 90),
                       knobRecord("Size", 280, 36, 200),
                       multiButtonRecord("Scene1", "S1", 200, 130, 11, false),
                       multiButtonRecord("Scene2", "S2", 270, 130, 10, true),
                       colourButtonRecord("Red", 360, 40, "clRed", false),
                       colourButtonRecord("Blue", 400, 40, "clBlue", true)};
    panels.push_back({"console-desk.kvr", writePanelFile(console), {backdrop(480, 300, 24), {16, 16, 4, "Scene1", "TMultiButton", "Glyph"},
                       {16, 16, 4, "Scene2", "TMultiButton", "Glyph"}}});

    PanelFileContent heads;
    heads.channelCount = 8;
    heads.title = "Moving Heads";
    heads.records = {backgroundRecord(plasma(500, 320), 500, 320), labelRecord("Title", "Pan / tilt and colour", 16, 8),
                     fieldRecord("PanTilt", 16, 30, 100, 180), mixerRecord(310, 30, 200, 80)};
    panels.push_back({"moving-heads.kvr", writePanelFile(heads), {backdrop(500, 320, 24)}});
    return panels;
}

std::vector<std::uint8_t> greyBackgroundPanel(int width)
{
    RecordWriter w;
    w.beginRecord("TImage", "Background");
    w.property("Picture.Data").binary(picturePayload("TBitmap", bitmapPayload(makeBmp24(width, 4, [](int, int) {
        return 0x808080u;
    }))));
    w.end().end();
    PanelFileContent content;
    content.records = {w.bytes()};
    return writePanelFile(content);
}

std::vector<std::uint8_t> declaredOnlyGlyphsPanel(int buttonCount)
{
    constexpr std::uint32_t side = 8000;
    std::vector<std::uint8_t> bmp{'B', 'M'};
    putU32(bmp, 54);  // file size
    putU32(bmp, 0);
    putU32(bmp, 54);  // pixel offset
    putU32(bmp, 40);  // info header
    putU32(bmp, side);
    putU32(bmp, side);
    putU16(bmp, 1);
    putU16(bmp, 32);
    for (int field = 0; field < 6; ++field) putU32(bmp, 0);  // compression, sizes, resolution, colours
    const std::vector<std::uint8_t> glyph = bitmapPayload(bmp);

    PanelFileContent content;
    content.title = "Declared only";
    RecordWriter background;
    background.beginRecord("TImage", "Background").end().end();
    content.records.push_back(background.bytes());
    for (int i = 0; i < buttonCount; ++i) {
        RecordWriter w;
        w.beginRecord("TSpeedButton", "Button" + std::to_string(i)).property("Glyph.Data").binary(glyph).end().end();
        content.records.push_back(w.bytes());
    }
    return writePanelFile(content);
}

std::vector<std::uint8_t> hugeControlsPanel(int controlCount)
{
    constexpr std::int32_t huge = 2147483647;
    const std::string_view classes[] = {"TSlider",      "TSliderh", "TKnobL", "TFieldXY",  "TSpeedButton",
                                        "TMultiButton", "TCBTC",    "TLabel", "TGroupBox", "TSlider"};
    PanelFileContent content;
    content.title = "Huge controls";
    RecordWriter background;
    background.beginRecord("TImage", "Background").end().end();
    content.records.push_back(background.bytes());
    for (int i = 0; i < controlCount; ++i) {
        const std::string_view className = classes[i % std::size(classes)];
        RecordWriter w;
        w.beginRecord(className, "C" + std::to_string(i)).property("Left").integer(i % 20 * 40);
        w.property("Top").integer(i / 20 * 40).property("Width").integer(huge).property("Height").integer(huge);
        if (className == "TLabel") w.property("AutoSize").boolean(false).property("Caption").string("Huge");
        if (className == "TGroupBox") w.property("Caption").string("Huge");
        if (i % std::size(classes) == 0) w.property("M16bit").boolean(true);
        w.end().end();
        content.records.push_back(w.bytes());
    }
    return writePanelFile(content);
}

std::vector<std::uint8_t> sizedControlsPanel(const std::vector<std::string_view>& classes, int controlCount,
                                             std::int32_t side, bool stacked)
{
    PanelFileContent content;
    content.title = "Sized controls";
    RecordWriter background;
    background.beginRecord("TImage", "Background").end().end();
    content.records.push_back(background.bytes());
    for (int i = 0; i < controlCount; ++i) {
        const std::string_view className = classes[static_cast<std::size_t>(i) % classes.size()];
        RecordWriter w;
        // The colour mixer's reader takes a record without a component name.
        w.beginRecord(className, className == "TCMY" ? std::string() : "C" + std::to_string(i));
        w.property("Left").integer(stacked ? 0 : i % 20 * 40).property("Top").integer(stacked ? 0 : i / 20 % 20 * 40);
        w.property("Width").integer(side).property("Height").integer(side);
        if (className == "TLabel") w.property("AutoSize").boolean(false).property("Caption").string("Huge");
        if (className == "TGroupBox") w.property("Caption").string("Huge");
        const bool fine = className == "TSlider" || className == "TSliderh" || className == "TFieldXY";
        if (fine && i % 2 == 0) w.property("M16bit").boolean(true);
        w.end().end();
        content.records.push_back(w.bytes());
    }
    return writePanelFile(content);
}

std::vector<std::uint8_t> largestSizedControlsPanel(const std::vector<std::string_view>& classes, std::int32_t side,
                                                    bool stacked, std::size_t maxBytes)
{
    const auto panel = [&](int count) { return sizedControlsPanel(classes, count, side, stacked); };
    // Records grow by a byte or so as their names gain digits: a guess from the first hundred,
    // then a few steps either way.
    const std::size_t base = panel(0).size(), hundred = panel(100).size();
    int count = static_cast<int>((maxBytes - base) * 100 / (hundred - base));
    while (count > 0 && panel(count).size() > maxBytes) count -= 10;
    while (panel(count + 1).size() <= maxBytes) ++count;
    while (panel(count).size() > maxBytes) --count;
    return panel(count);
}

std::vector<std::string_view> loaderClassNames()
{
    std::vector<std::string_view> names;
    for (const LoaderClass& entry : panelLoaderClasses()) names.push_back(entry.name);
    return names;
}

std::vector<std::uint8_t> redCornerBackgroundRecord(int width, int height)
{
    RecordWriter w;
    w.beginRecord("TImage", "Background");
    w.property("Width").integer(width).property("Height").integer(height);
    w.property("Picture.Data").binary(picturePayload("TBitmap", bitmapPayload(makeBmp24(4, 3, [](int, int) {
        return 0xFF0000u;
    }))));
    w.end().end();
    return w.bytes();
}

}  // namespace trovelin::testing
