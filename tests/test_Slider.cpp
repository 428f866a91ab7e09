// The faders: value mapping and knob placement, the setters' range rules, records, the mouse
// (drags, right-button steps with auto-repeat, the value hint), painting, and sizes that leave
// no travel or exceed the bitmaps.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "framework/Application.h"
#include "framework/Canvas.h"
#include "framework/PaintBuffer.h"
#include "framework/SystemColors.h"
#include "framework/Timer.h"
#include "framework/WinControl.h"
#include "panelctl/PanelClasses.h"
#include "panelctl/Slider.h"
#include "panelctl/Sliderh.h"
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
constexpr auto middle = TMouseButton::mbMiddle;
constexpr TColor parentColor = 0x406080;

TEST(FaderGeometry, DefaultVerticalFader)
{
    EXPECT_EQ(faderMargin(152), 9);
    EXPECT_EQ(faderTravel(152), 133);
    EXPECT_EQ(faderKnobLength(152), 19);
    EXPECT_TRUE(valueDescends(FaderAxis::Vertical, false));
    EXPECT_FALSE(valueDescends(FaderAxis::Horizontal, false));
    EXPECT_TRUE(valueDescends(FaderAxis::Horizontal, true));

    // With Min 0 and Max 255 the coarse and the fine value agree.
    struct Case {
        int coordinate;
        bool descending;
        std::int64_t value;
    };
    const Case cases[] = {
        {9, true, 255},   {142, true, -1},  // 255 - (133 * 256) / 133
        {0, true, 272},   {-50, true, 272},  // above the travel: the pointer is limited to 0
        {500, true, -20}, {75, true, 128},   {9, false, 0}, {142, false, 256},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(coarseValueAt(c.coordinate, 152, 0, 255, c.descending), c.value) << c.coordinate;
        EXPECT_EQ(fineValueAt(c.coordinate, 152, c.descending), c.value) << c.coordinate;
    }
    EXPECT_EQ(coarseKnobOffset(152, 0, 255, 0, true), 133);
    EXPECT_EQ(coarseKnobOffset(152, 0, 255, 255, true), 0);
    EXPECT_EQ(coarseKnobOffset(152, 0, 255, 100, false), 52);
    EXPECT_EQ(fineKnobOffset(152, 0, true), 133);
    EXPECT_EQ(fineKnobOffset(152, 51, false), 26);
}

TEST(FaderGeometry, TicksAreSpacedInSinglePrecision)
{
    const int rows[] = {9, 25, 42, 58, 75, 92, 108, 125, 142};
    for (int i = 0; i <= 8; ++i) {
        EXPECT_EQ(tickRow(152, i), rows[i]);
        EXPECT_EQ(tickHighlightRow(152, i), rows[i] + 1);
    }
    // 100 * 14 / 128 = 10.9375: 6 + 8 * 10.9375 = 93.5
    EXPECT_EQ(tickRow(100, 8), 93);
}

TEST(FaderGeometry, ExtremeRangesAndSizesDoNotOverflow)
{
    constexpr int lowest = std::numeric_limits<std::int32_t>::min();
    constexpr int highest = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(coarseValueAt(9, 152, lowest, highest, true), highest);
    EXPECT_EQ(coarseKnobOffset(152, lowest, highest, lowest, true), 133);
    EXPECT_EQ(coarseKnobOffset(highest, 0, 1, 0, true), static_cast<int>(std::int64_t{14} * highest / 16));
    EXPECT_GT(coarseKnobOffset(152, 300, 301, lowest, true), 1 << 30);  // far off, while SetMin moves the range
}

class Fader : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }

    Fader()
    {
        panel.setColor(parentColor);
        slider.setParent(&panel);
        sliderh.setParent(&panel);
        slider.onChangeHandler = [this](TControl&) { ++changes; };
    }
    // The repeat timer runs on the host's clock, which goes first.
    ~Fader() override { slider.mouseLeave(); }

    TWinControl panel{nullptr};
    TSlider slider{nullptr};
    TSliderh sliderh{nullptr};
    testing::TestControlHost host{slider};
    int changes = 0;
};

TEST_F(Fader, SettersLimitAndPushButNeverNotify)
{
    slider.setMin(300);
    EXPECT_EQ(slider.max(), 301);
    EXPECT_EQ(slider.position(), 300);
    slider.setMax(-5);
    EXPECT_EQ(slider.min(), -6);
    EXPECT_EQ(slider.position(), -5);
    slider.setPosition(1000);
    EXPECT_EQ(slider.position(), -5);

    slider.setMin(std::numeric_limits<std::int32_t>::max());
    EXPECT_LT(slider.min(), slider.max());
    slider.setMax(std::numeric_limits<std::int32_t>::min());
    EXPECT_LT(slider.min(), slider.max());

    slider.setFinePosition(77);
    EXPECT_EQ(slider.finePosition(), 0);  // not without M16bit
    slider.set16bit(true);
    slider.setFinePosition(300);
    EXPECT_EQ(slider.finePosition(), 255);
    EXPECT_EQ(changes, 0);
}

TEST_F(Fader, RecordsReadThroughTheSettersInStreamOrder)
{
    TApplication application;
    Component window(nullptr);
    testing::RecordWriter w;
    w.beginRecord("TSlider", "Slider1");
    w.property("Min").integer(10).property("Position").integer(3).property("FinePosition").integer(77);
    w.property("M16bit").boolean(true).property("Inverted").boolean(true).property("Add").integer(1);
    w.end().end();
    TSlider stored(&window);
    ByteViewStream stream(w.bytes());
    readComponentRecord(stream, stored, application.readerEnvironment());
    EXPECT_EQ(stored.position(), 10);
    EXPECT_EQ(stored.finePosition(), 0);  // read while M16bit was still false
    EXPECT_TRUE(stored.m16bit());
    EXPECT_TRUE(stored.inverted());
    EXPECT_EQ(stored.add(), 1);
    EXPECT_EQ(stored.color(), clBtnFace);  // no Color stored
    EXPECT_EQ(stored.width(), 40);
    EXPECT_EQ(stored.height(), 152);
    EXPECT_TRUE(stored.showHint());

    testing::RecordWriter red;
    red.beginRecord("TSliderh", "Slider2").property("Color").ident("clRed").end().end();
    TSliderh horizontal(&window);
    ByteViewStream redStream(red.bytes());
    readComponentRecord(redStream, horizontal, application.readerEnvironment());
    EXPECT_EQ(horizontal.color(), clRed);
    EXPECT_EQ(horizontal.width(), 152);
    EXPECT_EQ(horizontal.height(), 40);
}

TEST_F(Fader, PaintDrawsSlotTicksAndKnob)
{
    const std::uint32_t shadow = colorToRgb(clBtnShadow), light = colorToRgb(clBtnHighlight);
    const std::uint32_t dark = colorToRgb(clWindowText), face = colorToRgb(parentColor);
    slider.setPosition(128);  // the knob on rows 66 to 84: (133 * 127) / 255 = 66
    const QImage image = host.paint();
    struct Pixel {
        int x, y;
        std::uint32_t color;
    };
    constexpr int k = 66;
    const Pixel pixels[] = {
        // the slot from (15, 9) to (25, 142), lit along its bottom and right edges
        {15, 30, shadow}, {24, 30, shadow}, {20, 30, dark}, {15, 142, light}, {24, 142, light}, {25, 141, light},
        {25, 10, light}, {25, 9, face}, {14, 30, face},
        // tick 1 on row 25 from 5 to 9 and from 30 to 34, its highlight on row 26; tick 8 on row 142
        {4, 25, face}, {5, 25, dark}, {9, 25, dark}, {10, 25, face}, {30, 25, dark}, {34, 25, dark},
        {35, 25, face}, {5, 26, light}, {34, 26, light}, {5, 142, dark}, {5, 143, light},
        // the knob: rounded corners, light top and left, dark bottom and right, the grip on rows 9 and 10
        {0, k, face}, {39, k, face}, {0, k + 18, face}, {39, k + 18, face}, {1, k, light}, {0, k + 5, light},
        {20, k + 18, dark}, {39, k + 5, dark}, {39, k + 1, light}, {1, k + 17, light}, {38, k + 17, dark},
        {20, k + 5, face}, {3, k + 9, face}, {4, k + 9, shadow}, {35, k + 9, shadow}, {36, k + 9, face},
        {4, k + 10, light}, {20, k + 19, dark},
    };
    for (const Pixel& p : pixels) EXPECT_EQ(colorAt(image, p.x, p.y), p.color) << p.x << ", " << p.y;

    slider.setColor(clRed);
    EXPECT_EQ(colorAt(host.surface(), 20, k + 5), 0x0000FFu);
    slider.setInverted(true);
    slider.setPosition(0);  // inverted: Min at the top
    EXPECT_EQ(colorAt(host.surface(), 20, 5), 0x0000FFu);
}

TEST_F(Fader, MovingAKnobBetweenPaintsLooksLikeAFullPaint)
{
    host.paint();
    slider.setPosition(100);
    EXPECT_EQ(host.drawnBetweenPaints, 1);
    QImage moved = host.surface().copy();
    EXPECT_EQ(moved, host.paint());

    slider.set16bit(true);
    slider.setFinePosition(200);
    slider.setPosition(30);
    EXPECT_EQ(host.drawnBetweenPaints, 3);
    moved = host.surface().copy();
    EXPECT_EQ(moved, host.paint());
    EXPECT_EQ(colorAt(moved, 32, 50), colorToRgb(clBtnShadow));  // the fine slot: 26 + 14 / 2 - 14 / 8 = 32
}

TEST_F(Fader, HorizontalPaintIsTheInvertedVerticalOneTransposed)
{
    testing::TestControlHost hostH(sliderh);
    slider.setInverted(true);
    for (bool fine : {false, true}) {
        for (TFader* fader : {static_cast<TFader*>(&slider), static_cast<TFader*>(&sliderh)}) {
            fader->set16bit(fine);
            fader->setPosition(100);
            fader->setFinePosition(200);
        }
        const QImage vertical = host.paint();
        const QImage horizontal = hostH.paint();
        int mismatches = 0;
        for (int y = 0; y < 152; ++y)
            for (int x = 0; x < 40; ++x) mismatches += colorAt(vertical, x, y) != colorAt(horizontal, y, x);
        EXPECT_EQ(mismatches, 0) << fine;
    }
}

TEST_F(Fader, LeftPressSetsTheValueAndDragsUntilRelease)
{
    int framework = 0;
    slider.onMouseDownHandler = [&](TControl&, TMouseButton, TShiftState, int, int) { ++framework; };
    slider.mouseDown(left, 0, 20, 9);
    EXPECT_EQ(slider.position(), 255);
    EXPECT_EQ(changes, 1);
    slider.mouseDown(left, 0, 20, 9);  // at the current value
    EXPECT_EQ(changes, 1);
    slider.mouseMove(0, 20, 142);  // -1, limited
    EXPECT_EQ(slider.position(), 0);
    EXPECT_EQ(changes, 2);
    slider.mouseUp(right, 0, 20, 142);
    EXPECT_TRUE(slider.dragging());
    slider.mouseUp(left, 0, 20, 142);
    slider.mouseMove(0, 20, 9);
    EXPECT_EQ(slider.position(), 0);
    EXPECT_EQ(framework, 0);

    slider.mouseDown(middle, 0, 20, 75);
    EXPECT_EQ(slider.position(), 128);
    slider.mouseUp(middle, 0, 20, 75);
    EXPECT_FALSE(slider.dragging());
}

TEST_F(Fader, FineColumnOf16BitFader)
{
    slider.set16bit(true);
    slider.mouseDown(left, 0, 26, 9);  // (2 * 40) / 3 = 26: the fine column begins
    EXPECT_EQ(slider.finePosition(), 255);
    EXPECT_EQ(slider.position(), 0);
    EXPECT_TRUE(slider.draggingFine());
    slider.mouseMove(0, 0, 75);
    EXPECT_EQ(slider.finePosition(), 128);
    slider.mouseUp(left, 0, 0, 75);
    slider.mouseDown(left, 0, 25, 9);
    EXPECT_EQ(slider.position(), 255);
    EXPECT_FALSE(slider.draggingFine());
}

TEST_F(Fader, RightButtonStepsAndRepeatsWhileHeld)
{
    host.paint();  // stores the screen origin that the repeat reads the pointer against
    slider.setPosition(255);
    slider.mouseDown(right, 0, 20, 9);  // at the top limit: still a change
    EXPECT_EQ(slider.position(), 255);
    EXPECT_EQ(changes, 1);

    host.cursor = {300 + 20, 200 + 142};  // held at the bottom: steps down
    host.clock.advance(499);
    EXPECT_EQ(changes, 1);
    host.clock.advance(1);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(slider.position(), 254);
    host.clock.advance(300);
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(slider.position(), 251);
    slider.mouseUp(right, 0, 20, 142);
    EXPECT_EQ(slider.repeatTimer(), nullptr);
    host.clock.advance(1000);
    EXPECT_EQ(changes, 5);

    slider.mouseDown(right, 0, 20, 142);
    EXPECT_EQ(slider.position(), 250);
    slider.mouseLeave();
    EXPECT_EQ(slider.repeatTimer(), nullptr);
}

TEST_F(Fader, HoverHintShowsValuePlusAddNextToThePointer)
{
    slider.setAdd(1);
    host.cursor = {320, 342};
    slider.mouseMove(0, 20, 142);
    EXPECT_EQ(host.hint.shows, 0);  // not inside yet

    slider.mouseEnter();
    slider.mouseMove(0, 20, 142);
    THintWindow measure(slider);
    measure.font().setName("SmallFonts");
    measure.font().setSize(7);
    const TRect needed = measure.calcHintRect(100, "1");
    EXPECT_TRUE(host.hint.showing);
    EXPECT_EQ(host.hint.text, "1");
    EXPECT_EQ(host.hint.rect, (TRect{320, 358, 320 + needed.right, 342 + needed.bottom + 14}));
    EXPECT_EQ(host.hint.fontName, "SmallFonts");
    EXPECT_EQ(host.hint.fontSize, 7);

    slider.set16bit(true);
    slider.mouseMove(0, 35, 9);  // over the fine column: the coarse value
    EXPECT_EQ(host.hint.text, "256");
    slider.mouseMove(0, 20, 153);
    EXPECT_FALSE(host.hint.showing);
    slider.mouseMove(0, 20, 9);
    slider.mouseLeave();
    EXPECT_FALSE(host.hint.showing);
}

TEST_F(Fader, HorizontalFaderExchangesTheAxes)
{
    testing::TestControlHost hostH(sliderh);
    sliderh.mouseEnter();
    sliderh.mouseDown(left, 0, 9, 39);
    EXPECT_EQ(sliderh.position(), 0);
    sliderh.mouseMove(0, 142, 500);  // only X counts while dragging
    EXPECT_EQ(sliderh.position(), 255);
    sliderh.mouseUp(left, 0, 0, 0);
    sliderh.mouseMove(0, 9, 60);
    EXPECT_EQ(hostH.hint.text, "0");
    sliderh.mouseMove(0, 153, 20);
    EXPECT_FALSE(hostH.hint.showing);

    sliderh.setInverted(true);
    sliderh.set16bit(true);
    sliderh.mouseDown(left, 0, 9, 26);  // (2 * 40) / 3: the fine row
    EXPECT_EQ(sliderh.finePosition(), 255);
    EXPECT_EQ(sliderh.position(), 255);
    sliderh.mouseLeave();
}

TEST_F(Fader, FaderWithoutTravelIgnoresThePointer)
{
    for (int height : {1, 0, -40}) {
        slider.setHeight(height);
        slider.mouseEnter();
        slider.mouseDown(left, 0, 20, 0);
        slider.mouseMove(0, 20, 0);
        slider.mouseDown(right, 0, 20, 0);
        slider.mouseUp(left, 0, 20, 0);
        slider.setPosition(200);
        QImage image = testing::filledImage(40, 4, 0);
        TCanvas canvas(image);
        slider.paint(canvas);
        EXPECT_EQ(changes, 0) << height;
        EXPECT_EQ(slider.repeatTimer(), nullptr);
        slider.setPosition(0);
    }
}

TEST_F(Fader, HugeSizesPaintWhatTheCanvasShowsAndKeepNothing)
{
    slider.setHost(nullptr);  // the test host would paint a surface of the control's size
    slider.setWidth(1'000'000'000);
    slider.setHeight(2'000'000'000);
    slider.set16bit(true);
    slider.setPosition(100);
    QImage image = testing::filledImage(64, 64, 0);
    PaintBufferBudget budget;
    {
        TCanvas canvas(image);
        canvas.setBudget(&budget);
        slider.paint(canvas);
    }
    // The canvas's 64 x 64 pixels and a pixel beyond, while painting; nothing once shown in part,
    // since a knob that moves then paints again.
    EXPECT_EQ(budget.peakBytes(), 65 * 65 * 4);
    EXPECT_TRUE(slider.backgroundBitmap().isNull());
    EXPECT_TRUE(slider.knobBitmap().isNull());
    EXPECT_EQ(colorAt(image, 10, 10), colorToRgb(parentColor));

    // Seen through a window onto the knob's top edge, far down, the edge is where it belongs.
    slider.setHeight(100'000'000);
    slider.setPosition(0);
    const int knobTop = 100'000'000 / 16 * 14;
    QImage window = testing::filledImage(40, 40, 0);
    {
        QPainter painter(&window);
        painter.translate(0, -(knobTop - 10));
        TCanvas canvas(painter);
        slider.paint(canvas);
    }
    EXPECT_EQ(colorAt(window, 5, 9), colorToRgb(parentColor));
    EXPECT_EQ(colorAt(window, 5, 10), colorToRgb(clBtnHighlight));
}

}  // namespace
}  // namespace trovelin
