// The skinned faders: the panel faders' behaviour with the skinned drawing (shaded background,
// dark slot that empties while disabled, bevelled and ribbed knob), moves between paints, and
// the hint on a window-coloured background.

#include <gtest/gtest.h>

#include "framework/SystemColors.h"
#include "framework/WinControl.h"
#include "skin/Wslider.h"
#include "skin/Wsliderh.h"
#include "support/GuiApplication.h"
#include "support/PixelProbe.h"
#include "support/TestControlHost.h"

namespace trovelin {
namespace {

using testing::colorAt;

class Wslider : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }
    Wslider()
    {
        slider.setParent(&panel);
        sliderh.setParent(&panel);
    }
    ~Wslider() override { slider.mouseLeave(); }

    TWinControl panel{nullptr};
    TWSlider slider{nullptr};
    TWSliderh sliderh{nullptr};
    testing::TestControlHost host{slider};
};

TEST_F(Wslider, SlotEmptiesWhileDisabledAndTheKnobIsBevelledAndRibbed)
{
    const QImage enabled = host.paint();
    EXPECT_EQ(colorAt(enabled, 20, 60), colorToRgb(clWindowText));
    EXPECT_EQ(colorAt(enabled, 15, 60), 0x3F3F3Fu);  // the slot's outline
    EXPECT_EQ(colorAt(enabled, 6, 9), 0x3F3F3Fu);  // the first tick, from W / 8 on its row

    // Position 0: the knob's 19 rows start at 133.
    EXPECT_EQ(colorAt(enabled, 0, 140), 0x7F7F7Fu);
    EXPECT_EQ(colorAt(enabled, 10, 133), 0x7F7F7Fu);
    EXPECT_EQ(colorAt(enabled, 39, 140), 0x3F3F3Fu);
    EXPECT_EQ(colorAt(enabled, 10, 151), 0x3F3F3Fu);
    for (int rib : {139, 141, 143}) {
        EXPECT_EQ(colorAt(enabled, 20, rib), 0x3F3F3Fu) << rib;
        EXPECT_EQ(colorAt(enabled, 20, rib + 1), 0xBFBFBFu) << rib;
    }
    EXPECT_NE(colorAt(enabled, 20, 145), 0x3F3F3Fu);  // ribs stop before two thirds

    slider.setEnabled(false);
    EXPECT_EQ(colorAt(host.paint(), 20, 60), colorToRgb(clBtnFace));
    slider.set16bit(true);
    slider.setWidth(80);  // a fine slot wide enough to have an inside: columns 64 to 67
    EXPECT_EQ(colorAt(host.paint(), 65, 60), colorToRgb(clWindowText));  // the fine slot stays dark
}

TEST_F(Wslider, MovingTheKnobBetweenPaintsLooksLikeAFullPaint)
{
    for (bool fine : {false, true}) {
        slider.set16bit(fine);
        host.paint();
        slider.setPosition(fine ? 30 : 100);
        slider.setFinePosition(200);
        const QImage moved = host.surface().copy();
        EXPECT_EQ(moved, host.paint()) << fine;
    }
}

TEST_F(Wslider, TheHorizontalKnobIsShadedFromLeftToRight)
{
    testing::TestControlHost hostH(sliderh);
    const QImage image = hostH.paint();  // position 0: columns 0 to 18
    EXPECT_EQ(colorAt(image, 3, 5), colorAt(image, 3, 30));
    EXPECT_NE(colorAt(image, 3, 20), colorAt(image, 15, 20));
    EXPECT_EQ(colorAt(image, 5, 0), 0x7F7F7Fu);   // top edge
    EXPECT_EQ(colorAt(image, 18, 20), 0x3F3F3Fu);  // right edge
}

TEST_F(Wslider, TheHintShowsOnTheWindowColour)
{
    slider.mouseEnter();
    slider.mouseMove(0, 20, 60);
    EXPECT_TRUE(host.hint.showing);
    EXPECT_EQ(host.hint.color, clWindow);
}

}  // namespace
}  // namespace trovelin
