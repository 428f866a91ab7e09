// The painting and mouse model of controls: repaint requests reaching the host, clicks, and the
// speed button's pressing, latching and hot tracking.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/ControlHost.h"
#include "support/TestControlHost.h"
#include "framework/SpeedButton.h"
#include "framework/WinControl.h"
#include "streaming/DibImage.h"

namespace trovelin {
namespace {

constexpr auto left = TMouseButton::mbLeft;

class ControlMouse : public ::testing::Test {
protected:
    ControlMouse()
    {
        button.setParent(&panel);
        button.setWidth(24);
        button.setHeight(24);
        button.onClickHandler = [this](TControl&) { events.push_back("click"); };
        button.onMouseUpHandler = [this](TControl&, TMouseButton, TShiftState, int, int) { events.push_back("up"); };
    }

    void pressAndRelease(int x, int y)
    {
        button.mouseDown(left, ssLeft, 5, 5);
        button.mouseUp(left, 0, x, y);
    }

    TWinControl panel{nullptr};
    TSpeedButton button{nullptr};
    testing::TestControlHost host{panel};
    std::vector<std::string> events;
};

TEST_F(ControlMouse, RequestsReachTheNearestHostUpTheParentChain)
{
    button.invalidate();
    button.repaint();
    EXPECT_EQ(host.invalidated, 1);
    EXPECT_EQ(host.repainted, 1);

    testing::TestControlHost own{button};
    button.setEnabled(false);
    button.setEnabled(false);  // unchanged: no request
    EXPECT_EQ(own.invalidated, 1);
    EXPECT_EQ(host.invalidated, 1);

    TControl orphan(nullptr);
    orphan.invalidate();  // nobody shows it: nothing to tell, and no crash
    EXPECT_EQ(orphan.host(), nullptr);
}

TEST_F(ControlMouse, PlainControlsClickOnALeftPressAndReleaseInside)
{
    TControl control(nullptr);
    control.setWidth(10);
    control.setHeight(10);
    int clicks = 0;
    control.onClickHandler = [&](TControl&) { ++clicks; };
    control.mouseDown(left, ssLeft, 2, 2);
    control.mouseUp(left, 0, 9, 9);
    control.mouseDown(left, ssLeft, 2, 2);
    control.mouseUp(left, 0, 10, 9);  // released just outside
    control.mouseDown(TMouseButton::mbRight, ssRight, 2, 2);
    control.mouseUp(TMouseButton::mbRight, 0, 2, 2);
    control.mouseUp(left, 0, 2, 2);  // a release without a press
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlMouse, SpeedButtonClicksOnceAfterItsMouseUpEvent)
{
    pressAndRelease(23, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"up", "click"}));
    events.clear();
    pressAndRelease(24, 5);
    EXPECT_EQ(events, (std::vector<std::string>{"up"}));
    EXPECT_EQ(button.state(), TButtonState::bsUp);
}

TEST_F(ControlMouse, PressedStateFollowsThePointerWhileHeld)
{
    button.mouseDown(left, ssLeft, 5, 5);
    EXPECT_EQ(button.state(), TButtonState::bsDown);
    button.mouseMove(ssLeft, 30, 5);
    EXPECT_EQ(button.state(), TButtonState::bsUp);
    button.mouseMove(ssLeft, 3, 3);
    EXPECT_EQ(button.state(), TButtonState::bsDown);
    button.mouseUp(left, 0, 3, 3);
    EXPECT_FALSE(button.pressedOrDown());
}

TEST_F(ControlMouse, OnlyFlatEnabledButtonsTrackTheMouse)
{
    button.mouseEnter();
    EXPECT_FALSE(button.mouseInControl());

    button.setFlat(true);
    const int before = host.repainted;
    button.mouseEnter();
    EXPECT_TRUE(button.mouseInControl());
    EXPECT_EQ(host.repainted, before + 1);

    // Held down, the button keeps its hot look when the pointer leaves, and loses it on release.
    button.mouseDown(left, ssLeft, 5, 5);
    button.mouseLeave();
    EXPECT_TRUE(button.mouseInControl());
    button.mouseUp(left, 0, 40, 40);
    EXPECT_FALSE(button.mouseInControl());

    button.mouseMove(0, 4, 4);  // moves while not held re-evaluate it
    EXPECT_TRUE(button.mouseInControl());
    button.mouseLeave();
    EXPECT_FALSE(button.mouseInControl());

    button.setEnabled(false);
    button.mouseEnter();
    EXPECT_FALSE(button.mouseInControl());
}

TEST_F(ControlMouse, GroupedButtonsLatchAndReleaseEachOther)
{
    TSpeedButton other(nullptr);
    other.setParent(&panel);
    other.setWidth(24);
    other.setHeight(24);
    for (TSpeedButton* b : {&button, &other}) b->setGroupIndex(1);

    pressAndRelease(5, 5);
    EXPECT_TRUE(button.down());
    EXPECT_EQ(button.state(), TButtonState::bsExclusive);
    pressAndRelease(5, 5);  // the last one down stays down without AllowAllUp
    EXPECT_TRUE(button.down());

    other.setDown(true);
    EXPECT_FALSE(button.down());
    EXPECT_EQ(button.state(), TButtonState::bsUp);

    other.setAllowAllUp(true);
    other.mouseDown(left, ssLeft, 1, 1);
    other.mouseUp(left, 0, 1, 1);
    EXPECT_FALSE(other.down());
}

TEST_F(ControlMouse, ProgramGlyphsSetTheFrameCountRecordsKeepTheirs)
{
    struct Case {
        int width, height, frames;
    };
    for (const Case& c : {Case{16, 16, 1}, Case{64, 16, 4}, Case{32, 16, 2}, Case{80, 16, 1}, Case{24, 16, 3}}) {
        button.setNumGlyphs(3);
        TBitmap glyph;
        glyph.setImage(std::make_shared<DibImage>(c.width, c.height, 24));
        button.setGlyph(glyph);
        EXPECT_EQ(button.numGlyphs(), c.frames) << c.width << " x " << c.height;
    }
}

}  // namespace
}  // namespace trovelin
