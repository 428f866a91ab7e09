// The colour mixer: layout, the hue table, bytes to positions and back through the sample colour,
// the disc table against a direct computation, setters, mouse rules, paint, and hostile sizes.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <tuple>

#include "framework/Canvas.h"
#include "framework/NamedConstants.h"
#include "framework/PaintBuffer.h"
#include "framework/WinControl.h"
#include "panelctl/Cmy.h"
#include "panelctl/CmyDisc.h"
#include "panelctl/CmyGeometry.h"
#include "support/GuiApplication.h"
#include "support/PixelProbe.h"
#include "support/TestControlHost.h"

namespace trovelin {
namespace {

using testing::colorAt;

constexpr auto left = TMouseButton::mbLeft;
constexpr auto right = TMouseButton::mbRight;
constexpr std::uint32_t white = 0xFFFFFF;
constexpr std::uint32_t black = 0x000000;
constexpr std::uint32_t face = 0xC0C0C0;
constexpr std::uint32_t shadow = 0x808080;

TEST(CmyGeometry, LayoutFollowsTheHeightAndIsCapped)
{
    const CmyLayout l = cmyLayout(144);
    EXPECT_EQ(std::tuple(l.m, l.D, l.B, l.barLeft(), l.maxSaturation()), std::tuple(4, 136, 16, 144, 66));
    EXPECT_EQ(l.sample(), (TRect{4, 4, 20, 20}));
    EXPECT_EQ(l.resetButton(), (TRect{4, 124, 20, 140}));

    EXPECT_EQ(cmyLayout(INT_MAX).D, 1024);
    EXPECT_EQ(cmyLayout(INT_MAX).height, maxCmyLayoutHeight);
    const CmyLayout none = cmyLayout(INT_MIN);
    EXPECT_EQ(std::tuple(none.m, none.D, none.B, none.maxSaturation()), std::tuple(0, 0, 0, 0));
    EXPECT_EQ(cmyLayout(4).maxSaturation(), 0);  // D 3: no rim to saturate
}

TEST(CmyGeometry, HueTableGivesTheInksOfEachSixth)
{
    const std::tuple<int, CmyInks> rows[] = {
        {0, {255, 255, 0}},  {59, {255, 4, 0}},    {60, {255, 0, 0}},   {119, {255, 0, 251}},
        {120, {255, 0, 255}}, {150, {127, 0, 255}}, {180, {0, 0, 255}},  {239, {0, 251, 255}},
        {240, {0, 255, 255}}, {299, {0, 255, 4}},   {300, {0, 255, 0}},  {359, {251, 255, 0}},
        {360, {255, 255, 0}},  // the straight-down column of the disc: the same as 0
    };
    for (const auto& [hue, inks] : rows) EXPECT_EQ(hueInks(hue), inks) << hue;
}

struct PositionCase {
    std::uint8_t c, m, y;
    bool rgb;
    CmyPosition expected;
};

TEST(CmyGeometry, BytesGiveHueSaturationAndIntensity)
{
    const PositionCase cases[] = {
        {0, 0, 0, false, {0, 0, 0}},            // no ink: white, the marker at the centre
        {255, 255, 255, false, {0, 0, 255}},    // black
        {255, 0, 0, false, {60, 66, 0}},        // cyan alone: dy and dm 0, the dy branch
        {0, 255, 0, false, {300, 66, 0}},       // magenta alone: a negative hue wraps
        {0, 0, 255, false, {180, 66, 0}},       // yellow alone
        {0, 255, 255, false, {240, 66, 0}},     // red on screen
        {100, 50, 0, false, {30, 25, 0}},       // 100 * 66 / 255 truncates
        {120, 120, 60, false, {0, 20, 60}},     // the lightest ink is the intensity; 60 * 66 / 195
        {255, 255, 255, true, {0, 0, 0}},       // the same bytes as screen channels: white
        {255, 0, 0, true, {240, 66, 0}},        // red
        {0, 0, 0, true, {0, 0, 255}},           // black
    };
    for (const auto& k : cases)
        EXPECT_EQ(cmyPosition(k.c, k.m, k.y, k.rgb, 66), k.expected) << int(k.c) << "," << int(k.m) << ","
                                                                    << int(k.y) << " rgb " << k.rgb;
}

TEST(CmyGeometry, HueIsDegreesFromStraightDownClockwiseOnScreen)
{
    EXPECT_EQ(cmyHue(0, 10, 10.0f), 0);  // 360 on the right-hand branch
    EXPECT_EQ(cmyHue(-3, 10, std::sqrt(109.0f)), 16);  // 16.7 truncates
    EXPECT_EQ(cmyHue(-10, 0, 10.0f), 90);
    EXPECT_EQ(cmyHue(-10, -3, std::sqrt(109.0f)), 106);
    EXPECT_EQ(cmyHue(0, -10, 10.0f), 180);
    EXPECT_EQ(cmyHue(10, -3, std::sqrt(109.0f)), 253);
    EXPECT_EQ(cmyHue(1, 10, std::sqrt(101.0f)), 354);
}

TEST(CmyGeometry, PointerOnTheDiscAndTheBar)
{
    const CmyLayout l = cmyLayout(144);
    EXPECT_EQ(cmyBallAt(72, 72, l, 7), (CmyPosition{0, 0, 7}));  // the centre
    EXPECT_EQ(cmyBallAt(62, 72, l, 0), (CmyPosition{90, 10, 0}));
    EXPECT_EQ(cmyBallAt(72, 500, l, 0), (CmyPosition{0, 66, 0}));  // beyond the rim: capped
    EXPECT_EQ(cmyBallAt(INT_MIN, INT_MAX, l, 0).saturation, 66);

    EXPECT_EQ(cmyIntensityAt(4 + 2, l), 0);
    EXPECT_EQ(cmyIntensityAt(4 + 134, l), 255);
    EXPECT_EQ(cmyIntensityAt(4 + 68, l), 66 * 255 / 132);
    EXPECT_EQ(cmyIntensityAt(INT_MIN, l), 0);
    EXPECT_EQ(cmyIntensityAt(INT_MAX, l), 255);
    EXPECT_EQ(cmyIntensityAt(10, cmyLayout(5)), std::nullopt);  // D 4: no travel
}

TEST(CmyGeometry, BarAndSampleColours)
{
    const CmyPosition cyan{60, 66, 0};
    EXPECT_EQ(cmyPoolColor(cyan, 136), cmyRgb(255 - 66 * 255 / 68, 255, 255));
    EXPECT_EQ(cmyPoolLineColor(white, 0, 136), white);
    EXPECT_EQ(cmyPoolLineColor(white, 131, 136), black);
    EXPECT_EQ(cmyPoolLineColor(white, 0, 5), white);  // one line: nothing to divide
    const CmyLayout l = cmyLayout(144);
    EXPECT_EQ(cmySampleColor(cyan, l), cmyRgb(0, 255, 255));
    EXPECT_EQ(cmySampleColor({60, 66, 128}, l), cmyRgb(0, 127, 127));
    EXPECT_EQ(cmySampleColor({60, 0, 0}, l), white);
    EXPECT_EQ(cmyIntensityRow(255, l), 4 + 255 * 132 / 256);
    EXPECT_EQ(cmyMarkerCentre({0, 0, 0}, l), (TPoint{72, 72}));
    EXPECT_EQ(cmyMarkerCentre({90, 10, 0}, l), (TPoint{62, 72}));
    EXPECT_EQ(cmyMarkerCentre({0, 66, 0}, l), (TPoint{72, 138}));
}

TEST(CmyDisc, TableDrawsWhatTheDirectComputationGives)
{
    for (const int side : {1, 4, 5, 7, 40, 136, 137}) {
        CmyDisc disc;
        disc.resize(side);
        QImage bitmap(side, side, QImage::Format_RGB32);
        disc.paint(bitmap);
        int differences = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) differences += colorAt(bitmap, x, y) != cmyDiscPixel(x, y, side);
        EXPECT_EQ(differences, 0) << side;
    }
    // White in the middle, fully inked at the rim: straight down is cyan and magenta ink (blue).
    EXPECT_EQ(cmyDiscPixel(68, 68, 136), white);
    EXPECT_EQ(cmyDiscPixel(68, 68 + 65, 136), cmyRgb(11, 11, 255));  // 255 - 255 * 65 / 68 = 11.25
    EXPECT_EQ(cmyDiscPixel(68, 68 + 66, 136), face);  // the rim row, 2 from the edge, stays face
    EXPECT_EQ(cmyDiscPixel(1, 68, 136), face);
}

class Cmy : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing::ensureGuiApplication();
        cmy.setParent(&panel);
        cmy.onChangeHandler = [this](TControl&) { ++changes; };
        cmy.onMouseDownHandler = [this](TControl&, TMouseButton, TShiftState, int, int) { ++inherited; };
        cmy.onMouseUpHandler = [this](TControl&, TMouseButton, TShiftState, int, int) { ++inherited; };
    }

    std::tuple<int, int, int> bytes() const { return {cmy.cyan(), cmy.magenta(), cmy.yellow()}; }

    TWinControl panel{nullptr};
    TCMY cmy{nullptr};
    testing::TestControlHost host{cmy};
    int changes = 0;
    int inherited = 0;
};

TEST_F(Cmy, ConstructionDefaults)
{
    EXPECT_EQ(std::tuple(cmy.width(), cmy.height()), std::tuple(168, 144));
    EXPECT_EQ(cmy.layout().D, 136);
    EXPECT_EQ(bytes(), std::tuple(0, 0, 0));
    EXPECT_FALSE(cmy.rgbSet());
    EXPECT_EQ(cmy.mixedColor(), white);
    EXPECT_EQ(cmy.markerPosition(), (TPoint{131, 131}));
}

TEST_F(Cmy, PublishedPropertiesInOrderWithStreamDefaults)
{
    const auto& props = TCMY::staticClassInfo().ownProperties();
    const char* names[] = {"Cyan", "Magenta", "Yellow", "RGBset", "OnChange", "ShowHint", "Visible"};
    ASSERT_EQ(props.size(), std::size(names));
    for (std::size_t i = 0; i < props.size(); ++i) EXPECT_EQ(props[i].name, names[i]);
    EXPECT_EQ(props[0].kind, PropertyKind::Char);
    EXPECT_EQ(props[0].streamDefault, PropertyValue(std::int64_t{0}));
    EXPECT_EQ(props[5].streamDefault, PropertyValue(std::int64_t{0}));
    EXPECT_EQ(props[6].streamDefault, PropertyValue(std::int64_t{1}));
    EXPECT_NE(TCMY::staticClassInfo().findProperty("Width"), nullptr);

    props[1].set(cmy, std::int64_t{200});  // through SetMagenta
    EXPECT_EQ(cmy.magenta(), 200);
    EXPECT_EQ(cmy.position().hue, 360 - 60);
}

TEST_F(Cmy, SettersMoveTheMarkersWithoutOnChange)
{
    host.paint();
    cmy.SetCyan(255);
    EXPECT_EQ(cmy.position(), (CmyPosition{60, 66, 0}));
    EXPECT_EQ(cmy.sampleColor(), cmyRgb(0, 255, 255));
    cmy.SetMagenta(255);
    cmy.SetYellow(255);
    EXPECT_EQ(cmy.position(), (CmyPosition{0, 0, 255}));
    EXPECT_EQ(cmy.sampleColor(), black);
    cmy.SetCyan(0);
    cmy.SetMagenta(0);
    cmy.SetYellow(0);
    EXPECT_EQ(cmy.position(), (CmyPosition{0, 0, 0}));
    EXPECT_EQ(cmy.markerPosition(), (TPoint{66, 66}));  // centred on the disc's centre
    EXPECT_EQ(changes, 0);

    const int drawn = host.drawnBetweenPaints;
    cmy.SetCyan(0);  // unchanged: nothing drawn
    EXPECT_EQ(host.drawnBetweenPaints, drawn);
}

TEST_F(Cmy, RgbSwitchKeepsTheBytesAndShowsTheComplement)
{
    cmy.SetCyan(255);
    cmy.SetRGB(true);
    EXPECT_EQ(bytes(), std::tuple(255, 0, 0));
    EXPECT_EQ(cmy.mixedColor(), cmyRgb(255, 0, 0));
    EXPECT_EQ(cmy.position().hue, 240);
    EXPECT_EQ(cmy.sampleColor(), cmyRgb(255, 0, 0));
    cmy.SetRGB(false);
    EXPECT_EQ(cmy.sampleColor(), cmyRgb(0, 255, 255));
    EXPECT_EQ(changes, 0);
}

TEST_F(Cmy, SetColorResolvesSystemColoursAndSetsTheBytesForEitherMode)
{
    cmy.SetColor(clRed);
    EXPECT_EQ(bytes(), std::tuple(0, 255, 255));
    cmy.SetColor(clBtnFace);
    EXPECT_EQ(bytes(), std::tuple(63, 63, 63));
    cmy.SetRGB(true);
    cmy.SetColor(clBtnFace);
    EXPECT_EQ(bytes(), std::tuple(192, 192, 192));
    EXPECT_EQ(changes, 0);
}

TEST_F(Cmy, SetColorAppliesAfterADragChangedTheBytes)
{
    host.paint();
    cmy.mouseDown(left, 0, 30, 72);
    cmy.mouseUp(left, 0, 30, 72);
    ASSERT_NE(cmy.mixedColor(), white);
    cmy.SetColor(clWhite);  // the colour last set, but no longer the one shown
    EXPECT_EQ(bytes(), std::tuple(0, 0, 0));
    EXPECT_EQ(cmy.sampleColor(), white);
}

TEST_F(Cmy, DiscDragReadsTheBytesBackFromTheSampleAndRaisesOnChangeOnlyOnChanges)
{
    host.paint();
    cmy.mouseDown(left, 0, 72, 72);  // the centre of a white mixer: nothing changes
    EXPECT_TRUE(cmy.draggingDisc());
    EXPECT_EQ(changes, 0);

    cmy.mouseMove(0, 72, 72 + 66);  // straight down at the rim: blue
    EXPECT_EQ(cmy.position(), (CmyPosition{0, 66, 0}));
    EXPECT_EQ(bytes(), std::tuple(255, 255, 0));
    EXPECT_EQ(changes, 1);
    cmy.mouseMove(0, 72, 72 + 90);  // beyond the rim: the same colour
    EXPECT_EQ(changes, 1);
    cmy.mouseMove(0, 72 - 33, 72);  // half way out to the left
    EXPECT_EQ(cmy.position(), (CmyPosition{90, 33, 0}));
    const std::uint32_t sample = cmy.sampleColor();
    EXPECT_EQ(cmy.mixedColor(), sample);
    EXPECT_EQ(changes, 2);

    cmy.mouseUp(left, 0, 72 + 20, 72);  // a last position, without OnChange
    EXPECT_FALSE(cmy.draggingDisc());
    EXPECT_EQ(cmy.position().hue, 270);
    EXPECT_NE(cmy.mixedColor(), sample);
    EXPECT_EQ(changes, 2);
    cmy.mouseMove(0, 72, 72);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(inherited, 0);
}

TEST_F(Cmy, RgbModeReadsTheScreenChannelsBack)
{
    cmy.SetRGB(true);
    cmy.SetColor(clWhite);
    cmy.mouseDown(left, 0, 72, 72 + 66);
    EXPECT_EQ(bytes(), std::tuple(0, 0, 255));
    EXPECT_EQ(changes, 1);
}

TEST_F(Cmy, BarDragDarkensTheSample)
{
    cmy.SetCyan(255);
    cmy.mouseDown(left, 0, 150, 4 + 2 + 66);
    EXPECT_TRUE(cmy.draggingBar());
    EXPECT_EQ(cmy.position().intensity, 66 * 255 / 132);
    EXPECT_EQ(cmy.sampleColor(), cmyRgb(0, 128, 128));  // 255 - 127 * 255 / 255
    EXPECT_EQ(bytes(), std::tuple(255, 127, 127));
    EXPECT_EQ(changes, 1);
    cmy.mouseMove(0, 500, 1000);  // below the bar: black, wherever the pointer is across
    EXPECT_EQ(bytes(), std::tuple(255, 255, 255));
    EXPECT_EQ(changes, 2);
    cmy.mouseUp(left, 0, 150, 4);
    EXPECT_EQ(bytes(), std::tuple(255, 0, 0));
    EXPECT_EQ(changes, 2);
}

TEST_F(Cmy, ResetReleasedElsewhereStillResetsToWhite)
{
    for (const bool rgb : {false, true}) {
        cmy.SetRGB(rgb);
        cmy.SetColor(clRed);
        changes = 0;
        cmy.mouseDown(left, 0, 10, 130);
        EXPECT_TRUE(cmy.resetPressed());
        EXPECT_EQ(cmy.mixedColor(), cmyRgb(255, 0, 0));
        cmy.mouseMove(0, 72, 72);
        cmy.mouseUp(left, 0, 900, -40);
        EXPECT_FALSE(cmy.resetPressed());
        const int byte = rgb ? 255 : 0;
        EXPECT_EQ(bytes(), std::tuple(byte, byte, byte));
        EXPECT_EQ(cmy.position(), (CmyPosition{0, 0, 0}));
        EXPECT_EQ(changes, 1);
    }
}

TEST_F(Cmy, PressesOutsideTheControlsOrWithOtherButtonsDoNothing)
{
    cmy.mouseDown(left, 0, 3, 72);    // left of the disc
    cmy.mouseDown(left, 0, 161, 72);  // right of the bar
    cmy.mouseDown(left, 0, 72, 141);  // below the disc
    cmy.mouseDown(left, 0, 142, 72);  // between disc and bar
    EXPECT_FALSE(cmy.draggingDisc() || cmy.draggingBar() || cmy.resetPressed());
    cmy.mouseDown(right, 0, 72, 100);
    cmy.mouseDown(right, 0, 10, 130);
    cmy.mouseUp(right, 0, 10, 130);
    EXPECT_FALSE(cmy.draggingDisc() || cmy.resetPressed());
    EXPECT_EQ(bytes(), std::tuple(0, 0, 0));
    EXPECT_EQ(changes + inherited, 0);
}

TEST_F(Cmy, PaintDrawsFrameDiscBarSampleAndResetButton)
{
    cmy.SetCyan(255);
    const QImage image = host.paint();
    EXPECT_EQ(colorAt(image, 0, 50), shadow);
    EXPECT_EQ(colorAt(image, 50, 0), shadow);
    EXPECT_EQ(colorAt(image, 167, 50), white);
    EXPECT_EQ(colorAt(image, 50, 143), white);
    EXPECT_EQ(colorAt(image, 164, 50), face);

    EXPECT_EQ(colorAt(image, 4 + 68, 4 + 68), white);  // the disc's centre
    EXPECT_EQ(colorAt(image, 4 + 68, 4 + 68 + 60), cmyDiscPixel(68, 128, 136));
    EXPECT_EQ(colorAt(image, 4 + 68 + 60, 4 + 68), cmyDiscPixel(128, 68, 136));
    EXPECT_EQ(colorAt(image, 4 + 1, 4 + 68), face);  // outside the rim

    // The bar: saturated cyan at its top row, black at its bottom, face at its sides.
    const std::uint32_t top = cmyPoolColor(cmy.position(), 136);
    EXPECT_EQ(colorAt(image, 144 + 2, 4 + 2), top);
    EXPECT_EQ(colorAt(image, 144 + 13, 4 + 60), cmyPoolLineColor(top, 58, 136));
    EXPECT_EQ(colorAt(image, 144 + 2, 4 + 133), black);
    EXPECT_EQ(colorAt(image, 144 + 1, 4 + 60), face);
    // The intensity marker: white rows 0, 1, 3 and 4 across the whole bar at intensity 0.
    for (const int k : {0, 1, 3, 4}) EXPECT_EQ(colorAt(image, 144, 4 + k), white) << k;

    EXPECT_EQ(colorAt(image, 4, 4), cmyRgb(0, 255, 255));  // the sample
    EXPECT_EQ(colorAt(image, 19, 19), cmyRgb(0, 255, 255));

    // The marker: 66 pixels out at hue 60, truncated (72 - 57.16, 72 + 33).
    const TPoint c = cmyMarkerCentre(cmy.position(), cmy.layout());
    EXPECT_EQ(c, (TPoint{14, 105}));
    EXPECT_EQ(colorAt(image, c.x - 2, c.y - 2), black);
    EXPECT_EQ(colorAt(image, c.x + 2, c.y + 2), black);
    EXPECT_NE(colorAt(image, c.x, c.y), black);

    // The reset button: raised bevel, dark square, white disc.
    EXPECT_EQ(colorAt(image, 4, 130), white);
    EXPECT_EQ(colorAt(image, 10, 124), white);
    EXPECT_EQ(colorAt(image, 20, 130), shadow);
    EXPECT_EQ(colorAt(image, 10, 140), shadow);
    EXPECT_EQ(colorAt(image, 5, 125), black);
    EXPECT_EQ(colorAt(image, 12, 132), white);

    cmy.mouseDown(left, 0, 10, 130);  // pressed: the bevel turns
    EXPECT_EQ(colorAt(host.surface(), 4, 130), shadow);
    EXPECT_EQ(colorAt(host.surface(), 20, 130), white);
}

TEST_F(Cmy, DrawingBetweenPaintsMatchesAFullPaint)
{
    host.paint();
    cmy.SetCyan(200);
    cmy.SetYellow(90);
    cmy.mouseDown(left, 0, 100, 40);
    cmy.mouseMove(0, 150, 100);
    const QImage incremental = host.surface().copy();
    EXPECT_EQ(incremental, host.paint());
}

TEST_F(Cmy, ResizingRedrawsTheDiscForTheNewHeight)
{
    cmy.setHeight(72);
    host.paint();
    EXPECT_EQ(cmy.layout().D, 68);
    EXPECT_EQ(colorAt(host.surface(), 2 + 34, 2 + 34), white);
    cmy.SetCyan(255);
    EXPECT_EQ(cmy.position().saturation, 34 - 2);
}

TEST(CmySizes, TinyAndHugeHeightsNeitherCrashNorAllocateHugely)
{
    testing::ensureGuiApplication();
    TWinControl panel{nullptr};
    for (const int height : {INT_MIN, -10, 0, 1, 4, 5, 6, 8, 10, INT_MAX}) {
        TCMY cmy{nullptr};
        cmy.setParent(&panel);
        cmy.setWidth(height);
        cmy.setHeight(height);
        QImage image = testing::filledImage(40, 40, 0);
        PaintBufferBudget budget;
        {
            TCanvas canvas(image);
            canvas.setBudget(&budget);
            cmy.paint(canvas);
        }
        // The disc is drawn for what the canvas shows, a pixel beyond it all round, and not kept.
        EXPECT_LE(budget.peakBytes(), 42 * 42 * 4) << height;
        EXPECT_EQ(budget.heldBytes(), 0) << height;
        cmy.SetCyan(255);
        cmy.SetRGB(true);
        for (const int at : {0, 2, 3, height / 2, height / 2 + 1, INT_MIN, INT_MAX}) {
            cmy.mouseDown(left, 0, at, at);
            cmy.mouseMove(0, at, INT_MAX);
            cmy.mouseUp(left, 0, INT_MIN, at);
        }
        const CmyPosition p = cmy.position();
        EXPECT_TRUE(p.hue >= 0 && p.hue < 360 && p.saturation >= 0 && p.intensity >= 0 && p.intensity <= 255);
    }
}

}  // namespace
}  // namespace trovelin
