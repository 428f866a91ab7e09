// The skinned blink button and lamp button (TWCBTC, not the panel's TCBTC): latching and
// blinking on a hand-turned clock, the momentary lamp and its box, frames by pixels.

#include <gtest/gtest.h>

#include "framework/Timer.h"
#include "framework/WinControl.h"
#include "skin/Wblinkbutton.h"
#include "skin/Wcbtc.h"
#include "streaming/Reader.h"
#include "streaming/Stream.h"
#include "support/GuiApplication.h"
#include "support/PixelProbe.h"
#include "support/RecordWriter.h"
#include "support/TestControlHost.h"

namespace trovelin {
namespace {

using testing::colorAt;
constexpr auto left = TMouseButton::mbLeft;

class WBlinkButton : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }
    WBlinkButton()
    {
        button.setParent(&form);
        button.setColor(clLime);
        button.setAlterColor(clGreen);
        button.onClickHandler = [this](TControl&) { ++clicks; };
    }
    // The blink timer must go before the host's clock.
    ~WBlinkButton() override { button.setDown(false); }
    void press()
    {
        button.mouseDown(left, ssLeft, 5, 5);
        button.mouseUp(left, 0, 5, 5);
    }

    TWinControl form{nullptr};
    TWBlinkButton button{nullptr};
    testing::TestControlHost host{button};
    int clicks = 0;
};

TEST_F(WBlinkButton, AClickLatchesItDownAndItBlinksEveryHalfSecondUntilTheNext)
{
    press();
    EXPECT_TRUE(button.down());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button.currentColor(), clLime);
    host.clock.advance(499);
    EXPECT_EQ(button.currentColor(), clLime);
    host.clock.advance(1);
    EXPECT_EQ(button.currentColor(), clGreen);
    host.clock.advance(500);
    EXPECT_EQ(button.currentColor(), clLime);

    press();
    EXPECT_FALSE(button.down());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(button.blinkTimer(), nullptr);
    EXPECT_EQ(button.currentColor(), clLime);
    host.clock.advance(2000);
    EXPECT_EQ(button.currentColor(), clLime);
}

TEST_F(WBlinkButton, AColourChangeWhileBlinkingShowsAtOnceAndBlinksOn)
{
    button.setDown(true);
    host.clock.advance(500);
    ASSERT_EQ(button.currentColor(), clGreen);
    button.setColor(clRed);
    EXPECT_EQ(button.currentColor(), clRed);
    host.clock.advance(500);
    EXPECT_EQ(button.currentColor(), clGreen);
    host.clock.advance(500);
    EXPECT_EQ(button.currentColor(), clRed);
}

TEST_F(WBlinkButton, DownIsAGradientWithADarkTopLeftFrame)
{
    const QImage up = host.paint();
    EXPECT_EQ(colorAt(up, 0, 10), 0x00DF00u);  // DarkenColor32
    EXPECT_EQ(colorAt(up, 30, 10), 0x009F00u);  // DarkenColor96
    button.setDown(true);
    const QImage& down = host.paint();
    EXPECT_EQ(colorAt(down, 0, 10), 0x009F00u);
    EXPECT_EQ(colorAt(down, 30, 10), 0x00DF00u);
    EXPECT_EQ(colorAt(down, 10, 1), 0x01E001u);  // one step of 32 / 31 per channel from 0x00DF00
}

TEST(WBlinkButtonRecords, ADownButtonReadWithoutAHostStartsBlinkingWhenShown)
{
    testing::RecordWriter record;
    record.beginRecord("TWBlinkButton", "Blink").property("Down").boolean(true).end().end();
    TWBlinkButton button(nullptr);
    ByteViewStream stream(record.bytes());
    readComponentRecord(stream, button);
    EXPECT_TRUE(button.down());
    EXPECT_EQ(button.blinkTimer(), nullptr);

    testing::ensureGuiApplication();
    TWinControl form(nullptr);
    button.setParent(&form);
    testing::TestControlHost host(button);
    host.paint();
    host.clock.advance(500);
    EXPECT_EQ(button.currentColor(), clBtnHighlight);
    button.setDown(false);
}

class WCbtc : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }
    WCbtc()
    {
        lamp.setParent(&form);
        lamp.onClickHandler = [this](TControl&) { ++clicks; };
    }

    TWinControl form{nullptr};
    TWCBTC lamp{nullptr};
    testing::TestControlHost host{lamp};
    int clicks = 0;
};

TEST_F(WCbtc, TheLampSitsInItsBoxAndMovesWhileTheButtonIsHeld)
{
    EXPECT_EQ(lamp.lampBox(), (TRect{5, 5, 25, 25}));
    const QImage up = host.paint();
    EXPECT_EQ(colorAt(up, 15, 5), 0x0000FFu);
    EXPECT_EQ(colorAt(up, 15, 24), 0x0000FFu);
    EXPECT_NE(colorAt(up, 15, 25), 0x0000FFu);
    EXPECT_EQ(colorAt(up, 0, 10), 0xBFBFBFu);
    EXPECT_EQ(colorAt(up, 30, 10), 0x3F3F3Fu);

    lamp.mouseDown(left, ssLeft, 15, 15);
    EXPECT_TRUE(lamp.down());
    EXPECT_EQ(lamp.lampBox(), (TRect{6, 6, 26, 26}));
    const QImage& held = host.paint();
    EXPECT_EQ(colorAt(held, 15, 25), 0x0000FFu);
    EXPECT_NE(colorAt(held, 15, 5), 0x0000FFu);
    EXPECT_EQ(colorAt(held, 0, 10), 0x3F3F3Fu);
    EXPECT_EQ(clicks, 0);

    lamp.mouseUp(left, 0, 40, 40);  // released anywhere: it clicks
    EXPECT_FALSE(lamp.down());
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace trovelin
