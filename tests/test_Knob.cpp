// The dot knob: its rounding double-precision arithmetic, OnChange on every position it is given
// (so on every paint), its mouse rules, its dot and marks, and its published properties.

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

#include "framework/Application.h"
#include "framework/Canvas.h"
#include "framework/NamedConstants.h"
#include "framework/SystemColors.h"
#include "framework/WinControl.h"
#include "panelctl/Knob.h"
#include "panelctl/KnobGeometry.h"
#include "streaming/Errors.h"
#include "streaming/Reader.h"
#include "streaming/Stream.h"
#include "support/GuiApplication.h"
#include "support/PixelProbe.h"
#include "support/RecordWriter.h"
#include "support/TestControlHost.h"

namespace trovelin {
namespace {

using testing::colorAt;
using testing::RecordWriter;

constexpr auto left = TMouseButton::mbLeft;
constexpr auto right = TMouseButton::mbRight;
constexpr std::uint32_t red = 0x0000FF;
constexpr std::uint32_t white = 0xFFFFFF;

TEST(KnobGeometry, DotKnobRoundsTheAngleWhereTheLabelKnobTruncates)
{
    // 90.57, 180.57 and 270.57 degrees from straight down.
    EXPECT_EQ(knobAngle(-100, -1), 39);
    EXPECT_EQ(knobAngle(1, -100), 129);
    EXPECT_EQ(knobAngle(100, 1), 219);
    EXPECT_EQ(knobLAngle(100, 1), 218);
    EXPECT_EQ(knobAngle(-1, 100), 0);
    EXPECT_EQ(knobAngle(1, 100), 255);
    EXPECT_EQ(knobAngle(0, 100), std::nullopt);
    EXPECT_EQ(knobAngle(100, 0), std::nullopt);
}

TEST(KnobGeometry, DotKnobValueRoundsHalfToEvenOverTheRange)
{
    EXPECT_EQ(knobValue(64, 0, 10), 2);   // 2.5
    EXPECT_EQ(knobValue(192, 0, 10), 8);  // 7.5
    EXPECT_EQ(knobValue(20, 0, 10), 1);   // 0.78, where the label knob's 0.86 truncates to 0
    EXPECT_EQ(knobLValue(20, 0, 10), 0);
    EXPECT_EQ(knobValue(255, 0, 10), 10);
    EXPECT_EQ(knobValue(100, 4, 4), 4);
    EXPECT_EQ(knobValue(255, INT_MIN, INT_MAX), INT_MIN + 4278190079LL);
    EXPECT_EQ(knobDotOffset(34, knobPointerAngle(0, 0, 127)), (TPoint{-27, 21}));
}

class Knob : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }

    Knob()
    {
        knob.setParent(&panel);
        knob.onChangeHandler = [this](TControl&) { ++changes; };
        knob.onMouseDownHandler = [this](TControl&, TMouseButton, TShiftState, int, int) { ++mouseDowns; };
        knob.onMouseMoveHandler = [this](TControl&, TShiftState, int, int) { ++mouseMoves; };
        knob.onMouseUpHandler = [this](TControl&, TMouseButton, TShiftState, int, int) { ++mouseUps; };
    }

    // Shown once, as on screen: the paint's own change event is not counted.
    void show()
    {
        host.paint();
        changes = 0;
    }

    TWinControl panel{nullptr};
    TKnob knob{nullptr};
    testing::TestControlHost host{knob};
    int changes = 0, mouseDowns = 0, mouseMoves = 0, mouseUps = 0;
};

TEST_F(Knob, ConstructionDefaultsAndReplicatableStyle)
{
    EXPECT_EQ(knob.width(), 40);
    EXPECT_EQ(knob.max(), 127);
    EXPECT_EQ(knob.position(), 0);
    EXPECT_EQ(knob.brush().color(), clBtnFace);
    EXPECT_NE(knob.controlStyle() & csReplicatable, 0u);
}

TEST_F(Knob, EveryPaintAndEveryPositionRaisesOnChange)
{
    host.paint();
    host.paint();
    EXPECT_EQ(changes, 2);
    knob.setPosition(knob.position());
    EXPECT_EQ(changes, 3);
    knob.setPosition(500);  // not limited
    EXPECT_EQ(knob.position(), 500);
    EXPECT_EQ(changes, 4);
}

TEST_F(Knob, SetParamsStoresALimitedPositionQuietly)
{
    knob.setPosition(100);
    const int drawn = host.drawnBetweenPaints;
    changes = 0;
    knob.setMax(50);
    EXPECT_EQ(knob.position(), 50);
    knob.setParams(0, 10, 5);
    EXPECT_EQ(knob.max(), 11);
    EXPECT_EQ(knob.position(), 10);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(host.drawnBetweenPaints, drawn);
}

TEST_F(Knob, LeftPressRaisesOnMouseDownThenDragsAndAlwaysSetsTheValue)
{
    show();
    knob.mouseDown(left, 0, 20 + 1, 20 - 100);
    EXPECT_EQ(mouseDowns, 1);
    EXPECT_TRUE(knob.down());
    EXPECT_EQ(knob.position(), 64);  // Min + round(129 * 127 / 256)
    EXPECT_EQ(changes, 1);
    knob.mouseMove(0, 20 + 1, 20 - 100);  // same value, passed on all the same
    EXPECT_EQ(mouseMoves, 1);
    EXPECT_EQ(changes, 2);
    knob.mouseMove(0, 20, 20 - 100);  // a centre line: no value
    EXPECT_EQ(changes, 2);
    knob.mouseUp(left, 0, 20 + 100, 20 + 1);
    EXPECT_EQ(mouseUps, 1);
    EXPECT_EQ(knob.position(), 109);  // round(219 * 127 / 256) = round(108.6)
    EXPECT_FALSE(knob.down());
}

TEST_F(Knob, OtherButtonsDoNotDragButAnyReleaseSetsTheValue)
{
    show();
    knob.mouseDown(right, 0, 20 + 1, 20 - 100);
    EXPECT_EQ(mouseDowns, 1);
    EXPECT_FALSE(knob.down());
    EXPECT_EQ(knob.position(), 0);
    knob.mouseMove(0, 20 + 1, 20 - 100);
    EXPECT_EQ(mouseMoves, 1);
    EXPECT_EQ(knob.position(), 0);
    knob.mouseUp(right, 0, 20 + 1, 20 - 100);
    EXPECT_EQ(mouseUps, 1);
    EXPECT_EQ(knob.position(), 64);
}

TEST_F(Knob, PaintDrawsBoldMarksRimFaceAndDot)
{
    knob.setWidth(100);
    knob.setHeight(100);
    knob.pen().setColor(red);
    const QImage image = host.paint();
    const std::uint32_t background = 0xF0F0F0;
    // Top mark three pixels wide; the right mark reaches the square's edge; corner marks.
    EXPECT_EQ(colorAt(image, 50, 1), red);
    EXPECT_EQ(colorAt(image, 49, 1), red);
    EXPECT_EQ(colorAt(image, 46, 1), background);
    EXPECT_EQ(colorAt(image, 99, 50), red);
    EXPECT_EQ(colorAt(image, 13, 13), red);
    EXPECT_EQ(colorAt(image, 87, 87), red);
    EXPECT_EQ(colorAt(image, 50, 99), background);
    // Rim beyond the face at the lower right; the face outlined in the highlight colour.
    EXPECT_EQ(colorAt(image, 94, 50), colorToRgb(clWindowText));
    EXPECT_EQ(colorAt(image, 47, 90), white);
    EXPECT_EQ(colorAt(image, 47, 20), colorToRgb(clBtnFace));
    // The dot at Min: k = 17, R = 34 from the centre (47, 47).
    EXPECT_EQ(knob.dotBox(), (TRect{12, 60, 28, 76}));
    EXPECT_EQ(colorAt(image, 20, 68), white);
    EXPECT_EQ(colorAt(image, 12, 68), red);

    knob.setPosition(127);  // between paints: the old dot is erased
    const QImage& moved = host.surface();
    EXPECT_EQ(colorAt(moved, 20, 68), colorToRgb(clBtnFace));
    EXPECT_EQ(colorAt(moved, 12, 68), colorToRgb(clBtnFace));
    EXPECT_GT(knob.dotBox().left, 47);
}

TEST_F(Knob, OneValueRangeDrawsTheDotAtTheStart)
{
    knob.setWidth(100);
    knob.setHeight(100);
    knob.setParams(3, 3, 3);
    host.paint();
    EXPECT_EQ(knob.dotBox(), (TRect{12, 60, 28, 76}));
    knob.mouseDown(left, 0, 50 + 1, 50 - 100);
    EXPECT_EQ(knob.position(), 3);
}

TEST_F(Knob, HugeSizesAndPensAreDrawnCapped)
{
    knob.setWidth(INT_MAX);
    knob.setHeight(INT_MAX);
    QImage image = testing::filledImage(50, 50, 0);
    for (const int penWidth : {INT_MIN, INT_MAX}) {
        knob.pen().setWidth(penWidth);
        TCanvas canvas(image);
        knob.paint(canvas);
    }
    EXPECT_LE(knob.dotBox().right, 2 * maxKnobSide);
}

class KnobRecord : public ::testing::Test {
protected:
    std::unique_ptr<TKnob> read(const RecordWriter& writer)
    {
        auto knob = std::make_unique<TKnob>(&window);
        bytes = writer.bytes();
        ByteViewStream stream(bytes);
        readComponentRecord(stream, *knob, application.readerEnvironment());
        return knob;
    }

    TApplication application;
    Component window{nullptr};
    std::vector<std::uint8_t> bytes;
};

TEST_F(KnobRecord, EveryPublishedPropertyReadsInStreamOrder)
{
    RecordWriter w;
    w.beginRecord("TKnob", "Knob1");
    w.property("Brush.Color").ident("clYellow").property("DragCursor").ident("crCross");
    w.property("DragMode").ident("dmAutomatic").property("Enabled").boolean(false);
    w.property("ParentShowHint").boolean(false).property("Pen.Width").integer(3);
    w.property("Max").integer(40).property("Min").integer(30).property("Position").integer(99);
    w.property("ShowHint").boolean(true).property("Visible").boolean(false);
    for (const char* event : {"OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp",
                              "OnStartDrag", "OnChange"})
        w.property(event).nil();
    w.end().end();
    const auto knob = read(w);
    EXPECT_EQ(knob->brush().color(), clYellow);
    EXPECT_EQ(knob->dragCursor(), -3);  // crCross
    EXPECT_EQ(knob->dragMode(), TDragMode::dmAutomatic);
    EXPECT_FALSE(knob->enabled());
    EXPECT_FALSE(knob->parentShowHint());
    EXPECT_EQ(knob->pen().width(), 3);
    EXPECT_EQ(knob->max(), 40);
    EXPECT_EQ(knob->min(), 30);
    EXPECT_EQ(knob->position(), 99);  // the position setter does not limit
    EXPECT_TRUE(knob->showHint());
    EXPECT_FALSE(knob->visible());
}

TEST_F(KnobRecord, DownIsReadOnly)
{
    RecordWriter w;
    w.beginRecord("TKnob", "Knob2").property("Down").boolean(true).end().end();
    try {
        read(w);
        FAIL() << "no failure";
    } catch (const Exception& error) {
        EXPECT_EQ(error.message(), "Error reading Knob2.Down: Property is read-only");
    }
}

TEST_F(KnobRecord, PublishedOrderAndStreamDefaults)
{
    std::vector<std::string_view> names;
    for (const PropertyInfo& p : TKnob::staticClassInfo().ownProperties()) names.push_back(p.name);
    EXPECT_EQ(names, (std::vector<std::string_view>{"Brush", "DragCursor", "DragMode", "Enabled", "ParentShowHint",
                                                    "Pen", "Max", "Min", "Position", "Down", "ShowHint", "Visible",
                                                    "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown",
                                                    "OnMouseMove", "OnMouseUp", "OnStartDrag", "OnChange"}));
    const auto& info = TKnob::staticClassInfo();
    // A Max of 10 is left out of records, so reading one gives the constructor's 127.
    EXPECT_EQ(info.findProperty("Max")->streamDefault, PropertyValue(std::int64_t{10}));
    EXPECT_EQ(info.findProperty("Position")->streamDefault, std::nullopt);
    RecordWriter w;
    w.beginRecord("TKnob", "Knob3").end().end();
    EXPECT_EQ(read(w)->max(), 127);

    TKnob knob(nullptr);
    EXPECT_EQ(info.findProperty("Down")->get(knob), PropertyValue(std::int64_t{0}));
}

}  // namespace
}  // namespace trovelin
