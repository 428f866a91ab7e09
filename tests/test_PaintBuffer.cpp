// The pixels that painting keeps are bounded by what shows: a kept buffer holds what the canvas
// shows of its part, the buffers of a surface stay within a few surfaces (the least recently used
// are taken back) whichever of buffer and surface ends first, and a control that opaque controls
// above it cover is painted only where it shows.

#include <gtest/gtest.h>

#include <QPainter>

#include "framework/Canvas.h"
#include "framework/PaintBuffer.h"
#include "framework/PaintTree.h"
#include "framework/SpeedButton.h"
#include "framework/WinControl.h"
#include "support/GuiApplication.h"

namespace trovelin {
namespace {

TEST(PaintBuffer, HoldsWhatTheCanvasShowsOfItsPart)
{
    testing::ensureGuiApplication();
    QImage image(64, 48, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.translate(-1000, -2000);
    TCanvas canvas(painter);
    PaintBuffer buffer;
    buffer.holdShown(canvas, {0, 0, 2147483647, 2147483647});
    // The canvas's pixels and one beyond all round.
    EXPECT_EQ(buffer.part(), (TRect{999, 1999, 1065, 2049}));
    EXPECT_EQ(buffer.peek().size(), QSize(66, 50));
    buffer.holdShown(canvas, {0, 0, 10, 10});
    EXPECT_FALSE(buffer.held());
    EXPECT_FALSE(buffer.takenBack());
}

TEST(PaintBuffer, TheLeastRecentlyUsedAreTakenBackPastTheLimit)
{
    testing::ensureGuiApplication();
    PaintBufferBudget budget;
    QImage surface(1, 1, QImage::Format_RGB32);
    TCanvas canvas(surface);
    canvas.setBudget(&budget);
    const std::int64_t limit = budget.limitBytes();
    const int rows = 256, bytesEach = 1024 * rows * 4;
    const auto count = static_cast<std::size_t>(limit / bytesEach + 3);
    std::vector<PaintBuffer> buffers(count);
    for (std::size_t i = 0; i < count; ++i) {
        buffers[i].hold(canvas, {0, 0, 1024, rows});
        // The first is used again while the others are taken: it stays.
        if (i > 0) buffers[0].image();
        EXPECT_LE(budget.heldBytes(), limit);
    }
    EXPECT_TRUE(buffers[0].held());
    EXPECT_TRUE(buffers[1].takenBack());
    EXPECT_TRUE(buffers[3].takenBack());
    EXPECT_TRUE(buffers[count - 1].held());
    // Taken again, it is held once more, and something older makes room for it.
    buffers[1].hold(canvas, {0, 0, 1024, rows});
    EXPECT_TRUE(buffers[1].held());
    EXPECT_FALSE(buffers[1].takenBack());
    EXPECT_LE(budget.heldBytes(), limit);
}

TEST(PaintBuffer, ABufferAndItsSurfacesBudgetMayEndInEitherOrder)
{
    testing::ensureGuiApplication();
    QImage surface(1, 1, QImage::Format_RGB32);
    PaintBuffer outlives;
    {
        PaintBufferBudget budget;
        TCanvas canvas(surface);
        canvas.setBudget(&budget);
        {
            PaintBuffer ends;
            ends.hold(canvas, {0, 0, 10, 10});
            outlives.hold(canvas, {0, 0, 20, 10});
            EXPECT_EQ(budget.heldBytes(), 30 * 10 * 4);
        }
        EXPECT_EQ(budget.heldBytes(), 20 * 10 * 4);
        // Held again on another surface, it counts there only.
        PaintBufferBudget other;
        canvas.setBudget(&other);
        outlives.hold(canvas, {0, 0, 5, 5});
        EXPECT_EQ(budget.heldBytes(), 0);
        EXPECT_EQ(other.heldBytes(), 5 * 5 * 4);
    }
    // The surface ended first: the buffer keeps nothing, and its control paints again.
    EXPECT_FALSE(outlives.held());
    EXPECT_TRUE(outlives.takenBack());
    EXPECT_EQ(outlives.budget(), nullptr);
}

// Fills its bounds with its colour, and notes what its canvas showed.
class Tile : public TGraphicControl {
public:
    Tile(TColor color, bool opaque) : TGraphicControl(nullptr), color_(color), opaque_(opaque) {}
    void paint(TCanvas& canvas) override
    {
        ++paints;
        shown = canvas.visibleArea();
        canvas.brush().setColor(color_);
        canvas.fillRect({0, 0, width(), height()});
    }
    bool opaque() const override { return opaque_; }

    int paints = 0;
    TRect shown;

private:
    TColor color_;
    bool opaque_;
};

TEST(PaintTree, AControlIsPaintedOnlyWhereNoOpaqueControlAboveCoversIt)
{
    testing::ensureGuiApplication();
    TWinControl face(nullptr);
    face.setWidth(100);
    face.setHeight(100);
    Tile below(0x0000FF, true), hidden(0x00FF00, true), above(0xFF0000, true), glass(0x00FFFF, false);
    const auto place = [&face](Tile& tile, int left, int top, int width, int height) {
        tile.setParent(&face);
        tile.setLeft(left);
        tile.setTop(top);
        tile.setWidth(width);
        tile.setHeight(height);
    };
    place(hidden, 10, 10, 20, 20);
    place(below, 0, 0, 2147483647, 2147483647);
    place(above, 0, 30, 2147483647, 2147483647);
    place(glass, 50, 0, 10, 10);  // not opaque: what lies below it still paints there
    QImage image(100, 100, QImage::Format_RGB32);
    PaintBufferBudget budget;
    paintControlTree(image, face, budget);

    EXPECT_EQ(hidden.paints, 0);
    // Only the rows above `above` show of `below`, a pixel wider all round.
    EXPECT_EQ(below.shown, (TRect{-1, -1, 101, 31}));
    EXPECT_EQ(above.shown, (TRect{-1, -1, 101, 71}));
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 0, 0));     // `below`
    EXPECT_EQ(image.pixel(55, 5), qRgb(255, 255, 0));  // `glass`
    EXPECT_EQ(image.pixel(5, 50), qRgb(0, 0, 255));    // `above`
}

TEST(PaintTree, ARaisedSpeedButtonCoversWhatLiesBelowItAndAFlatOneDoesNot)
{
    testing::ensureGuiApplication();
    TWinControl face(nullptr);
    face.setWidth(40);
    face.setHeight(40);
    Tile below(0x0000FF, false);
    TSpeedButton button(nullptr);
    for (TControl* control : {static_cast<TControl*>(&below), static_cast<TControl*>(&button)}) {
        control->setParent(&face);
        control->setWidth(40);
        control->setHeight(40);
    }
    QImage image(40, 40, QImage::Format_RGB32);
    PaintBufferBudget budget;
    paintControlTree(image, face, budget);
    EXPECT_EQ(below.paints, 0);
    button.setFlat(true);
    paintControlTree(image, face, budget);
    EXPECT_EQ(below.paints, 1);
    EXPECT_EQ(image.pixel(20, 5), qRgb(255, 0, 0));
}

}  // namespace
}  // namespace trovelin
