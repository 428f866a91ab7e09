// The skinned panel and group box: frames by BevelWidth and captions by alignment, checked by
// pixels against the caption drawn where it belongs; records of their kept properties.

#include <gtest/gtest.h>

#include "framework/Canvas.h"
#include "framework/WinControl.h"
#include "skin/Wgroupbox.h"
#include "skin/Wpanel.h"
#include "skin/Wradiogroup.h"
#include "streaming/Reader.h"
#include "streaming/Stream.h"
#include "support/GuiApplication.h"
#include "support/PixelProbe.h"
#include "support/RecordWriter.h"
#include "support/TestControlHost.h"

namespace trovelin {
namespace {

using testing::colorAt;
constexpr std::uint32_t shadow = 0x7F7F7F, dark = 0x3F3F3F, light = 0xBFBFBF;

class Wpanel : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }

    // The control painted without a caption, with `caption` then drawn at (x, y) by hand, on a
    // light line through its middle for a group box: what the control must paint with it.
    static QImage withCaptionAt(TCustomPanel& panel, const std::string& caption, int x, int y, bool lightLine = false)
    {
        panel.setCaption("");
        testing::TestControlHost host(panel);
        QImage image = host.paint();
        TCanvas canvas(image);
        canvas.font().assign(panel.font());
        if (lightLine) {
            canvas.pen().setColor(static_cast<TColor>(light));
            canvas.moveTo(x, y + canvas.textHeight("H") / 2);
            canvas.lineTo(x + canvas.textWidth(caption), y + canvas.textHeight("H") / 2);
        }
        canvas.brush().setStyle(TBrushStyle::bsClear);
        canvas.textOut(x, y, caption);
        panel.setCaption(caption);
        return image;
    }
    static int textHeight(const TControl& control)
    {
        QImage scratch(1, 1, QImage::Format_RGB32);
        TCanvas canvas(scratch);
        canvas.font().assign(control.font());
        return canvas.textHeight("H");
    }

    TWinControl form{nullptr};
};

TEST_F(Wpanel, BevelWidthInsetsTheFrameAndTheLeftCaption)
{
    TWPanel panel(nullptr);
    panel.setParent(&form);
    EXPECT_TRUE(panel.parentColor());
    panel.setWidth(120);
    panel.setHeight(40);
    panel.setBevelWidth(3);
    panel.setAlignment(TAlignment::taLeftJustify);
    const QImage expected = withCaptionAt(panel, "Left", 4, (40 - textHeight(panel)) / 2);
    testing::TestControlHost host(panel);
    const QImage& image = host.paint();
    EXPECT_EQ(image, expected);
    EXPECT_EQ(colorAt(image, 3, 20), shadow);  // left, top, right, bottom
    EXPECT_EQ(colorAt(image, 60, 3), shadow);
    EXPECT_EQ(colorAt(image, 116, 20), dark);
    EXPECT_EQ(colorAt(image, 60, 36), dark);
    EXPECT_NE(colorAt(image, 2, 20), shadow);
}

TEST_F(Wpanel, GroupBoxesFrameBelowHalfTheCaptionOrDrawOneTopLine)
{
    TWGroupBox box(nullptr);
    box.setParent(&form);
    box.setWidth(100);
    box.setHeight(50);
    box.setBevelWidth(2);
    box.setCaption("G");
    testing::TestControlHost host(box);
    const int top = textHeight(box) / 2 + 2;
    EXPECT_EQ(colorAt(host.paint(), 60, top), shadow);
    EXPECT_EQ(colorAt(host.surface(), 2, 30), shadow);
    EXPECT_EQ(colorAt(host.surface(), 97, 30), dark);
    EXPECT_EQ(colorAt(host.surface(), 10, top), light);  // under the caption

    box.setBevelWidth(-1);
    const QImage expected = withCaptionAt(box, "Group", 8, 0, true);
    const QImage& image = host.paint();
    EXPECT_EQ(image, expected);
    EXPECT_EQ(colorAt(image, 0, 0), shadow);
    EXPECT_EQ(colorAt(image, 99, 0), shadow);
    EXPECT_NE(colorAt(image, 0, 30), shadow);
    EXPECT_NE(colorAt(image, 99, 30), dark);

    // The radio group shares the face but stops its top line short of the last column.
    TWRadioGroup group(nullptr);
    group.setParent(&form);
    group.setBevelWidth(-1);
    testing::TestControlHost groupHost(group);
    EXPECT_EQ(colorAt(groupHost.paint(), 198, 0), shadow);
    EXPECT_NE(colorAt(groupHost.surface(), 199, 0), shadow);
}

TEST(WpanelRecords, KeepTheDesignersBevelsAndBorders)
{
    testing::RecordWriter record;
    record.beginRecord("TWPanel", "Panel")
        .property("BevelInner").ident("bvLowered")
        .property("BorderStyle").ident("bsSingle")
        .property("Locked").boolean(true)
        .end().end();
    TWPanel panel(nullptr);
    ByteViewStream stream(record.bytes());
    readComponentRecord(stream, panel);
    EXPECT_EQ(panel.bevelInner(), TPanelBevel::bvLowered);
    EXPECT_EQ(panel.borderStyle(), TBorderStyle::bsSingle);
    EXPECT_TRUE(panel.locked());
}

}  // namespace
}  // namespace trovelin
