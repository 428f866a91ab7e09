// How the framework's own controls look when a panel is shown: the image's picture placed,
// centred or stretched, the label's caption by alignment, the speed button's raised and sunk
// faces, and the group box's frame.

#include <gtest/gtest.h>

#include <memory>

#include <QImage>

#include "framework/Canvas.h"
#include "framework/GroupBox.h"
#include "framework/Image.h"
#include "framework/Label.h"
#include "framework/SpeedButton.h"
#include "framework/WinControl.h"
#include "streaming/Bitmap.h"
#include "streaming/DibImage.h"
#include "support/GuiApplication.h"
#include "support/PaintedBitmap.h"
#include "support/PixelProbe.h"

namespace trovelin {
namespace {

using testing::colorAt;

constexpr std::uint32_t white = 0xFFFFFF;
constexpr std::uint32_t grey = 0x808080;     // clBtnShadow
constexpr std::uint32_t silver = 0xC0C0C0;   // clBtnFace
constexpr std::uint32_t backdrop = 0x123456;

QImage painted(TControl& control)
{
    QImage image(control.width(), control.height(), QImage::Format_RGB32);
    image.fill(QColor(0x56, 0x34, 0x12));  // colour value 0x123456
    TCanvas canvas(image);
    control.paint(canvas);
    return image;
}

TBitmap redBitmap(int width, int height)
{
    return testing::paintedBitmap(width, height, 24, [](int, int) { return QColor(0xFF, 0, 0); });
}

class ControlPaint : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }
};

TEST_F(ControlPaint, AnImagePlacesItsPictureAtTheTopLeftCentredOrStretched)
{
    TImage image(nullptr);
    image.setWidth(10);
    image.setHeight(8);
    image.picture().bitmap() = redBitmap(4, 2);
    EXPECT_EQ(colorAt(painted(image), 3, 1), 0x0000FFu);
    EXPECT_EQ(colorAt(painted(image), 4, 1), backdrop);
    image.setCenter(true);
    EXPECT_EQ(colorAt(painted(image), 3, 3), 0x0000FFu);
    EXPECT_EQ(colorAt(painted(image), 2, 3), backdrop);
    image.setStretch(true);
    EXPECT_EQ(colorAt(painted(image), 9, 7), 0x0000FFu);
}

TEST_F(ControlPaint, ALabelFillsItsColourAndPlacesItsCaptionByAlignment)
{
    TLabel label(nullptr);
    label.setWidth(80);
    label.setHeight(16);
    label.setColor(0x00FFFF);
    label.setCaption("&Dim");
    label.setAlignment(TAlignment::taRightJustify);
    const QImage image = painted(label);
    EXPECT_EQ(colorAt(image, 0, 0), 0x00FFFFu);
    int darkLeft = 0, darkRight = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 80; ++x) (x < 40 ? darkLeft : darkRight) += colorAt(image, x, y) == 0;
    EXPECT_EQ(darkLeft, 0);
    EXPECT_GT(darkRight, 5);
    label.setTransparent(true);
    EXPECT_EQ(colorAt(painted(label), 0, 0), backdrop);

    // Shown, an auto-sized label takes its caption's size; "&" marks are not counted.
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas measuring(scratch);
    label.adjustBounds(measuring);
    measuring.font().assign(label.font());
    EXPECT_EQ(label.width(), measuring.textWidth("Dim"));
    EXPECT_EQ(label.height(), measuring.textHeight("Dim"));
    label.setAutoSize(false);
    label.setWidth(80);
    label.adjustBounds(measuring);
    EXPECT_EQ(label.width(), 80);
}

TEST_F(ControlPaint, ASpeedButtonIsRaisedSunkOrFlat)
{
    TWinControl panel(nullptr);
    TSpeedButton button(nullptr);
    button.setParent(&panel);
    button.setWidth(20);
    button.setHeight(20);
    QImage up = painted(button);
    EXPECT_EQ(colorAt(up, 0, 0), white);
    EXPECT_EQ(colorAt(up, 19, 19), grey);
    EXPECT_EQ(colorAt(up, 10, 10), silver);
    button.setGroupIndex(1);
    button.setDown(true);
    QImage down = painted(button);
    EXPECT_EQ(colorAt(down, 0, 0), grey);
    EXPECT_EQ(colorAt(down, 19, 19), white);
    button.setDown(false);
    button.setFlat(true);
    EXPECT_EQ(colorAt(painted(button), 0, 0), backdrop);  // flat, and the mouse is elsewhere
}

TEST_F(ControlPaint, AGroupBoxDrawsAnEtchedFrameBelowHalfItsCaption)
{
    TGroupBox box(nullptr);
    box.setWidth(60);
    box.setHeight(40);
    box.setColor(silver);
    const QImage image = painted(box);
    EXPECT_EQ(colorAt(image, 30, 39), white);
    EXPECT_EQ(colorAt(image, 30, 38), grey);
    EXPECT_EQ(colorAt(image, 30, 20), silver);
}

}  // namespace
}  // namespace trovelin
