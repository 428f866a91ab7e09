// The skin's colour helpers and its gradient and shade drawing, painted into small images.

#include <gtest/gtest.h>

#include "framework/Canvas.h"
#include "skin/Wconst.h"
#include "support/GuiApplication.h"
#include "support/PixelProbe.h"

namespace trovelin {
namespace {

using testing::colorAt;
using testing::filledImage;

constexpr std::uint32_t untouched = 0x123456;

class Wconst : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }
};

TEST_F(Wconst, ColorHelpersClampEachChannel)
{
    struct Case {
        TColor (*helper)(TColor);
        TColor in, out;
    };
    const Case cases[] = {
        {LightenColor32, 0x00E0FF10, 0x00FFFF30}, {LightenColor32, 0x00DFDFDF, 0x00FFFFFF},
        {LightenColor64, 0x00C0BF00, 0x00FFFF40}, {DarkenColor32, 0x00201F40, 0x00000020},
        {DarkenColor96, 0x00205F60, 0x00000000}, {DarkenColor96, 0x00FF6061, 0x009F0001},
        {TintBlue32, 0x00E01020, 0x00FF1020},     {TintBlue32, 0x00DF1020, 0x00FF1020},
        {TintBlue32, 0x00C01020, 0x00E01020},
        // System colours resolve first: button face is 0xC0C0C0 in the standard scheme.
        {LightenColor32, clBtnFace, 0x00E0E0E0},  {DarkenColor96, clBtnFace, 0x00606060},
    };
    for (const Case& c : cases) EXPECT_EQ(c.helper(c.in), c.out) << std::hex << c.in;
}

TEST_F(Wconst, GradientCoversEveryRowAndStopsOneStepShortOfTheBottomColour)
{
    QImage image = filledImage(6, 26, untouched);
    TCanvas canvas(image);
    DrawGradient(canvas, {0, 1, 5, 24}, 0xDFDFDF, 0x7F7F7F);  // 24 rows: a step of -4
    for (int k = 0; k < 24; ++k) {
        const auto grey = static_cast<std::uint32_t>(0xDF - 4 * k);
        EXPECT_EQ(colorAt(image, 0, 1 + k), grey * 0x010101) << "row " << k;
        EXPECT_EQ(colorAt(image, 4, 1 + k), grey * 0x010101) << "row " << k;
    }
    EXPECT_EQ(colorAt(image, 5, 5), untouched);  // the right column is left to the frame
    EXPECT_EQ(colorAt(image, 0, 0), untouched);
    EXPECT_EQ(colorAt(image, 0, 25), untouched);
    EXPECT_EQ(canvas.pen().color(), static_cast<TColor>(0x838383));
}

TEST_F(Wconst, GradientStepsTruncateEachChannel)
{
    QImage image = filledImage(2, 3, untouched);
    TCanvas canvas(image);
    DrawGradient(canvas, {0, 0, 2, 2}, 0x000A00, 0x0A0000);  // green -10/3, blue +10/3 per row
    EXPECT_EQ(colorAt(image, 0, 0), 0x000A00u);
    EXPECT_EQ(colorAt(image, 0, 1), 0x030600u);  // 6.67 and 3.33
    EXPECT_EQ(colorAt(image, 0, 2), 0x060300u);  // 3.33 and 6.67
}

TEST_F(Wconst, ShadeRunsFromLighterThroughTheColourToDarker)
{
    QImage image = filledImage(3, 25, untouched);
    {
        TCanvas canvas(image);
        DrawShadeV(canvas, {0, 0, 2, 23}, 0x808080);  // 24 rows
    }
    EXPECT_EQ(colorAt(image, 0, 0), 0xA0A0A0u);
    EXPECT_EQ(colorAt(image, 1, 11), 0x828282u);
    EXPECT_EQ(colorAt(image, 0, 12), 0x808080u);
    EXPECT_EQ(colorAt(image, 0, 23), 0x626262u);
    EXPECT_EQ(colorAt(image, 2, 0), untouched);
    EXPECT_EQ(colorAt(image, 0, 24), untouched);

    {
        TCanvas canvas(image);
        DrawShadeV(canvas, {0, 0, 2, 24}, 0x808080);  // 25 rows: 12 up, 13 down
    }
    EXPECT_EQ(colorAt(image, 0, 12), 0x808080u);
    EXPECT_EQ(colorAt(image, 0, 24), 0x606060u);
}

TEST_F(Wconst, ShadeFollowsAChangedColourAndResolvesSystemColours)
{
    QImage image = filledImage(2, 4, untouched);
    TCanvas canvas(image);
    DrawShadeV(canvas, {0, 0, 1, 3}, 0x404040);
    EXPECT_EQ(colorAt(image, 0, 0), 0x606060u);
    DrawShadeV(canvas, {0, 0, 1, 3}, clBtnFace);
    EXPECT_EQ(colorAt(image, 0, 0), 0xE0E0E0u);
    EXPECT_EQ(colorAt(image, 0, 2), 0xC0C0C0u);
    EXPECT_EQ(colorAt(image, 0, 3), 0xB0B0B0u);
}

TEST_F(Wconst, HorizontalShadeRunsByColumns)
{
    QImage image = filledImage(5, 3, untouched);
    TCanvas canvas(image);
    DrawShadeH(canvas, {0, 0, 4, 2}, 0x808080);  // 5 columns: 2 left, 3 right
    EXPECT_EQ(colorAt(image, 0, 0), 0xA0A0A0u);
    EXPECT_EQ(colorAt(image, 1, 1), 0x909090u);
    EXPECT_EQ(colorAt(image, 2, 0), 0x808080u);
    EXPECT_EQ(colorAt(image, 4, 1), 0x606060u);
    EXPECT_EQ(colorAt(image, 4, 2), untouched);  // rows stop before the bottom
}

TEST_F(Wconst, SingleLineShadesDrawTheColourAndEmptyRectanglesNothing)
{
    QImage image = filledImage(3, 3, untouched);
    TCanvas canvas(image);
    DrawShadeV(canvas, {0, 1, 3, 1}, 0x808080);
    EXPECT_EQ(colorAt(image, 0, 1), 0x808080u);
    DrawShadeH(canvas, {2, 0, 2, 1}, 0x404040);
    EXPECT_EQ(colorAt(image, 2, 0), 0x404040u);
    DrawGradient(canvas, {0, 2, 3, 0}, 0xFFFFFF, 0);
    DrawShadeV(canvas, {0, 2, 3, 0}, 0xFFFFFF);
    EXPECT_EQ(colorAt(image, 0, 2), untouched);
}

}  // namespace
}  // namespace trovelin
