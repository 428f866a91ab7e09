// The skinned tracker: layout, step buttons with repeat, track drag and hint, the narrow-control
// rules, the cached track image and what it shows.

#include <gtest/gtest.h>

#include <limits>

#include "framework/Canvas.h"
#include "framework/ControlInput.h"
#include "framework/SystemColors.h"
#include "framework/Timer.h"
#include "framework/WinControl.h"
#include "skin/Wtracker.h"
#include "support/GuiApplication.h"
#include "support/PixelProbe.h"
#include "support/TestControlHost.h"

namespace trovelin {
namespace {

using testing::colorAt;
constexpr auto left = TMouseButton::mbLeft;

TEST(TrackerGeometry, ButtonSizeTrackAndTravel)
{
    const TrackerLayout standard = TrackerLayout::of(39, 192);  // height / width is 4
    EXPECT_EQ(standard.button, 10);
    EXPECT_EQ(standard.track, 172);
    EXPECT_EQ(standard.travel, 151);
    EXPECT_EQ(standard.knobOffset(255, 0, 255), 10);
    EXPECT_EQ(standard.knobOffset(0, 0, 255), 161);

    const TrackerLayout tall = TrackerLayout::of(40, 200);  // even: 39 wide; 200 / 40 = 5
    EXPECT_EQ(tall.width, 39);
    EXPECT_EQ(tall.button, 20);
    EXPECT_FALSE(trackerPaints(0, 100));
    EXPECT_FALSE(trackerTakesInput(40, 49));
    EXPECT_TRUE(trackerPaints(40, 40));
}

class Wtracker : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }
    Wtracker()
    {
        tracker.setParent(&panel);
        tracker.onChangeHandler = [this](TControl&) { ++changes; };
    }
    ~Wtracker() override { tracker.mouseUp(left, 0, 0, 0); }

    TWinControl panel{nullptr};
    TWTracker tracker{nullptr};
    testing::TestControlHost host{tracker};
    int changes = 0;
};

TEST_F(Wtracker, StepButtonsStepAndRepeatWhileHeld)
{
    tracker.setPosition(254);
    tracker.mouseDown(left, 0, 5, 3);  // up button, at Max - 1: one step and no timer
    EXPECT_EQ(tracker.position(), 255);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(tracker.repeatTimer(), nullptr);
    tracker.mouseUp(left, 0, 5, 3);

    tracker.setPosition(100);
    tracker.mouseDown(left, 0, 5, 185);  // down button
    EXPECT_EQ(tracker.position(), 99);
    host.clock.advance(499);
    EXPECT_EQ(tracker.position(), 99);
    host.clock.advance(1);
    EXPECT_EQ(tracker.position(), 98);
    host.clock.advance(300);
    EXPECT_EQ(tracker.position(), 95);
    tracker.mouseUp(left, 0, 5, 185);
    EXPECT_EQ(tracker.repeatTimer(), nullptr);
    EXPECT_EQ(changes, 6);
}

TEST_F(Wtracker, DisablingAHeldTrackerEndsItsRepeatAndItsDragEitherWay)
{
    panel.setWidth(100);
    panel.setHeight(200);
    ControlInput input(panel);
    tracker.setPosition(100);
    input.mouseDown(left, ssLeft, {5, 185});  // the down button: one step at once
    tracker.setEnabled(false);
    input.mouseUp(left, 0, {5, 185});  // unheard while disabled
    tracker.setEnabled(true);
    host.clock.advance(2000);
    EXPECT_EQ(tracker.position(), 99);

    input.mouseDown(left, ssLeft, {5, 100});
    ASSERT_TRUE(tracker.dragging());
    tracker.setEnabled(false);
    input.mouseUp(left, 0, {5, 100});
    tracker.setEnabled(true);
    input.mouseMove(0, {5, 20});
    EXPECT_FALSE(tracker.dragging());
    EXPECT_EQ(changes, 2);
}

TEST_F(Wtracker, DraggingTheTrackSetsTheValueAndHoverShowsIt)
{
    tracker.mouseEnter();
    host.cursor = {10, 10};
    tracker.mouseMove(0, 5, 10 + 10);  // track row 10: 255 - ((10 - 10) * 256) / 150
    EXPECT_EQ(host.hint.text, "255");
    tracker.mouseDown(left, 0, 5, 10 + 160);  // 255 - (150 * 256) / 150 = -1, which differs from 0
    EXPECT_EQ(tracker.position(), 0);
    EXPECT_EQ(changes, 1);
    tracker.mouseMove(0, 5, -50);  // above the track: its top row
    EXPECT_EQ(tracker.position(), 255);
    EXPECT_EQ(host.hint.text, "255");
    EXPECT_EQ(changes, 2);
    tracker.mouseUp(left, 0, 5, -50);
    EXPECT_FALSE(tracker.dragging());
    tracker.mouseMove(0, 5, 191);
    EXPECT_FALSE(host.hint.showing);
}

TEST_F(Wtracker, AControlWiderThanTallPaintsNothingAndIgnoresThePointer)
{
    tracker.setWidth(100);
    tracker.setHeight(60);
    const QImage image = host.paint(qRgb(1, 2, 3));
    EXPECT_EQ(colorAt(image, 50, 30), 0x030201u);
    tracker.mouseDown(left, 0, 50, 30);
    tracker.setPosition(10);
    EXPECT_EQ(tracker.position(), 0);
    EXPECT_EQ(changes, 0);

    // The range still limits the value, so that the knob sits on the track once there is one.
    tracker.setMin(300);
    EXPECT_EQ(tracker.position(), 300);
    tracker.setMax(400);
    tracker.setMin(-500);
    tracker.setMax(-400);
    EXPECT_EQ(tracker.position(), -400);
}

TEST_F(Wtracker, AShortTracksTickHighlightIsOnItsOwnTruncatedRow)
{
    // 13 x 20: a track of 14 rows, ticks 1.53 rows apart. The first minor tick, at 0.77, has its
    // shadow and its highlight on row 0, where the highlight wins.
    tracker.setWidth(13);
    tracker.setHeight(20);
    host.paint();
    EXPECT_EQ(colorAt(tracker.trackImage(), 2, 0), 0xBFBFBFu);
    EXPECT_EQ(colorAt(tracker.trackImage(), 9, 0), 0xBFBFBFu);
}

TEST_F(Wtracker, TheTrackImageIsBuiltOnceAndRebuiltForNewColoursOrSizes)
{
    // The track runs from row 10 to 181; the up button's shade covers its first row.
    const QImage image = host.paint();
    EXPECT_EQ(colorAt(image, 16, 11), 0xFEFEFEu);  // one step of (0xA0 - 0xFF) / 86 from the first colour
    EXPECT_EQ(colorAt(image, 16, 10 + 86), colorToRgb(clBtnShadow));  // the middle in the second
    EXPECT_EQ(colorAt(image, 0, 50), 0x7F7F7Fu);
    tracker.setPosition(255);  // uncovers the bottom end
    EXPECT_EQ(colorAt(host.surface(), 16, 181), colorToRgb(clBtnHighlight));
    host.paint();
    EXPECT_EQ(tracker.trackBuilds(), 1);

    tracker.setFirstColor(clRed);  // at once
    EXPECT_EQ(tracker.trackBuilds(), 2);
    EXPECT_EQ(colorAt(host.surface(), 16, 181), 0x0000FFu);
    tracker.setHeight(250);
    host.paint();
    EXPECT_EQ(tracker.trackBuilds(), 3);
}

TEST_F(Wtracker, ExtremeSizesAndRangesStayBounded)
{
    tracker.setMin(std::numeric_limits<std::int32_t>::min());
    tracker.setMax(std::numeric_limits<std::int32_t>::max());
    tracker.setHeight(std::numeric_limits<std::int32_t>::max());
    tracker.setWidth(3);
    tracker.setHost(nullptr);
    QImage scratch(10, 10, QImage::Format_RGB32);
    TCanvas canvas(scratch);
    tracker.paint(canvas);
    // The images hold what the 10 x 10 canvas can show, not the tracker's extent.
    EXPECT_LE(tracker.trackImage().height(), 10);
    EXPECT_LE(tracker.knobImage().height(), 10);
    tracker.mouseDown(left, 0, 1, 1000);
    tracker.mouseMove(0, 1, std::numeric_limits<int>::min());
    EXPECT_EQ(tracker.position(), std::numeric_limits<std::int32_t>::max());
}

}  // namespace
}  // namespace trovelin
