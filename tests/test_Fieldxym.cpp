// The XY field: its geometry (delta bar, carry and borrow of a drag, steps), sizes, inversion,
// records, the left drag with the hidden pointer and the axis locks, right-button steps with
// auto-repeat, hover readouts and arrows, and painting.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "framework/Application.h"
#include "framework/PaintBuffer.h"
#include "framework/SystemColors.h"
#include "framework/Timer.h"
#include "framework/WinControl.h"
#include "panelctl/Fieldxym.h"
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
constexpr auto right = TMouseButton::mbRight;
constexpr TPoint origin{300, 200};

TEST(FieldxyGeometry, PlacesAndDeltaBar)
{
    EXPECT_EQ(fieldSide(1), 276);
    EXPECT_EQ(fieldSide(2), 138);
    EXPECT_EQ(fieldPixel(255, 1), 265);
    EXPECT_EQ(fieldCoordinateAt(265, 1), 255);
    EXPECT_EQ(fieldCoordinateAt(6, 2), 2);  // 2 * (6 - 5)
    EXPECT_EQ(fieldBallBox(3, 7, 2), (TRect{1, 3, 11, 13}));
    EXPECT_EQ(fieldBallCentre(3, 7, 2), (TPoint{6, 8}));

    // Columns 10..266 at scale 1: eleven table entries 25.6 pixels wide, the last two also 256.
    const struct {
        int pixel, delta;
    } clicks[] = {{10, 1}, {35, 1}, {36, 2}, {61, 2}, {62, 4}, {215, 256}, {240, 256}, {241, 256}, {266, 256}};
    for (const auto& c : clicks) {
        ASSERT_TRUE(deltaIndexAt(c.pixel, 1)) << c.pixel;
        EXPECT_EQ(deltaForIndex(*deltaIndexAt(c.pixel, 1)), c.delta) << c.pixel;
    }
    EXPECT_EQ(*deltaIndexAt(266, 1), 10);
    EXPECT_FALSE(deltaIndexAt(9, 1));
    EXPECT_FALSE(deltaIndexAt(267, 1));
    EXPECT_EQ(*deltaIndexAt(133, 2), 10);
    EXPECT_EQ(deltaCell(1), 0);
    EXPECT_EQ(deltaCell(256), 8);
    EXPECT_EQ(deltaCell(3), 0);
    EXPECT_EQ(deltaCellLeft(8, 1), 214);
    EXPECT_EQ(deltaCellRight(8, 1), 240);
}

TEST(FieldxyGeometry, DragCarriesAndBorrowsAndStepsStopAtTheEnds)
{
    const struct {
        FieldAxis from;
        std::int64_t steps;
        FieldAxis to;
    } drags[] = {
        {{10, 0}, 256, {11, 0}},     {{10, 0}, -256, {9, 0}},     // one pixel at delta 256
        {{10, 0}, 16 * 16, {11, 0}}, {{10, 0}, -16, {9, 240}},    // delta 16: carry, and borrow
        {{10, 200}, 600, {13, 32}},  {{10, 5}, -600, {7, 173}},   // several units at once
        {{255, 10}, 300, {255, 255}}, {{0, 10}, -300, {0, 0}},    // the ends stop the fine value
        {{250, 0}, 256 * 100, {255, 0}}, {{5, 0}, std::int64_t{1} << 40, {255, 0}},
    };
    for (const auto& d : drags) EXPECT_EQ(dragAxis(d.from, d.steps), d.to) << d.from.coarse << " " << d.steps;

    EXPECT_EQ(stepAxis({10, 7}, true, 256, false), (FieldAxis{11, 7}));
    EXPECT_EQ(stepAxis({0, 0}, false, 256, false), (FieldAxis{0, 0}));
    EXPECT_EQ(stepAxis({10, 250}, true, 16, true), (FieldAxis{11, 10}));
    EXPECT_EQ(stepAxis({10, 5}, false, 16, true), (FieldAxis{9, 245}));
    EXPECT_EQ(stepAxis({0, 5}, false, 16, true), (FieldAxis{0, 0}));
    EXPECT_EQ(stepAxis({255, 250}, true, 16, true), (FieldAxis{255, 255}));  // not wrapped to 255,10

    EXPECT_EQ(stepDirection(200, 100, 100, 100), 1);
    EXPECT_EQ(stepDirection(0, 100, 100, 100), 2);
    EXPECT_EQ(stepDirection(100, 150, 100, 100), 3);
    EXPECT_EQ(stepDirection(150, 50, 100, 100), 4);  // equally far: along Y
    EXPECT_EQ(stepDirection(100, 100, 100, 100), 4);  // on the ball: down toward 0

    EXPECT_EQ(dragReadout(7, 9, true), "007,009  ");
    EXPECT_EQ(dragReadout(7, 9, false), "007 ");
    EXPECT_EQ(hoverReadout(42, true), "042,000 ");
}

class FieldXY : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }

    FieldXY()
    {
        field.setParent(&panel);
        field.onChangeHandler = [this](TControl&) { ++changes; };
    }
    ~FieldXY() override { field.mouseLeave(); }

    // A pointer move to client (x, y), as the desktop reports it.
    void move(TShiftState shift, int x, int y)
    {
        host.cursor = {origin.x + x, origin.y + y};
        field.mouseMove(shift, x, y);
    }

    TWinControl panel{nullptr};
    TFieldXY field{nullptr};
    testing::TestControlHost host{field, origin};
    int changes = 0;
};

TEST_F(FieldXY, SizesFollowTwoSizeAndM16bit)
{
    const struct {
        bool twoSize, m16bit;
        int scale, width, height;
    } sizes[] = {{false, false, 1, 276, 276}, {true, false, 2, 138, 138}, {false, true, 1, 276, 288},
                 {true, true, 2, 138, 150}};
    for (const auto& s : sizes) {
        field.setTwoSize(s.twoSize);
        field.set16bit(s.m16bit);
        EXPECT_EQ(field.scale(), s.scale);
        EXPECT_EQ(field.width(), s.width);
        EXPECT_EQ(field.height(), s.height);
    }
    field.setDelta(16);
    EXPECT_EQ(field.delta(), 16);
    field.set16bit(false);
    EXPECT_EQ(field.delta(), 256);
    field.setDelta(16);
    EXPECT_EQ(field.delta(), 256);
    EXPECT_EQ(changes, 0);
}

TEST_F(FieldXY, InvertedStoresTheMirroredValueAndStepsTowardThePointer)
{
    field.setInverted(true);
    field.setX(10);
    field.setY(-40);
    field.setFineX(300);
    EXPECT_EQ(field.storedX(), 245);
    EXPECT_EQ(field.storedY(), 255);
    EXPECT_EQ(field.getX(), 10);
    EXPECT_EQ(field.getY(), 0);
    EXPECT_EQ(field.storedFineX(), 0);
    EXPECT_EQ(field.getFineX(), 255);

    field.mouseDown(right, 0, 100, fieldPixel(255, 1));  // left of the ball, on its row
    EXPECT_EQ(field.storedX(), 244);
    EXPECT_EQ(field.getX(), 11);
    EXPECT_EQ(changes, 1);
}

TEST_F(FieldXY, RecordsReadInPublishedOrderThroughTheSetters)
{
    TApplication application;
    Component window(nullptr);
    testing::RecordWriter w;
    // PositionX comes before Inverted, so it lands un-inverted; Delta after M16bit is kept.
    w.beginRecord("TFieldXY", "FieldXY1");
    w.property("Width").integer(5000).property("M16bit").boolean(true).property("PositionX").integer(10);
    w.property("FineY").integer(77).property("Delta").integer(16).property("Color").ident("clRed");
    w.property("Inverted").boolean(true);
    w.end().end();
    TFieldXY stored(&window);
    ByteViewStream stream(w.bytes());
    readComponentRecord(stream, stored, application.readerEnvironment());
    EXPECT_EQ(stored.storedX(), 10);
    EXPECT_EQ(stored.getX(), 245);
    EXPECT_EQ(stored.storedFineY(), 77);
    EXPECT_EQ(stored.delta(), 16);
    EXPECT_EQ(stored.color(), clRed);
    EXPECT_EQ(stored.width(), 276);  // M16bit sized it after Width
    EXPECT_EQ(stored.height(), 288);
    EXPECT_EQ(stored.cursor(), crCross);

    testing::RecordWriter half;
    half.beginRecord("TFieldXY", "FieldXY2").property("TwoSize").boolean(true).end().end();
    TFieldXY small(&window);
    ByteViewStream halfStream(half.bytes());
    readComponentRecord(halfStream, small, application.readerEnvironment());
    EXPECT_EQ(small.width(), 138);
    EXPECT_EQ(small.color(), clBtnFace);
}

TEST_F(FieldXY, LeftDragMovesByRelativeMotionWithThePointerHiddenAndPinned)
{
    host.paint();
    field.mouseDown(left, 0, 60, 110);  // the ball jumps to 50, 100
    EXPECT_EQ(field.storedX(), 50);
    EXPECT_EQ(field.storedY(), 100);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(host.cursorHides, 1);

    move(0, 61, 110);  // one pixel right of the ball's centre: one unit
    EXPECT_EQ(field.storedX(), 51);
    EXPECT_EQ(field.storedY(), 100);
    EXPECT_EQ(field.storedFineX(), 0);
    EXPECT_EQ(host.cursor, (TPoint{origin.x + 61, origin.y + 110}));  // pulled back onto the ball
    EXPECT_EQ(changes, 2);
    field.mouseMove(0, 61, 110);  // the move the pull-back causes
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(colorAt(host.surface(), 61, 112), colorToRgb(clWindowText));  // the cross while dragging

    move(ssShift, 70, 90);  // Shift keeps X
    EXPECT_EQ(field.storedX(), 51);
    EXPECT_EQ(field.storedY(), 80);
    move(ssCtrl, 50, 50);  // Ctrl keeps Y
    EXPECT_EQ(field.storedX(), 40);
    EXPECT_EQ(field.storedY(), 80);
    move(ssShift | ssCtrl, 0, 0);
    EXPECT_EQ(field.storedX(), 40);
    EXPECT_EQ(field.storedY(), 80);

    field.mouseDown(left, 0, 0, 0);  // a second press does not hide the pointer twice
    field.mouseUp(left, 0, 0, 0);
    EXPECT_FALSE(field.dragging());
    EXPECT_EQ(host.cursorHides, 1);
    EXPECT_EQ(host.cursorShows, 1);
    const QImage released = host.surface().copy(0, 0, 20, 20);
    EXPECT_EQ(released, host.paint().copy(0, 0, 20, 20));  // the ball without its cross, as a paint draws it
}

TEST_F(FieldXY, AxisLocksOnThePressPlaceThePointer)
{
    host.paint();
    field.setPosition(100, 100);
    field.mouseDown(left, ssShift, 30, 40);
    EXPECT_EQ(host.cursor, (TPoint{origin.x + 111, origin.y + 40}));
    EXPECT_EQ(field.storedX(), 100);
    EXPECT_EQ(field.storedY(), 30);
    field.mouseUp(left, 0, 0, 0);
    field.mouseDown(left, ssShift | ssCtrl, 30, 40);
    EXPECT_EQ(host.cursor, (TPoint{origin.x + 110, origin.y + 40}));
    EXPECT_EQ(changes, 1);
    field.mouseUp(left, 0, 0, 0);
    EXPECT_EQ(host.cursorHides, 2);
    EXPECT_EQ(host.cursorShows, 2);
}

TEST_F(FieldXY, SixteenBitDragCarriesFineSteps)
{
    field.set16bit(true);
    host.paint();
    field.mouseDown(left, 0, 60, 60);
    field.setDelta(16);
    move(0, 60 + 16, 60);
    EXPECT_EQ(field.storedX(), 51);
    EXPECT_EQ(field.storedFineX(), 0);
    move(0, 60, 60);  // one pixel left of the ball at 51: borrow
    EXPECT_EQ(field.storedX(), 50);
    EXPECT_EQ(field.storedFineX(), 240);
    field.mouseUp(left, 0, 0, 0);
}

TEST_F(FieldXY, DeltaBarCellsAndTheirLook)
{
    field.set16bit(true);
    const int deltas[] = {1, 2, 4, 8, 16, 32, 64, 128, 256, 256, 256};
    for (int i = 0; i <= 10; ++i) {
        field.mouseDown(left, 0, std::min(10 + (i * 256 + 128) / 10, 266), 280);
        EXPECT_EQ(field.delta(), deltas[i]) << i;
    }
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(host.cursorHides, 0);

    field.mouseDown(left, 0, 20, 280);
    const QImage image = host.paint();
    const std::uint32_t dark = colorToRgb(clWindowText), white = colorToRgb(clWindow);
    EXPECT_EQ(colorAt(image, 20, 280), white);  // cell 0 lit for delta 1
    EXPECT_EQ(colorAt(image, 40, 280), dark);
    EXPECT_EQ(colorAt(image, 35, 280), colorToRgb(clBtnFace));  // the border after cell 0
    field.mouseDown(left, 0, 228, 280);
    EXPECT_EQ(colorAt(host.surface(), 20, 280), dark);  // redrawn between paints
    EXPECT_EQ(colorAt(host.surface(), 228, 280), white);
}

TEST_F(FieldXY, RightButtonStepsAndRepeatsWhileHeld)
{
    host.paint();
    field.setPosition(100, 100);
    field.mouseDown(right, 0, 200, 110);  // right of the ball
    EXPECT_EQ(field.storedX(), 101);
    EXPECT_EQ(changes, 1);
    host.cursor = {origin.x + 110, origin.y + 10};  // now above it
    host.clock.advance(499);
    EXPECT_EQ(changes, 1);
    host.clock.advance(1);
    EXPECT_EQ(field.storedY(), 99);
    host.clock.advance(200);
    EXPECT_EQ(field.storedY(), 97);
    field.mouseUp(right, 0, 0, 0);
    EXPECT_EQ(field.repeatTimer(), nullptr);
    host.clock.advance(1000);
    EXPECT_EQ(changes, 4);
}

TEST_F(FieldXY, HoverShowsReadoutsAtFullSizeOnlyAndTheArrowOfTheStep)
{
    host.paint();
    field.setPosition(100, 100);
    move(0, 250, 110);
    EXPECT_EQ(field.arrow(), 1);
    EXPECT_EQ(colorAt(host.surface(), 272, 138), 0x0000FFu);  // on the right margin
    const QImage withReadout = host.surface().copy();
    move(0, 20, 110);
    EXPECT_EQ(field.arrow(), 2);
    EXPECT_EQ(colorAt(host.surface(), 272, 138), colorToRgb(clBtnShadow));
    EXPECT_NE(withReadout.copy(132, 11, 20, 8), host.surface().copy(132, 11, 20, 8));
    field.mouseUp(right, 0, 0, 0);
    EXPECT_EQ(field.arrow(), 0);

    field.setTwoSize(true);
    const QImage half = host.paint().copy();
    move(0, 130, 60);
    move(0, 20, 60);
    EXPECT_EQ(colorAt(host.surface(), 3, 69), 0x0000FFu);
    int changed = 0;  // anything but the arrow
    for (int y = 0; y < half.height(); ++y)
        for (int x = 0; x < half.width(); ++x)
            changed += host.surface().pixel(x, y) != half.pixel(x, y) && colorAt(host.surface(), x, y) != 0x0000FFu;
    EXPECT_EQ(changed, 0);
}

TEST_F(FieldXY, PaintDrawsFieldGridAndBall)
{
    field.setColor(clRed);
    field.setPosition(100, 50);
    const QImage image = host.paint();
    // The field behind the ball is drawn for each paint and move, not kept.
    EXPECT_EQ(host.paintBudget().heldBytes(), 0);
    const struct {
        int x, y;
        TColor color;
    } pixels[] = {
        {0, 0, clWindowText}, {5, 100, clBtnShadow}, {275, 100, clWindow}, {100, 275, clWindow},
        {11, 200, clWindow},  {10, 200, cl3DLight},  {26, 200, clInactiveCaption}, {200, 42, clInactiveCaption},
        {138, 200, clWindowText}, {27, 200, clWindow}, {265, 200, clWindowText},
        {110, 60, clRed}, {100, 60, clWindowText}, {109, 69, clWindowText},
    };
    for (const auto& p : pixels) EXPECT_EQ(colorAt(image, p.x, p.y), colorToRgb(p.color)) << p.x << ", " << p.y;

    field.setPosition(10, 200);  // between paints, as a full paint would leave it
    field.setColor(clBlue);
    EXPECT_EQ(colorAt(host.surface(), 20, 210), colorToRgb(clBlue));
    const QImage moved = host.surface().copy();
    EXPECT_EQ(moved, host.paint());
}

TEST_F(FieldXY, DestroyedMidDragShowsThePointerAgain)
{
    TWinControl hostPanel(nullptr);  // the host outlives the field it reaches through its parent
    testing::TestControlHost draggedHost(hostPanel);
    auto dragged = std::make_unique<TFieldXY>(nullptr);
    dragged->setParent(&hostPanel);
    dragged->mouseDown(left, 0, 50, 50);
    EXPECT_EQ(draggedHost.cursorHides, 1);
    dragged.reset();
    EXPECT_EQ(draggedHost.cursorShows, 1);
}

}  // namespace
}  // namespace trovelin
