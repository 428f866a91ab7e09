// The picture preview: exact pixels at 100%, sharp squares when enlarged, fit-to-window, zoom by
// wheel and keys, stepping through the list, following a reload, and the checkerboard behind
// transparent pixels.

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "app/PicturePreview.h"
#include "app/PreviewView.h"
#include "panelfile/PictureList.h"
#include "streaming/Bitmap.h"
#include "support/GuiApplication.h"
#include "support/PaintedBitmap.h"

namespace trovelin {
namespace {

QColor patternColour(int x, int y)
{
    return QColor((x * 5) % 256, (y * 7) % 256, ((x + y) * 3) % 256);
}

// A 24-bit picture whose every pixel differs from its neighbours; `colourOf` may override it.
TBitmap patterned(int width, int height, const std::function<QColor(int, int)>& colourOf = patternColour)
{
    return testing::paintedBitmap(width, height, 24, colourOf);
}

class Preview : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureWidgetApplication(); }

    void open(int index)
    {
        preview.resize(400, 300);
        preview.showPicture(index);
        preview.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    }
    QImage shown() { return preview.view().viewport()->grab().toImage(); }
    QSize viewSize() { return preview.view().viewport()->size(); }
    // Where a picture of `size` at `zoom` starts while it fits the view.
    QPoint centredOrigin(QSize size, int zoom)
    {
        return {(viewSize().width() - size.width() * zoom) / 2, (viewSize().height() - size.height() * zoom) / 2};
    }

    PictureList pictures;
    PicturePreview preview{pictures, [](int index) { return index == 1 ? QString("show.kvr, Glyph") : QString(); }};
};

TEST_F(Preview, ShowsEveryPixelOnceAtHundredPercentAndAsSharpSquaresWhenEnlarged)
{
    pictures.append(patterned(40, 30));
    open(0);
    EXPECT_EQ(preview.view().zoom(), 1);
    QImage image = shown();
    QPoint origin = centredOrigin({40, 30}, 1);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(image.pixelColor(origin + QPoint(x, y)), patternColour(x, y)) << x << "," << y;
    EXPECT_NE(image.pixelColor(origin - QPoint(1, 1)), patternColour(0, 0));

    preview.view().setZoom(4);
    image = shown();
    origin = centredOrigin({40, 30}, 4);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            ASSERT_EQ(image.pixelColor(origin + QPoint(x, y)), patternColour(x / 4, y / 4)) << x << "," << y;
    EXPECT_EQ(preview.statusText(), "Picture 1 of 1  \u00B7  40 x 30  \u00B7  24 bits per pixel  \u00B7  400%");
}

TEST_F(Preview, FitsLargePicturesIntoTheWindowAndGrowsSmallOnesByWholeFactors)
{
    pictures.append(patterned(1000, 500));
    pictures.append(patterned(16, 16));
    open(0);
    PreviewView& view = preview.view();
    view.setFitToWindow(true);
    EXPECT_TRUE(view.fitsWindow());
    EXPECT_DOUBLE_EQ(view.zoom(), std::min(viewSize().width() / 1000.0, viewSize().height() / 500.0));
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);

    // Fitting stays on across pictures and window sizes.
    preview.showNext();
    EXPECT_EQ(view.zoom(), std::floor(std::min(viewSize().width(), viewSize().height()) / 16.0));
    preview.resize(600, 500);
    QApplication::processEvents();
    EXPECT_EQ(view.zoom(), std::floor(std::min(viewSize().width(), viewSize().height()) / 16.0));
    const int zoom = static_cast<int>(view.zoom());
    const QImage image = shown();
    const QPoint origin = centredOrigin({16, 16}, zoom);
    EXPECT_EQ(image.pixelColor(origin + QPoint(zoom * 16 - 1, zoom * 16 - 1)), patternColour(15, 15));

    QTest::keyClick(&preview, Qt::Key_1);
    EXPECT_FALSE(view.fitsWindow());
    EXPECT_EQ(view.zoom(), 1);
    QTest::keyClick(&preview, Qt::Key_F);
    EXPECT_TRUE(view.fitsWindow());
}

TEST_F(Preview, TheWheelZoomsAboutThePointerAndCtrlPlusMinusStep)
{
    pictures.append(patterned(1000, 500));
    open(0);
    PreviewView& view = preview.view();
    auto wheel = [&view](QPoint at, int angle) {
        QWheelEvent event(at, view.viewport()->mapToGlobal(at), {}, {0, angle}, Qt::NoButton, {}, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(view.viewport(), &event);
    };
    const QPoint pointer(123, 77);
    const QColor under = shown().pixelColor(pointer);
    wheel(pointer, 120);
    EXPECT_EQ(view.zoom(), 2);
    EXPECT_EQ(shown().pixelColor(pointer), under);
    wheel(pointer, 60);  // half a notch: nothing yet
    EXPECT_EQ(view.zoom(), 2);
    wheel(pointer, 60);
    EXPECT_EQ(view.zoom(), 3);
    wheel(pointer, -360);
    EXPECT_DOUBLE_EQ(view.zoom(), 2.0 / 3);

    QTest::keyClick(&preview, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(view.zoom(), 1);
    QTest::keyClick(&preview, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(view.zoom(), 2);
    QTest::keyClick(&preview, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(&preview, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(view.zoom(), 2.0 / 3);
    // Reduced to 667 x 333, the picture still covers the whole view.
    const QImage image = shown();
    EXPECT_NE(image.pixelColor(0, 0), QColor(96, 96, 96));
    EXPECT_NE(image.pixelColor(viewSize().width() - 1, viewSize().height() - 1), QColor(96, 96, 96));
    for (int i = 0; i < 30; ++i) QTest::keyClick(&preview, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(view.zoom(), 1.0 / 16);
    for (int i = 0; i < 30; ++i) QTest::keyClick(&preview, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(view.zoom(), 32);
}

TEST_F(Preview, LeftAndRightStepThroughTheListAndTheStatusSaysWhereThePictureCameFrom)
{
    pictures.append(patterned(40, 30));
    pictures.append(patterned(16, 8));
    pictures.append(TBitmap{});
    open(0);
    QTest::keyClick(&preview, Qt::Key_Left);
    EXPECT_EQ(preview.index(), 0);
    QTest::keyClick(&preview.view(), Qt::Key_Right);  // from the picture area too
    EXPECT_EQ(preview.index(), 1);
    EXPECT_EQ(preview.statusText(),
              "Picture 2 of 3  \u00B7  16 x 8  \u00B7  24 bits per pixel  \u00B7  100%  \u00B7  show.kvr, Glyph");
    EXPECT_EQ(preview.windowTitle(), "Picture 2 of 3");
    QTest::keyClick(&preview, Qt::Key_Right);
    QTest::keyClick(&preview, Qt::Key_Right);
    EXPECT_EQ(preview.index(), 2);
    EXPECT_EQ(preview.statusText(), "Picture 3 of 3  \u00B7  empty");
    EXPECT_EQ(shown().pixelColor(viewSize().width() / 2, viewSize().height() / 2), QColor(96, 96, 96));
}

TEST_F(Preview, AReloadShowsThePictureNowInPlaceOrClosesWhenThereIsNone)
{
    pictures.append(patterned(40, 30));
    pictures.append(patterned(40, 30));
    open(1);
    preview.view().setZoom(4);

    pictures.clear();
    pictures.append(patterned(8, 8));
    pictures.append(patterned(20, 10, [](int, int) { return QColor(0, 200, 0); }));
    pictures.append(patterned(8, 8));
    preview.picturesChanged();
    EXPECT_TRUE(preview.isVisible());
    EXPECT_EQ(preview.index(), 1);
    EXPECT_EQ(preview.view().zoom(), 4);  // the reader's zoom stays
    EXPECT_EQ(preview.statusText().left(30), "Picture 2 of 3  \u00B7  20 x 10  \u00B7 ");
    EXPECT_EQ(shown().pixelColor(viewSize().width() / 2, viewSize().height() / 2), QColor(0, 200, 0));

    pictures.clear();
    pictures.append(patterned(8, 8));
    preview.picturesChanged();
    EXPECT_FALSE(preview.isVisible());
    EXPECT_FALSE(preview.view().hasImage());

    // Opened again, it starts at 100%.
    open(0);
    EXPECT_EQ(preview.view().zoom(), 1);
}

TEST_F(Preview, TransparentPixelsShowACheckerboardAndOpaqueOnesDoNot)
{
    // The left half has the bottom-left pixel's colour, which a transparent bitmap leaves out.
    const auto halves = [](int x, int) { return x < 16 ? QColor(255, 0, 255) : QColor(0, 0, 128); };
    TBitmap glyph = patterned(32, 32, halves);
    glyph.setTransparent(true);
    pictures.append(glyph);
    pictures.append(patterned(32, 32, halves));
    open(0);
    QImage image = shown();
    QPoint origin = centredOrigin({32, 32}, 1);
    std::set<QRgb> behind;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x) behind.insert(image.pixel(origin + QPoint(x, y)));
    EXPECT_EQ(behind, (std::set<QRgb>{qRgb(255, 255, 255), qRgb(204, 204, 204)}));
    EXPECT_EQ(image.pixelColor(origin + QPoint(20, 5)), QColor(0, 0, 128));

    preview.showNext();
    image = shown();
    EXPECT_EQ(image.pixelColor(origin + QPoint(3, 5)), QColor(255, 0, 255));
}

}  // namespace
}  // namespace trovelin
