// The skinned speed button: its palette, frame and surface colours per state, glyph frames and
// placement, caption, record properties, and the main window's two glyphs.

#include <gtest/gtest.h>

#include <memory>

#include "framework/Application.h"
#include "framework/Canvas.h"
#include "framework/WinControl.h"
#include "skin/MainWindowGlyphs.h"
#include "skin/Wspeedbutton.h"
#include "streaming/Reader.h"
#include "streaming/Stream.h"
#include "support/BmpWriter.h"
#include "support/GuiApplication.h"
#include "support/PixelProbe.h"
#include "support/RecordWriter.h"

namespace trovelin {
namespace {

using testing::colorAt;

constexpr std::uint32_t olive = 0x008080;  // dark yellow: red 128, green 128
constexpr auto left = TMouseButton::mbLeft;

// A glyph strip of 16 x 16 frames, each a solid square in its own colour on an olive border
// that the button leaves transparent.
TBitmap strip(std::initializer_list<std::uint32_t> frameColors)
{
    const std::vector<std::uint32_t> colors(frameColors);
    const int frames = static_cast<int>(colors.size());
    const auto bmp = testing::makeBmp24(16 * frames, 16, [&](int x, int y) {
        const int fx = x % 16;
        const bool border = fx < 2 || fx > 13 || y < 2 || y > 13;
        const std::uint32_t rgb = border ? olive : colors[static_cast<std::size_t>(x / 16)];
        // makeBmp24 takes 0xRRGGBB
        return (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
    });
    const auto payload = testing::bitmapPayload(bmp);
    ByteViewStream stream(payload);
    TBitmap bitmap;
    bitmap.readData(stream);
    return bitmap;
}

class Wspeedbutton : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }

    Wspeedbutton()
    {
        panel.setColor(0x808080);
        button.setParent(&panel);
        button.setWidth(24);
        button.setHeight(24);
        button.setFlat(true);
    }

    QImage paint()
    {
        QImage image = testing::filledImage(button.width(), button.height(), 0x123456);
        TCanvas canvas(image);
        button.paint(canvas);
        return image;
    }

    TWinControl panel{nullptr};
    TWSpeedButton button{nullptr};
};

TEST(SkinPalette, DerivesSevenColoursOrTakesTheFixedGreys)
{
    EXPECT_EQ(SkinPalette::fixed(),
              (SkinPalette{0x7F7F7F, 0xBFBFBF, 0x3F3F3F, 0xEFEFEF, 0xDFDFDF, 0x7F7F7F, 0x1F1F1F}));
    struct Case {
        TColor color;
        SkinPalette palette;
    };
    const Case cases[] = {
        {0x808080, {0x606060, 0xA0A0A0, 0x202020, 0xC0C0C0, 0xC0A0A0, 0x806060, 0x402020}},
        {0x10F0E8, {0x00D0C8, 0x30FFFF, 0x009088, 0x50FFFF, 0x50FFFF, 0x20D0C8, 0x209088}},
        {clBtnFace, {0xA0A0A0, 0xE0E0E0, 0x606060, 0xFFFFFF, 0xFFE0E0, 0xC0A0A0, 0x806060}},
    };
    for (const Case& c : cases) EXPECT_EQ(SkinPalette::derivedFrom(c.color), c.palette) << std::hex << c.color;
}

TEST_F(Wspeedbutton, ColourAndParentColourSetThePalette)
{
    EXPECT_TRUE(button.parentColor());
    EXPECT_EQ(button.color(), clBtnFace);
    button.setColor(0x808080);
    EXPECT_EQ(button.palette(), SkinPalette::fixed());  // still following the parent
    button.setParentColor(false);
    EXPECT_EQ(button.palette(), SkinPalette::derivedFrom(0x808080));
    button.setColor(0x404040);
    EXPECT_EQ(button.palette(), SkinPalette::derivedFrom(0x404040));
    button.setParentColor(true);
    EXPECT_EQ(button.color(), clBtnFace);
    EXPECT_EQ(button.palette(), SkinPalette::fixed());
}

TEST_F(Wspeedbutton, RecordsDeriveThePaletteInEitherPropertyOrder)
{
    TApplication application;
    Component window(nullptr);
    for (bool colorFirst : {true, false}) {
        testing::RecordWriter w;
        w.beginRecord("TWSpeedButton", colorFirst ? "B1" : "B2");
        if (colorFirst) w.property("Color").integer(0x808080);
        w.property("ParentColor").boolean(false);
        if (!colorFirst) w.property("Color").integer(0x808080);
        w.property("Flat").boolean(true);
        w.end().end();
        TWSpeedButton stored(&window);
        ByteViewStream stream(w.bytes());
        readComponentRecord(stream, stored, application.readerEnvironment());
        EXPECT_EQ(stored.palette(), SkinPalette::derivedFrom(0x808080)) << colorFirst;
        EXPECT_TRUE(stored.flat());
    }
}

TEST_F(Wspeedbutton, UpButtonIsShadedInTheParentsColourWithTheFixedFrame)
{
    const QImage image = paint();
    EXPECT_EQ(colorAt(image, 0, 0), 0x7F7F7Fu);    // top and left: shadow
    EXPECT_EQ(colorAt(image, 23, 0), 0x7F7F7Fu);   // the top line runs to the right edge
    EXPECT_EQ(colorAt(image, 23, 5), 0x3F3F3Fu);   // right: dark shadow
    EXPECT_EQ(colorAt(image, 5, 23), 0x3F3F3Fu);   // bottom
    EXPECT_EQ(colorAt(image, 5, 1), 0x9D9D9Du);    // shade of 0x808080, row 1
    EXPECT_EQ(colorAt(image, 5, 12), 0x808080u);
    EXPECT_EQ(colorAt(image, 22, 22), 0x656565u);  // no inner lines when up

    panel.setColor(0x404040);
    const QImage recoloured = paint();
    EXPECT_EQ(colorAt(recoloured, 5, 12), 0x404040u);
    EXPECT_EQ(colorAt(recoloured, 0, 5), 0x7F7F7Fu);
    EXPECT_EQ(colorAt(recoloured, 23, 5), 0x3F3F3Fu);
}

TEST_F(Wspeedbutton, HotButtonHasABluishGradientAndBrightFrame)
{
    button.mouseEnter();
    const QImage image = paint();
    for (int k : {1, 10, 22}) EXPECT_EQ(colorAt(image, 10, k), (0xDFu - 4 * k) * 0x010101) << k;
    EXPECT_EQ(colorAt(image, 0, 5), 0xEFEFEFu);
    EXPECT_EQ(colorAt(image, 5, 0), 0xEFEFEFu);
    EXPECT_EQ(colorAt(image, 23, 5), 0x1F1F1Fu);
    EXPECT_EQ(colorAt(image, 5, 23), 0x1F1F1Fu);
    EXPECT_EQ(colorAt(image, 1, 5), 0xDFDFDFu);   // inner left: hot highlight
    EXPECT_EQ(colorAt(image, 22, 5), 0x7F7F7Fu);  // inner right: hot shadow
    EXPECT_EQ(colorAt(image, 1, 21), 0xDFDFDFu);  // the inner lines start two rows up
    EXPECT_NE(colorAt(image, 1, 22), 0xDFDFDFu);

    // Off a fixed palette the hot colours show their blue tint.
    button.setParentColor(false);
    button.setColor(0x808080);
    EXPECT_EQ(colorAt(paint(), 0, 5), 0xC0C0C0u);
    EXPECT_EQ(colorAt(paint(), 1, 5), 0xC0A0A0u);
}

TEST_F(Wspeedbutton, PressedButtonsShowTheirOwnFrames)
{
    button.mouseEnter();
    button.mouseDown(left, ssLeft, 5, 5);
    QImage image = paint();
    EXPECT_EQ(colorAt(image, 0, 5), 0x1F1F1Fu);   // hot dark shadow
    EXPECT_EQ(colorAt(image, 23, 5), 0xEFEFEFu);  // bright highlight
    EXPECT_EQ(colorAt(image, 10, 1), 0x838383u);   // hot shadow towards hot highlight

    button.mouseUp(left, 0, 5, 5);
    button.mouseLeave();
    button.setDown(true);
    image = paint();
    EXPECT_EQ(colorAt(image, 0, 5), 0x3F3F3Fu);   // dark shadow
    EXPECT_EQ(colorAt(image, 23, 5), 0x7F7F7Fu);  // shadow
    EXPECT_EQ(colorAt(image, 22, 5), 0xBFBFBFu);  // inner right: highlight
}

TEST_F(Wspeedbutton, NonFlatButtonsNeverLookHot)
{
    button.setFlat(false);
    button.mouseEnter();
    button.mouseMove(0, 5, 5);
    const QImage image = paint();
    EXPECT_EQ(colorAt(image, 0, 5), 0x7F7F7Fu);
    EXPECT_EQ(colorAt(image, 23, 5), 0x3F3F3Fu);
}

TEST_F(Wspeedbutton, DisabledButtonsAreShadedDark)
{
    button.setEnabled(false);
    const QImage image = paint();
    EXPECT_EQ(colorAt(image, 10, 1), 0x7C7C7Cu);  // shadow towards dark shadow: 0x7F - 64/24 per row
    EXPECT_EQ(colorAt(image, 0, 5), 0xBFBFBFu);
    EXPECT_EQ(colorAt(image, 23, 5), 0x3F3F3Fu);
    EXPECT_EQ(colorAt(image, 1, 5), 0x7F7F7Fu);
}

TEST_F(Wspeedbutton, GlyphIsCentredMovesWhenPressedAndLeavesItsTransparentColour)
{
    button.setGlyph(strip({0x0000FF}));
    QImage image = paint();
    EXPECT_EQ(colorAt(image, 6, 6), 0x0000FFu);  // frame at (4, 4), its square from (6, 6)
    EXPECT_EQ(colorAt(image, 17, 17), 0x0000FFu);
    // The olive border is transparent: the shade shows through.
    EXPECT_EQ(colorAt(image, 5, 5), 0x929292u);
    EXPECT_EQ(colorAt(image, 18, 18), 0x707070u);

    button.mouseDown(left, ssLeft, 5, 5);
    image = paint();
    EXPECT_NE(colorAt(image, 6, 6), 0x0000FFu);
    EXPECT_EQ(colorAt(image, 7, 7), 0x0000FFu);
    EXPECT_EQ(colorAt(image, 18, 18), 0x0000FFu);
}

TEST_F(Wspeedbutton, GlyphFramesByState)
{
    constexpr std::uint32_t normal = 0x0000FF, disabled = 0x00FF00, hot = 0xFF0000, pressed = 0xFFFF00;
    auto shown = [&] { return colorAt(paint(), 12, 12); };

    button.setGlyph(strip({normal, disabled}));
    button.mouseEnter();
    EXPECT_EQ(shown(), normal);
    button.mouseDown(left, ssLeft, 5, 5);
    EXPECT_EQ(shown(), normal);
    button.mouseUp(left, 0, 5, 5);
    button.setEnabled(false);
    EXPECT_EQ(shown(), disabled);

    button.setEnabled(true);
    button.setGlyph(strip({normal, disabled, hot, pressed}));
    EXPECT_EQ(button.numGlyphs(), 4);
    EXPECT_EQ(shown(), hot);
    button.mouseDown(left, ssLeft, 5, 5);
    EXPECT_EQ(shown(), pressed);
    button.mouseUp(left, 0, 5, 5);
    button.mouseLeave();
    EXPECT_EQ(shown(), normal);
    button.setEnabled(false);
    EXPECT_EQ(shown(), disabled);
}

TEST_F(Wspeedbutton, CaptionAndGlyphShareTheFaceByLayout)
{
    button.setWidth(80);
    button.setHeight(40);
    button.setCaption("Up");
    button.setGlyph(strip({0x0000FF}));
    QImage before = paint();
    TCanvas measure(before);
    measure.font().assign(button.font());
    const int tw = measure.textWidth("Up"), th = measure.textHeight("H");

    struct Case {
        TButtonLayout layout;
        int glyphX, glyphY;
    };
    const Case cases[] = {
        {TButtonLayout::blGlyphLeft, (80 - 16 - tw) / 2, 12},
        {TButtonLayout::blGlyphRight, (80 - 16 - tw) / 2 + tw, 12},
        {TButtonLayout::blGlyphTop, 32, 12 - th / 2},
        {TButtonLayout::blGlyphBottom, 32, 12 + th / 2},
    };
    for (const Case& c : cases) {
        button.setLayout(c.layout);
        const QImage image = paint();
        EXPECT_EQ(colorAt(image, c.glyphX + 2, c.glyphY + 2), 0x0000FFu) << static_cast<int>(c.layout);
        EXPECT_NE(colorAt(image, c.glyphX + 1, c.glyphY + 2), 0x0000FFu) << static_cast<int>(c.layout);
    }
    // Caption drawn: it differs from the same face with another caption.
    button.setLayout(TButtonLayout::blGlyphLeft);
    const QImage up = paint();
    button.setCaption("Mw");
    EXPECT_NE(up, paint());
}

TEST_F(Wspeedbutton, ButtonWithoutParentPaintsNothing)
{
    button.setParent(nullptr);
    const QImage image = paint();
    EXPECT_EQ(colorAt(image, 0, 0), 0x123456u);
}

TEST(MainWindowGlyphs, AreSixteenColourGlyphDataWithADarkYellowCorner)
{
    for (const auto& data : {ViewLevelUpGlyphData(), ViewIconsGlyphData()}) {
        ASSERT_EQ(data.size(), mainWindowGlyphDataSize);
        EXPECT_EQ(data[0] | data[1] << 8, 246);
        EXPECT_EQ(data[4], 'B');
        const TBitmap glyph = decodeGlyphData(data);
        ASSERT_TRUE(glyph.image());
        EXPECT_EQ(glyph.width(), 16);
        EXPECT_EQ(glyph.height(), 16);
        EXPECT_EQ(glyph.image()->bitsPerPixel(), 4);
        EXPECT_EQ(glyph.image()->pixel(0, 15), olive);
    }
    const TBitmap levelUp = decodeGlyphData(ViewLevelUpGlyphData());
    EXPECT_EQ(levelUp.image()->pixel(0, 5), 0u);          // folder outline
    EXPECT_EQ(levelUp.image()->pixel(3, 6), 0x00FFFFu);   // yellow folder
    EXPECT_EQ(levelUp.image()->pixel(6, 7), 0u);          // arrow
    const TBitmap icons = decodeGlyphData(ViewIconsGlyphData());
    EXPECT_EQ(icons.image()->pixel(5, 2), 0x800000u);     // navy title bar
    EXPECT_EQ(icons.image()->pixel(3, 4), 0xFF0000u);     // a blue icon
    EXPECT_EQ(icons.image()->pixel(7, 4), 0x0000FFu);     // a red icon
    EXPECT_NE(ViewLevelUpGlyphData(), ViewIconsGlyphData());
}

}  // namespace
}  // namespace trovelin
