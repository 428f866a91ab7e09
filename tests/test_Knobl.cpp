// The label knob: pointer angle to value, range repair, value label, paint, mouse rules, hostile
// sizes, and its record; with the geometry both knobs share.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

#include <QImage>
#include <QPainter>

#include "framework/Application.h"
#include "framework/Canvas.h"
#include "framework/NamedConstants.h"
#include "framework/PaintBuffer.h"
#include "framework/PaintTree.h"
#include "framework/SystemColors.h"
#include "framework/WinControl.h"
#include "panelctl/KnobGeometry.h"
#include "panelctl/Knobl.h"
#include "panelctl/PanelClasses.h"
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

struct AngleCase {
    int dx, dy;
    int angle;
};

TEST(KnobGeometry, AngleIsWholeDegreesFromStraightDownLessTheGap)
{
    const AngleCase cases[] = {
        {-100, -1, 38}, {1, -100, 128}, {100, 1, 218},  // left, up, right
        {-1, 100, 0},   {1, 100, 255},                  // either side of the gap
        {-100, 100, 0}, {-5000, -1, 38},                // inside the gap; a long offset
    };
    for (const auto& c : cases) EXPECT_EQ(knobLAngle(c.dx, c.dy), c.angle) << c.dx << "," << c.dy;
    for (const auto& [dx, dy] : {std::pair{0, 50}, {0, -50}, {50, 0}, {-50, 0}, {0, 0}})
        EXPECT_EQ(knobLAngle(dx, dy), std::nullopt) << dx << "," << dy;
    // Offsets far beyond a screen neither overflow nor leave acos's domain.
    EXPECT_EQ(knobLAngle(1, INT_MAX), 255);
    EXPECT_EQ(knobLAngle(INT_MIN, INT_MIN), 83);
}

TEST(KnobGeometry, LabelKnobValueTruncatesOverRangePlusOne)
{
    EXPECT_EQ(knobLValue(128, 0, 255), 128);
    EXPECT_EQ(knobLValue(64, 0, 10), 2);  // 11/256 * 64 = 2.75
    EXPECT_EQ(knobLValue(255, 0, 10), 10);
    EXPECT_EQ(knobLValue(255, -100, -90), -89);  // -89.04 truncates toward zero
    EXPECT_EQ(knobLValue(200, 7, 7), 7);
    EXPECT_EQ(knobLValue(255, INT_MIN, INT_MAX), INT_MAX - 16777215);  // no overflow of Max - Min + 1
}

TEST(KnobGeometry, SquareFollowsThePenAndIsCapped)
{
    EXPECT_EQ(knobSquare(40, 40, 1).s, 40);
    EXPECT_EQ(knobSquare(40, 40, 0).s, 40);
    EXPECT_EQ(knobSquare(40, 30, 1).s, 30);
    const KnobSquare wide = knobSquare(40, 40, 5);
    EXPECT_EQ(wide.h, 2);
    EXPECT_EQ(wide.s, 36);
    EXPECT_EQ(knobSquare(INT_MAX, INT_MAX, 1).s, maxKnobSide);
    EXPECT_EQ(knobSquare(INT_MIN, 40, INT_MIN).p, -maxKnobSide);
}

TEST(KnobGeometry, PointerSweepsFrom52To308DegreesAndRestsAtTheStartForOneValue)
{
    const float start = 52 * 3.14159265f / 180;
    EXPECT_NEAR(knobLPointerAngle(0, 0, 255), start, 1e-5);
    EXPECT_NEAR(knobLPointerAngle(255, 0, 255), 308 * 3.14159265f / 180, 1e-5);
    EXPECT_NEAR(knobLPointerAngle(5, 5, 5), start, 1e-5);
    EXPECT_NEAR(knobPointerAngle(5, 5, 5), start, 1e-6);
    EXPECT_EQ(knobLPointerEnd({47, 47}, 41, start), (TPoint{14, 72}));
}

class Knobl : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }

    Knobl()
    {
        knob.setParent(&panel);
        knob.onChangeHandler = [this](TControl&) { ++changes; };
        knob.onMouseDownHandler = [this](TControl&, TMouseButton, TShiftState, int, int) { ++mouseDowns; };
        knob.onMouseMoveHandler = [this](TControl&, TShiftState, int, int) { ++mouseMoves; };
        knob.onMouseUpHandler = [this](TControl&, TMouseButton, TShiftState, int, int) { ++mouseUps; };
    }

    // A press at an offset from the centre of the default 40 x 40 knob.
    void pressAt(TMouseButton button, int dx, int dy) { knob.mouseDown(button, 0, 20 + dx, 20 + dy); }

    TWinControl panel{nullptr};
    TKnobL knob{nullptr};
    testing::TestControlHost host{knob};
    int changes = 0, mouseDowns = 0, mouseMoves = 0, mouseUps = 0;
};

TEST_F(Knobl, ConstructionDefaults)
{
    EXPECT_EQ(knob.width(), 40);
    EXPECT_EQ(knob.height(), 40);
    EXPECT_EQ(knob.min(), 0);
    EXPECT_EQ(knob.max(), 255);
    EXPECT_EQ(knob.position(), 0);
    EXPECT_EQ(knob.brush().color(), clBtnFace);
}

TEST_F(Knobl, SetParamsRepairsAReversedRangeAndLimitsThePosition)
{
    knob.setParams(0, 10, 5);
    EXPECT_EQ(knob.min(), 10);
    EXPECT_EQ(knob.max(), 11);
    EXPECT_EQ(knob.position(), 10);

    knob.setParams(200, 0, 255);
    knob.setMax(100);
    EXPECT_EQ(knob.position(), 100);
    knob.setPosition(-5);
    EXPECT_EQ(knob.position(), 0);

    knob.setParams(0, INT_MAX, 0);  // no room for Min + 1
    EXPECT_EQ(knob.max(), INT_MAX);
    EXPECT_EQ(knob.position(), INT_MAX);
    EXPECT_EQ(changes, 0);
}

TEST_F(Knobl, LeftPressSetsTheValueAndRaisesOnChangeButNotOnMouseDown)
{
    pressAt(left, 1, -100);
    EXPECT_EQ(knob.position(), 128);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(mouseDowns, 0);
    EXPECT_TRUE(knob.down());

    knob.mouseMove(0, 20 + 100, 20 + 1);
    EXPECT_EQ(knob.position(), 218);
    EXPECT_EQ(changes, 2);
    knob.mouseMove(0, 20, 20 + 50);  // on a centre line: no value, still a change event
    EXPECT_EQ(knob.position(), 218);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(mouseMoves, 0);

    knob.mouseUp(left, 0, 20 - 100, 20 - 1);
    EXPECT_EQ(knob.position(), 38);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(mouseUps, 0);
    EXPECT_FALSE(knob.down());

    knob.mouseMove(0, 20 + 100, 20 + 1);  // no longer dragging
    EXPECT_EQ(knob.position(), 38);
    EXPECT_EQ(mouseMoves, 0);
}

TEST_F(Knobl, OtherButtonsGoToTheInheritedHandlersAndLeaveTheValue)
{
    pressAt(right, 1, -100);
    EXPECT_EQ(mouseDowns, 1);
    EXPECT_EQ(knob.position(), 0);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(knob.down());
    knob.mouseUp(right, 0, 21, 20 - 100);
    EXPECT_EQ(mouseUps, 1);
    knob.mouseUp(left, 0, 21, 20 - 100);  // a left release without a drag is ignored
    EXPECT_EQ(mouseUps, 1);
    EXPECT_EQ(knob.position(), 0);
}

TEST_F(Knobl, ADisabledKnobIgnoresEveryPress)
{
    knob.setEnabled(false);
    pressAt(left, 1, -100);
    pressAt(right, 1, -100);
    EXPECT_EQ(knob.position(), 0);
    EXPECT_EQ(changes + mouseDowns, 0);
    EXPECT_FALSE(knob.down());
}

TEST_F(Knobl, OneValueRangeNeitherDividesByZeroNorMoves)
{
    knob.setWidth(100);
    knob.setHeight(100);
    knob.setParams(5, 5, 5);
    host.paint();
    EXPECT_EQ(knob.pointerEnd(), (TPoint{14, 72}));  // at the start of the sweep, as for Min
    knob.mouseDown(left, 0, 50 + 1, 50 - 100);
    EXPECT_EQ(knob.position(), 5);
}

TEST_F(Knobl, PaintDrawsMarksRimFaceAndPointer)
{
    knob.setWidth(100);
    knob.setHeight(100);
    knob.pen().setColor(red);
    const QImage image = host.paint();
    const std::uint32_t background = 0xF0F0F0;
    // Marks: top, upper left and lower right, each 3 pixels; none at the bottom.
    EXPECT_EQ(colorAt(image, 50, 0), red);
    EXPECT_EQ(colorAt(image, 50, 2), red);
    EXPECT_EQ(colorAt(image, 49, 1), background);
    EXPECT_EQ(colorAt(image, 12, 12), red);
    EXPECT_EQ(colorAt(image, 14, 14), red);
    EXPECT_EQ(colorAt(image, 15, 15), background);
    EXPECT_EQ(colorAt(image, 87, 87), red);
    EXPECT_EQ(colorAt(image, 88, 88), background);
    EXPECT_EQ(colorAt(image, 50, 99), background);
    // The dark rim shows at the lower right, beyond the smaller face.
    EXPECT_EQ(colorAt(image, 96, 50), red);
    EXPECT_EQ(colorAt(image, 94, 50), colorToRgb(clWindowText));
    EXPECT_EQ(colorAt(image, 47, 20), colorToRgb(clBtnFace));
    // The pointer at Min ends just before (14, 72).
    EXPECT_EQ(knob.pointerStart(), (TPoint{47, 47}));
    EXPECT_EQ(knob.pointerEnd(), (TPoint{14, 72}));
    EXPECT_EQ(colorAt(image, 15, 71), red);
    EXPECT_EQ(colorAt(image, 14, 72), colorToRgb(clBtnFace));
}

// The columns of the label: dark pixels in the rows below the centre, near its column.
std::pair<int, int> labelColumns(const QImage& image, int top, int bottom, int from, int to)
{
    int first = INT_MAX, last = INT_MIN;
    for (int y = top; y < bottom; ++y)
        for (int x = from; x < to; ++x)
            if (colorAt(image, x, y) == 0) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

TEST_F(Knobl, LabelShowsThePositionCentredUnderTheCentre)
{
    knob.setWidth(120);
    knob.setHeight(120);
    knob.setPosition(128);  // the pointer points up, away from the label
    // o = 3, d = 114 - 7 = 107: centre column 56, label top 3 + 53 + 13.
    const QImage image = host.paint();
    const auto [first, last] = labelColumns(image, 69, 95, 30, 83);
    ASSERT_LE(first, last);
    EXPECT_NEAR((first + last) / 2.0, 56.0, 1.5);

    knob.setPosition(129);
    EXPECT_NE(host.paint().copy(30, 69, 53, 26), image.copy(30, 69, 53, 26));
}

TEST_F(Knobl, SetPositionBetweenPaintsRedrawsAsAFullPaintWould)
{
    knob.setWidth(120);
    knob.setHeight(120);
    knob.setPosition(200);
    host.paint();
    const int drawn = host.drawnBetweenPaints;
    knob.setPosition(1000);  // limited to 255
    EXPECT_EQ(knob.position(), 255);
    EXPECT_EQ(host.drawnBetweenPaints, drawn + 1);
    const QImage incremental = host.surface().copy();
    EXPECT_EQ(incremental, host.paint());
    EXPECT_EQ(changes, 0);
}

TEST_F(Knobl, HugeSizesAreDrawnCapped)
{
    knob.setWidth(INT_MAX);
    knob.setHeight(INT_MAX);
    QImage image = testing::filledImage(50, 50, 0);
    for (const int penWidth : {INT_MIN, INT_MAX}) {
        knob.pen().setWidth(penWidth);
        TCanvas canvas(image);
        knob.paint(canvas);
    }
    EXPECT_EQ(knob.position(), 0);
}

TEST_F(Knobl, PenAndBrushChangesRepaint)
{
    const int before = host.invalidated;
    knob.pen().setWidth(3);
    knob.brush().setColor(clRed);
    TBrush other;
    other.setColor(clBlue);
    knob.setBrush(other);
    EXPECT_EQ(host.invalidated, before + 3);
    EXPECT_EQ(knob.brush().color(), clBlue);
}

class KnoblRecord : public ::testing::Test {
protected:
    std::unique_ptr<TKnobL> read(const RecordWriter& writer)
    {
        auto knob = std::make_unique<TKnobL>(&window);
        bytes = writer.bytes();
        ByteViewStream stream(bytes);
        readComponentRecord(stream, *knob, application.readerEnvironment());
        return knob;
    }

    TApplication application;
    Component window{nullptr};
    std::vector<std::uint8_t> bytes;
};

TEST_F(KnoblRecord, EveryPublishedPropertyReadsInStreamOrder)
{
    RecordWriter w;
    w.beginRecord("TKnobL", "Knob1");
    w.property("Left").integer(8).property("Top").integer(9).property("Width").integer(64);
    w.property("Height").integer(48).property("Cursor").ident("crHandPoint").property("Hint").string("Pan");
    w.property("Brush.Color").ident("clNavy").property("Brush.Style").ident("bsClear");
    w.property("DragCursor").ident("crArrow").property("DragMode").ident("dmAutomatic");
    w.property("Enabled").boolean(false).property("ParentShowHint").boolean(false);
    w.property("Pen.Color").ident("clRed").property("Pen.Width").integer(2);
    w.property("Min").integer(10).property("Max").integer(20).property("Position").integer(15);
    w.property("ShowHint").boolean(true).property("Visible").boolean(false);
    for (const char* event : {"OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp",
                              "OnStartDrag", "OnChange"})
        w.property(event).nil();
    w.property("Tag").integer(3);
    w.end().end();
    const auto knob = read(w);
    EXPECT_EQ(knob->name(), "Knob1");
    EXPECT_EQ(knob->left(), 8);
    EXPECT_EQ(knob->width(), 64);
    EXPECT_EQ(knob->height(), 48);
    EXPECT_EQ(knob->hint(), "Pan");
    EXPECT_EQ(knob->brush().color(), clNavy);
    EXPECT_EQ(knob->brush().style(), TBrushStyle::bsClear);
    EXPECT_EQ(knob->dragMode(), TDragMode::dmAutomatic);
    EXPECT_FALSE(knob->enabled());
    EXPECT_FALSE(knob->parentShowHint());
    EXPECT_EQ(knob->pen().color(), clRed);
    EXPECT_EQ(knob->pen().width(), 2);
    EXPECT_EQ(knob->min(), 10);
    EXPECT_EQ(knob->max(), 20);
    EXPECT_EQ(knob->position(), 15);
    EXPECT_TRUE(knob->showHint());
    EXPECT_FALSE(knob->visible());
}

TEST_F(KnoblRecord, PublishedOrderAndStreamDefaults)
{
    std::vector<std::string_view> names;
    for (const PropertyInfo& p : TKnobL::staticClassInfo().ownProperties()) names.push_back(p.name);
    EXPECT_EQ(names, (std::vector<std::string_view>{"Brush", "DragCursor", "DragMode", "Enabled", "ParentShowHint",
                                                    "Pen", "Min", "Max", "Position", "ShowHint", "Visible",
                                                    "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown",
                                                    "OnMouseMove", "OnMouseUp", "OnStartDrag", "OnChange"}));
    const auto& info = TKnobL::staticClassInfo();
    EXPECT_EQ(info.findProperty("Max")->streamDefault, PropertyValue(std::int64_t{255}));
    EXPECT_EQ(info.findProperty("Position")->streamDefault, PropertyValue(std::int64_t{0}));
    EXPECT_EQ(info.findProperty("DragCursor")->streamDefault, PropertyValue(std::int64_t{-12}));
}

TEST_F(KnoblRecord, ARangeReadAcrossAReversedPairIsRepairedAsItArrives)
{
    RecordWriter w;
    w.beginRecord("TKnobL", "Knob2").property("Min").integer(300).property("Position").integer(400).end().end();
    const auto knob = read(w);
    EXPECT_EQ(knob->min(), 300);
    EXPECT_EQ(knob->max(), 301);
    EXPECT_EQ(knob->position(), 301);
}

// A knob's filled disc hides what lies below it, so a knob under it is painted only around it;
// the picture must be the one that painting each knob whole, bottom first, gives.
TEST(KnobLStack, StackedKnobsShowWhatPaintingEachWholeShows)
{
    testing::ensureGuiApplication();
    TWinControl face(nullptr);
    face.setWidth(130);
    face.setHeight(130);
    TKnobL below(nullptr), above(nullptr);
    struct Placed {
        TKnobL& knob;
        int left, top, side, position;
    };
    const Placed knobs[] = {{below, 0, 0, 120, 40}, {above, 15, 25, 100, 200}};
    for (const Placed& p : knobs) {
        p.knob.setParent(&face);
        p.knob.setLeft(p.left);
        p.knob.setTop(p.top);
        p.knob.setWidth(p.side);
        p.knob.setHeight(p.side);
        p.knob.setPosition(p.position);
    }
    EXPECT_FALSE(above.opaqueArea().isEmpty());

    EXPECT_EQ(testing::paintedAsTree(face, 130, 130), testing::paintedEachWhole(face, 130, 130));
}

TEST(PanelClasses, LabelKnobComesAfterTheGroupBoxAndBeforeTheButtons)
{
    const LoaderClassTable classes = panelLoaderClasses();
    const auto indexOf = [&classes](std::string_view name) {
        return std::find_if(classes.begin(), classes.end(), [name](const LoaderClass& c) { return c.name == name; }) -
               classes.begin();
    };
    const auto at = indexOf("TKnobL");
    ASSERT_LT(at, static_cast<std::ptrdiff_t>(classes.size()));
    EXPECT_LT(indexOf("TGroupBox"), at);
    EXPECT_LT(at, indexOf("TSpeedButton"));
    EXPECT_EQ(classes[static_cast<std::size_t>(at)].glyph, nullptr);
    EXPECT_EQ(findLoaderClass(classes, "TKnob"), nullptr);
    Component owner{nullptr};
    std::unique_ptr<TControl> control(classes[static_cast<std::size_t>(at)].create(&owner));
    EXPECT_NE(dynamic_cast<TKnobL*>(control.get()), nullptr);
}

}  // namespace
}  // namespace trovelin
