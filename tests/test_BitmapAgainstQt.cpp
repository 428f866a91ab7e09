// Differential test: every accepted stored form, with seeded random pixels and widths that
// exercise row padding and sub-byte pixels, decodes to the same colours as Qt's BMP reader.

#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "streaming/Bitmap.h"
#include "streaming/Stream.h"
#include "support/BmpForms.h"

namespace trovelin {
namespace {

using namespace testing;

// The channel precision of a form: Qt widens 4- to 6-bit channels by shifting alone, without
// repeating the top bits, so those forms compare at their own precision.
int significantBits(const BmpForm& form)
{
    if (form.bitsPerPixel != 16) return 8;
    return form.masks == ColorMasks{} ? 5 : std::popcount(form.masks.blue);
}

TEST(BitmapAgainstQt, EveryAcceptedFormDecodesLikeQtsReader)
{
    std::mt19937 random(20261207);
    for (const BmpForm& form : acceptedBmpForms()) {
        for (int width : {1, 3, 5, 7, 31, 33}) {
            const int height = 5;
            const std::vector<std::uint8_t> bmp = makeBmp(randomBmpContent(form, width, height, random));

            const auto payload = bitmapPayload(bmp);
            ByteViewStream stream(payload);
            TBitmap bitmap;
            bitmap.readData(stream);
            QImage reference;
            ASSERT_TRUE(reference.loadFromData(bmp.data(), static_cast<int>(bmp.size()), "BMP")) << form.name;
            ASSERT_EQ(bitmap.width(), reference.width());
            ASSERT_EQ(bitmap.height(), reference.height());

            const int shift = 8 - significantBits(form);
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const std::uint32_t ours = bitmap.image()->pixel(x, y);
                    const QRgb theirs = reference.pixel(x, y);
                    const std::uint32_t theirsValue = static_cast<std::uint32_t>(
                        qRed(theirs) | (qGreen(theirs) << 8) | (qBlue(theirs) << 16));
                    auto reduce = [shift](std::uint32_t c) {
                        return ((c & 0xFF) >> shift) | ((((c >> 8) & 0xFF) >> shift) << 8) |
                               ((((c >> 16) & 0xFF) >> shift) << 16);
                    };
                    ASSERT_EQ(reduce(ours), reduce(theirsValue))
                        << form.name << ", width " << width << ", pixel " << x << "," << y;
                }
            }
        }
    }
}

}  // namespace
}  // namespace trovelin
