// Decoded bitmaps as Qt images: shared pixel memory where the layouts agree, the same colours
// as the bitmap everywhere.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include <QPainter>

#include "framework/BitmapImage.h"
#include "framework/Canvas.h"
#include "streaming/Stream.h"
#include "support/BmpWriter.h"
#include "support/GuiApplication.h"

namespace trovelin {
namespace {

// A width x height image whose bytes follow a fixed sequence, so that every pixel differs
// from its neighbours; indexed images get a colour table of `tableSize` entries.
std::shared_ptr<DibImage> patternedImage(int width, int height, int bitsPerPixel, ColorMasks masks = {},
                                         std::size_t tableSize = 0)
{
    auto image = std::make_shared<DibImage>(width, height, bitsPerPixel);
    for (std::size_t i = 0; i < image->byteCount(); ++i) image->bits()[i] = static_cast<std::uint8_t>(i * 37 + 11);
    image->masks = masks;
    for (std::size_t i = 0; i < tableSize; ++i)
        image->colorTable.push_back({static_cast<std::uint8_t>(i * 13), static_cast<std::uint8_t>(255 - i),
                                     static_cast<std::uint8_t>(i * 7 + 1), 0});
    return image;
}

std::uint32_t colorValue(QRgb color)
{
    return static_cast<std::uint32_t>(qRed(color) | (qGreen(color) << 8) | (qBlue(color) << 16));
}

struct FormCase {
    std::string name;
    std::shared_ptr<DibImage> image;
    bool shared;
};

TEST(BitmapImage, EveryLayoutGivesTheBitmapsColoursAndSharesWhereQtHasIt)
{
    testing::ensureGuiApplication();
    const FormCase cases[] = {
        {"1 bit", patternedImage(13, 3, 1, {}, 2), true},
        {"1 bit, short table", patternedImage(13, 3, 1, {}, 1), true},
        {"4 bits", patternedImage(7, 3, 4, {}, 16), false},
        {"8 bits", patternedImage(5, 4, 8, {}, 256), true},
        {"8 bits, short table", patternedImage(5, 4, 8, {}, 20), true},
        {"16 bits", patternedImage(5, 3, 16), true},
        {"16 bits 5-5-5 masks", patternedImage(5, 3, 16, {0x7C00, 0x03E0, 0x001F}), true},
        {"16 bits 5-6-5 masks", patternedImage(5, 3, 16, {0xF800, 0x07E0, 0x001F}), true},
        {"16 bits 4-4-4 masks", patternedImage(5, 3, 16, {0x0F00, 0x00F0, 0x000F}), false},
        {"24 bits", patternedImage(5, 3, 24), true},
        {"32 bits", patternedImage(5, 3, 32), true},
        {"32 bits 8-8-8 masks", patternedImage(5, 3, 32, {0xFF0000, 0x00FF00, 0x0000FF}), true},
        {"32 bits 10-10-10 masks", patternedImage(5, 3, 32, {0x3FF00000, 0x000FFC00, 0x000003FF}), false},
    };
    for (const FormCase& c : cases) {
        const QImage image = toQImage(c.image);
        ASSERT_EQ(image.size(), QSize(c.image->width(), c.image->height())) << c.name;
        EXPECT_EQ(image.constBits() == c.image->bits(), c.shared) << c.name;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ASSERT_EQ(colorValue(image.pixel(x, y)), c.image->pixel(x, y)) << c.name << " at " << x << "," << y;
    }
}

TEST(BitmapImage, ASharedImageKeepsTheBitmapAlive)
{
    auto image = patternedImage(4, 4, 24);
    const std::weak_ptr<DibImage> watch = image;
    QImage shared = toQImage(std::shared_ptr<const DibImage>(std::move(image)));
    EXPECT_FALSE(watch.expired());
    QImage copy = shared;
    shared = QImage();
    EXPECT_FALSE(watch.expired());
    copy = QImage();
    EXPECT_TRUE(watch.expired());
}

TEST(BitmapImage, NoImageGivesANullImage)
{
    EXPECT_TRUE(toQImage(std::shared_ptr<const DibImage>()).isNull());
    EXPECT_TRUE(toDrawableImage(TBitmap()).isNull());
}

TEST(BitmapImage, ThirtyTwoBitPixelsDrawOpaqueWhateverTheirUnusedByte)
{
    testing::ensureGuiApplication();
    auto image = std::make_shared<DibImage>(2, 1, 32);
    const std::uint8_t pixels[] = {0x10, 0x20, 0x30, 0x00, 0x40, 0x50, 0x60, 0x7F};  // blue, green, red, unused
    std::copy(std::begin(pixels), std::end(pixels), image->bits());
    TBitmap bitmap;
    bitmap.setImage(image);

    for (QImage::Format format : {QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32}) {
        QImage target(2, 1, format);
        target.fill(Qt::transparent);
        {
            TCanvas canvas(target);
            canvas.draw(0, 0, bitmap);
        }
        // Drawn on again, an RGB32 target shows whether the unused byte leaked in as alpha.
        QImage onward(2, 1, QImage::Format_ARGB32);
        onward.fill(Qt::transparent);
        QPainter(&onward).drawImage(0, 0, target);
        for (const QImage& result : {target, onward}) {
            EXPECT_EQ(result.pixel(0, 0), qRgb(0x30, 0x20, 0x10)) << format;
            EXPECT_EQ(result.pixel(1, 0), qRgb(0x60, 0x50, 0x40)) << format;
        }
    }
}

// Decoded 32-bit pictures are made opaque once, so that the picture grid and the controls draw
// them straight from the bitmap's memory on every paint. Bit fields that reach into the high byte
// keep their bytes.
TEST(BitmapImage, DecodedThirtyTwoBitPicturesDrawWithoutACopy)
{
    testing::ensureGuiApplication();
    auto decode = [](const testing::BmpContent& content) {
        const std::vector<std::uint8_t> payload = testing::bitmapPayload(testing::makeBmp(content));
        ByteViewStream stream(payload);
        TBitmap bitmap;
        bitmap.readData(stream);
        return bitmap;
    };
    testing::BmpContent content;
    content.width = 3;
    content.height = 2;
    content.bitsPerPixel = 32;
    content.value = [](int x, int y) { return 0x12000000u | static_cast<std::uint32_t>(x * 40 + y * 90); };
    for (const ColorMasks masks : {ColorMasks{}, ColorMasks{0xFF0000, 0x00FF00, 0x0000FF}}) {
        content.compression = masks == ColorMasks{} ? BitmapCompression::None : BitmapCompression::BitFields;
        content.masks = masks;
        const TBitmap bitmap = decode(content);
        EXPECT_TRUE(bitmap.sharedImage()->highBytesOpaque);
        const QImage drawable = toDrawableImage(bitmap);
        EXPECT_EQ(drawable.constBits(), bitmap.sharedImage()->bits());
        EXPECT_EQ(drawable.pixel(2, 1), qRgb(0, 0, 2 * 40 + 90));
    }

    content.compression = BitmapCompression::BitFields;
    content.masks = {0xFF000000, 0x00FF0000, 0x0000FF00};
    const TBitmap highRed = decode(content);
    EXPECT_FALSE(highRed.sharedImage()->highBytesOpaque);
    EXPECT_EQ(highRed.sharedImage()->pixel(0, 0), 0x12u);  // red 0x12 from the high byte
}

}  // namespace
}  // namespace trovelin
