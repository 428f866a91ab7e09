// The colour toggle button: its disc and bevel in both looks, the press and release rules, its
// record properties and its place in the loader's class table.

#include <gtest/gtest.h>

#include "framework/Canvas.h"
#include "framework/SystemColors.h"
#include "framework/WinControl.h"
#include "panelctl/Cbtc.h"
#include "panelctl/PanelClasses.h"
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

TEST(CbtcGeometry, TheDiscHasFourTenthsOfTheShorterSideAsRadius)
{
    struct Case {
        int w, h;
        bool down;
        TRect box;
    };
    const Case cases[] = {
        {31, 31, false, {3, 3, 27, 27}},  // radius 12 around (15, 15)
        {31, 31, true, {4, 4, 28, 28}},
        {40, 20, false, {12, 2, 28, 18}},
        {1, 1, false, {0, 0, 0, 0}},
        {0, 0, false, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(cbtcDiscBox(c.w, c.h, c.down), c.box) << c.w << "x" << c.h;
}

class Cbtc : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }

    Cbtc()
    {
        button.setParent(&panel);
        button.onMouseDownHandler = [this](TControl&, TMouseButton, TShiftState, int, int) {
            events += button.down() ? "D" : "d";
        };
        button.onMouseUpHandler = [this](TControl&, TMouseButton, TShiftState, int, int) {
            events += button.down() ? "U" : "u";
        };
        button.onClickHandler = [this](TControl&) { events += "C"; };
    }

    static constexpr QRgb background = 0xFF102030u;
    static constexpr std::uint32_t backgroundColor = 0x302010;
    TWinControl panel{nullptr};
    TCBTC button{nullptr};
    testing::TestControlHost host{button};
    std::string events;
};

TEST_F(Cbtc, ConstructionGivesARedSquareOf31Pixels)
{
    EXPECT_EQ(button.width(), 31);
    EXPECT_EQ(button.height(), 31);
    EXPECT_EQ(button.color(), 255);
    EXPECT_FALSE(button.down());
    EXPECT_EQ(button.controlStyle() & TCBTC::csReplicatable, 0x800u);
}

TEST_F(Cbtc, TheBevelAndTheDiscSwapTheirLookWhenDown)
{
    const std::uint32_t light = colorToRgb(clBtnHighlight), dark = colorToRgb(clWindowText),
                        shadow = colorToRgb(clBtnShadow), face = colorToRgb(clBtnFace), red = 0x0000FF;
    struct Probe {
        int x, y;
        std::uint32_t up, down;
    };
    const Probe probes[] = {
        {0, 15, light, dark},  {15, 0, light, dark},   {0, 0, light, dark},
        {30, 15, dark, light}, {15, 30, dark, light},  {30, 30, dark, light},
        {0, 30, light, dark},  // the bottom edge stops before its end point
        {30, 0, dark, light},  // where the right edge starts
        {29, 15, shadow, backgroundColor}, {15, 29, shadow, backgroundColor},
        {1, 15, backgroundColor, shadow},  {15, 1, backgroundColor, shadow},
        {15, 15, red, red},    {3, 15, face, backgroundColor},  {4, 15, red, face},
        {26, 15, face, red},   {27, 15, backgroundColor, face}, {2, 15, backgroundColor, backgroundColor},
    };
    const QImage up = host.paint(background);
    button.setDown(true);
    const QImage down = host.paint(background);
    for (const Probe& p : probes) {
        EXPECT_EQ(colorAt(up, p.x, p.y), p.up) << p.x << "," << p.y;
        EXPECT_EQ(colorAt(down, p.x, p.y), p.down) << p.x << "," << p.y;
    }
}

TEST_F(Cbtc, ALeftPressHoldsTheButtonDownAndTheReleaseClicks)
{
    button.mouseDown(left, ssLeft, 5, 5);
    EXPECT_TRUE(button.down());
    EXPECT_EQ(host.repainted, 1);
    EXPECT_EQ(colorAt(host.surface(), 0, 15), colorToRgb(clWindowText));

    // The release counts wherever the pointer is; the inherited handlers run first.
    button.mouseUp(left, 0, 200, -40);
    EXPECT_FALSE(button.down());
    EXPECT_EQ(host.repainted, 2);
    EXPECT_EQ(colorAt(host.surface(), 0, 15), colorToRgb(clBtnHighlight));
    EXPECT_EQ(events, "dUC");

    // A release without a press does nothing of its own.
    button.mouseUp(left, 0, 5, 5);
    EXPECT_EQ(events, "dUCu");
    EXPECT_EQ(host.repainted, 2);
}

TEST_F(Cbtc, OtherButtonsOnlyRaiseTheirEvents)
{
    button.mouseDown(TMouseButton::mbRight, ssRight, 5, 5);
    EXPECT_FALSE(button.down());
    button.setDown(true);
    button.mouseUp(TMouseButton::mbRight, 0, 5, 5);
    EXPECT_TRUE(button.down());
    EXPECT_EQ(events, "dU");
}

TEST_F(Cbtc, ADisabledButtonIgnoresThePressButAReleaseStillEndsADownState)
{
    button.setEnabled(false);
    button.mouseDown(left, ssLeft, 5, 5);
    EXPECT_FALSE(button.down());
    button.mouseUp(left, 0, 5, 5);
    EXPECT_EQ(events, "du");
    EXPECT_EQ(host.repainted, 0);

    button.setDown(true);  // as a record may leave it
    button.mouseUp(left, 0, 5, 5);
    EXPECT_FALSE(button.down());
    EXPECT_EQ(events, "duUC");
}

TEST_F(Cbtc, SettersRepaintOnlyOnAChange)
{
    button.setColor(255);
    button.setDown(false);
    EXPECT_EQ(host.repainted, 0);
    button.setColor(clLime);
    button.setDown(true);
    EXPECT_EQ(host.repainted, 2);
    EXPECT_TRUE(events.empty());  // setters never click
}

TEST_F(Cbtc, DegenerateSizesPaintWithoutFault)
{
    for (int size : {2, 1, 0, -5, -100000}) {
        button.setWidth(size);
        button.setHeight(size);
        for (bool down : {false, true}) {
            button.setDown(down);
            QImage image = testing::filledImage(8, 8, backgroundColor);
            TCanvas canvas(image);
            button.paint(canvas);
        }
    }
}

TEST(CbtcRecord, ARecordSetsColourAndDown)
{
    testing::RecordWriter w;
    w.beginRecord("TCBTC", "Toggle1").property("Left").integer(8).property("Color").ident("clLime");
    w.property("Down").boolean(true).end().end();
    ByteViewStream stream(w.bytes());
    TCBTC button(nullptr);
    readComponentRecord(stream, button);
    EXPECT_EQ(button.left(), 8);
    EXPECT_EQ(button.color(), clLime);
    EXPECT_TRUE(button.down());
}

}  // namespace
}  // namespace trovelin
