// The skinned scroll bar: button size and thumb, the size rule and Kind, the press zones with
// their repeat on a hand-turned clock, the thumb drag, keys by orientation, the painted track,
// arrows and focus grip, and ranges and sizes that must neither divide by zero nor overflow.

#include <gtest/gtest.h>

#include <limits>

#include <QPainter>

#include "framework/Canvas.h"
#include "framework/ControlInput.h"
#include "framework/Keys.h"
#include "framework/PaintBuffer.h"
#include "framework/Timer.h"
#include "framework/WinControl.h"
#include "skin/Wscrollbar.h"
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
constexpr std::uint32_t shadow = 0x7F7F7F, highlight = 0xBFBFBF, darkShadow = 0x3F3F3F;

class Wscrollbar : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }
    Wscrollbar()
    {
        bar.setParent(&form);
        bar.onChangeHandler = [this](TControl&) { ++changes; };
    }
    // The repeat timer must go before the host's clock.
    ~Wscrollbar() override { bar.mouseUp(left, 0, 0, 0); }
    void press(int x, int y)
    {
        bar.mouseDown(left, ssLeft, x, y);
        bar.mouseUp(left, 0, x, y);
    }
    int key(int code)
    {
        bar.keyDown(code, 0);
        return bar.position();
    }

    TWinControl form{nullptr};
    TWScrollBar bar{nullptr};
    testing::TestControlHost host{bar};
    int changes = 0;
};

TEST_F(Wscrollbar, ButtonSizeAndThumbFollowLengthAndPosition)
{
    EXPECT_EQ(bar.width(), 48);
    EXPECT_EQ(bar.height(), 16);
    EXPECT_EQ(bar.buttonSize(), 16);
    for (int position : {0, 50, 100}) {
        bar.setPosition(position);
        EXPECT_EQ(bar.thumbOffset(), 16) << position;  // no track: the thumb never moves
    }
    bar.setWidth(100);
    bar.setPosition(50);
    EXPECT_EQ(bar.thumbOffset(), 16 + 50 * 52 / 100);
    bar.setHeight(40);  // 100 < 3 x 40: a third of the length
    EXPECT_EQ(bar.buttonSize(), 33);

    bar.setMax(0);  // Max = Min: the thumb rests at Min's place and drags do nothing
    EXPECT_EQ(bar.thumbOffset(), 33);
    bar.mouseDown(left, ssLeft, 40, 8);
    EXPECT_EQ(bar.zone(), ScrollZone::thumb);
    bar.mouseMove(ssLeft, 90, 8);
    EXPECT_EQ(changes, 0);
}

TEST_F(Wscrollbar, SizesKeepTheirMinimumsAndKindTurnsTheBar)
{
    bar.setWidth(100);
    bar.setHeight(5);
    EXPECT_EQ(bar.height(), 10);
    bar.setKind(TScrollBarKind::sbVertical);
    EXPECT_EQ(bar.width(), 10);
    EXPECT_EQ(bar.height(), 100);
    bar.setWidth(4);
    EXPECT_EQ(bar.width(), 10);

    TWScrollBar turned(nullptr);
    turned.setWidth(100);
    turned.setKind(TScrollBarKind::sbVertical);
    EXPECT_EQ(turned.width(), 16);
    EXPECT_EQ(turned.height(), 100);
}

TEST(WscrollbarRecords, TheSizeRuleWaitsForTheWholeRecord)
{
    // A vertical bar stores its sizes before its kind: read at once, 16 wide would grow to 48.
    testing::RecordWriter record;
    record.beginRecord("TWScrollBar", "Bar")
        .property("Width").integer(16)
        .property("Height").integer(100)
        .property("Kind").ident("sbVertical")
        .property("Max").integer(200)
        .property("Position").integer(150)
        .end().end();
    TWScrollBar bar(nullptr);
    ByteViewStream stream(record.bytes());
    readComponentRecord(stream, bar);
    EXPECT_EQ(bar.width(), 16);
    EXPECT_EQ(bar.height(), 100);
    EXPECT_EQ(bar.position(), 150);
}

TEST_F(Wscrollbar, HoldingTheLastArrowStepsAtOnceAfterHalfASecondThenFiveTimesASecond)
{
    bar.setWidth(100);
    bar.mouseDown(left, ssLeft, 95, 8);
    EXPECT_EQ(bar.zone(), ScrollZone::lastArrow);
    EXPECT_TRUE(bar.focused());
    EXPECT_EQ(bar.position(), 1);
    host.clock.advance(499);
    EXPECT_EQ(bar.position(), 1);
    host.clock.advance(1);
    EXPECT_EQ(bar.position(), 2);
    host.clock.advance(199);
    EXPECT_EQ(bar.position(), 2);
    host.clock.advance(1);
    EXPECT_EQ(bar.position(), 3);
    host.clock.advance(200);
    EXPECT_EQ(bar.position(), 4);
    EXPECT_EQ(changes, 4);
    bar.mouseUp(left, 0, 95, 8);
    EXPECT_EQ(bar.zone(), ScrollZone::none);
    host.clock.advance(1000);
    EXPECT_EQ(bar.position(), 4);
}

TEST_F(Wscrollbar, EachZoneStepsItsWayAndClampedStepsStillReportAChange)
{
    bar.setWidth(100);
    bar.setLargeChange(10);
    press(5, 8);  // first arrow at Min
    EXPECT_EQ(bar.position(), 0);
    EXPECT_EQ(changes, 1);
    press(80, 8);  // track after the thumb at 16
    EXPECT_EQ(bar.position(), 10);
    bar.setPosition(50);  // thumb at 42
    press(30, 8);
    EXPECT_EQ(bar.position(), 40);

    bar.setPosition(50);
    bar.mouseDown(left, ssLeft, 50, 8);  // the thumb: grabbed, no step, no repeat
    EXPECT_EQ(bar.zone(), ScrollZone::thumb);
    EXPECT_EQ(bar.repeatTimer(), nullptr);
    bar.mouseMove(ssLeft, 16 + 8 + 13, 8);  // 13 pixels into the track: 13 x 100 / 52
    EXPECT_EQ(bar.position(), 25);
    bar.mouseMove(ssLeft, 500, 8);
    EXPECT_EQ(bar.position(), 100);
    EXPECT_EQ(changes, 5);
    bar.mouseUp(left, 0, 0, 8);
}

TEST_F(Wscrollbar, TheUpKeyRaisesAHorizontalBarAndLowersAVerticalOne)
{
    bar.setPosition(50);
    bar.setLargeChange(10);
    EXPECT_EQ(key(VK_UP), 51);
    EXPECT_EQ(key(VK_PRIOR), 61);
    EXPECT_EQ(key(VK_LEFT), 61);
    bar.setKind(TScrollBarKind::sbVertical);
    EXPECT_EQ(key(VK_UP), 60);
    EXPECT_EQ(key(VK_PRIOR), 50);
    EXPECT_EQ(changes, 4);
}

TEST_F(Wscrollbar, PaintShowsThePressedTrackTheArrowsAndTheFocusGrip)
{
    bar.setWidth(100);
    bar.setPosition(50);
    const QImage& rest = host.paint();
    EXPECT_EQ(colorAt(rest, 30, 8), highlight);
    EXPECT_EQ(colorAt(rest, 9, 8), 0u);  // inside the first arrow, in window text
    EXPECT_EQ(colorAt(rest, 6, 8), darkShadow);  // its tip, outlined

    bar.mouseDown(left, ssLeft, 30, 8);  // before the thumb, which moves to 41
    const QImage& pressed = host.paint();
    EXPECT_EQ(colorAt(pressed, 30, 8), shadow);
    EXPECT_EQ(colorAt(pressed, 70, 8), highlight);
    bar.mouseUp(left, 0, 30, 8);

    // Focused (the press took the focus): three dark and light pairs across the thumb's middle.
    const int ca = bar.thumbOffset() + 8;
    const QImage& focused = host.paint();
    for (int along : {ca - 2, ca, ca + 2}) {
        EXPECT_EQ(colorAt(focused, along, 4), darkShadow) << along;
        EXPECT_EQ(colorAt(focused, along + 1, 11), highlight) << along;
    }
    form.setFocus();
    EXPECT_NE(colorAt(host.paint(), ca, 4), darkShadow);
}

TEST_F(Wscrollbar, ExtremeRangesAndSizesNeitherOverflowNorHang)
{
    constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
    constexpr auto highest = std::numeric_limits<std::int32_t>::max();
    bar.setMin(lowest);
    bar.setMax(highest);
    bar.setPosition(highest);
    bar.setSmallChange(highest);
    bar.setLargeChange(lowest);
    bar.UpClick();
    EXPECT_EQ(bar.position(), highest);
    bar.LargeDownClick();  // minus the lowest integer
    EXPECT_EQ(bar.position(), highest);
    bar.LargeUpClick();
    EXPECT_EQ(bar.position(), -1);

    bar.setMin(10);
    bar.setMax(-10);  // Max below Min: Min wins, and the thumb rests at its place
    bar.setPosition(0);
    EXPECT_EQ(bar.position(), 10);
    EXPECT_EQ(bar.thumbOffset(), 16);

    bar.setMax(highest);
    bar.setWidth(highest);
    bar.setHeight(highest);
    bar.setHost(nullptr);
    // Seen far from its top left corner, the bar's images hold only what shows, and only while
    // it paints.
    QImage small(64, 64, QImage::Format_RGB32);
    QPainter painter(&small);
    painter.translate(-10'000, -10'000);
    TCanvas canvas(painter);
    PaintBufferBudget budget;
    canvas.setBudget(&budget);
    bar.paint(canvas);
    EXPECT_LE(budget.peakBytes(), 2 * 66 * 66 * 4);
    EXPECT_EQ(budget.heldBytes(), 0);
    bar.mouseDown(left, ssLeft, 5000, 5000);
    bar.mouseMove(ssLeft, lowest, lowest);
}

// A disabled bar hears no release; re-enabled, it must neither step on by itself nor have the
// thumb follow a pointer with no button held.
TEST_F(Wscrollbar, DisablingAHeldBarEndsItsRepeatAndItsDragEitherWay)
{
    form.setWidth(100);
    form.setHeight(40);
    ControlInput input(form);
    input.mouseDown(left, ssLeft, {40, 8});  // the last arrow: one step at once
    bar.setEnabled(false);
    input.mouseUp(left, 0, {40, 8});
    host.clock.advance(100);
    bar.setEnabled(true);
    host.clock.advance(2000);
    EXPECT_EQ(bar.position(), 1);
    EXPECT_EQ(bar.zone(), ScrollZone::none);

    input.mouseDown(left, ssLeft, {bar.thumbOffset() + 2, 8});
    ASSERT_EQ(bar.zone(), ScrollZone::thumb);
    bar.setEnabled(false);
    input.mouseUp(left, 0, {bar.thumbOffset() + 2, 8});
    bar.setEnabled(true);
    input.mouseMove(0, {47, 8});
    EXPECT_EQ(bar.position(), 1);
    EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace trovelin
