// The picture preview on a screen of two device pixels per unit: 100% still puts one picture
// pixel on one device pixel, and enlarged pixels are whole squares of device pixels. A program of
// its own, since the scale is fixed when the application starts.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/PicturePreview.h"
#include "app/PreviewView.h"
#include "panelfile/PictureList.h"
#include "streaming/Bitmap.h"
#include "support/GuiApplication.h"
#include "support/PaintedBitmap.h"

namespace trovelin {
namespace {

QColor patternColour(int x, int y) { return QColor(x * 9, y * 11, 255 - x * 5); }


TEST(HighDensityPreview, OnePicturePixelPerDevicePixelAtHundredPercent)
{
    qputenv("QT_SCALE_FACTOR", "2");
    testing::ensureWidgetApplication();
    PictureList pictures;
    pictures.append(testing::paintedBitmap(25, 20, 32, patternColour));
    PicturePreview preview(pictures);
    preview.resize(400, 300);
    preview.showPicture(0);
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    QWidget& area = *preview.view().viewport();
    ASSERT_EQ(area.devicePixelRatioF(), 2.0);

    for (int zoom : {1, 3}) {
        preview.view().setZoom(zoom);
        const QImage image = area.grab().toImage();
        ASSERT_EQ(image.size(), area.size() * 2);
        const QPoint origin((image.width() - 25 * zoom) / 2, (image.height() - 20 * zoom) / 2);
        for (int y = 0; y < 20 * zoom; ++y)
            for (int x = 0; x < 25 * zoom; ++x)
                ASSERT_EQ(image.pixelColor(origin + QPoint(x, y)), patternColour(x / zoom, y / zoom))
                    << zoom << ": " << x << "," << y;
        EXPECT_NE(image.pixelColor(origin + QPoint(25 * zoom, 0)), patternColour(24, 0));
    }
}

}  // namespace
}  // namespace trovelin
