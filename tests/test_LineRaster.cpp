// Line pixels: a line cut to a visible window keeps exactly the pixels of the whole line.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "framework/LineRaster.h"

namespace trovelin {
namespace {

struct Traced {
    std::vector<TPoint> pixels;
    std::int64_t skipped = 0;
};

Traced trace(TPoint from, TPoint to, const TRect& visible)
{
    Traced result;
    forEachLinePixel(
        from, to, visible, [&result](int x, int y) { result.pixels.push_back({x, y}); },
        [&result](std::int64_t pixels) { result.skipped += pixels; });
    return result;
}

TEST(LineRaster, AWindowKeepsThePixelsOfTheWholeLineAlongItsMajorAxis)
{
    const TRect everything{-1000, -1000, 1000, 1000};
    const TRect window{-3, 2, 9, 6};
    int windowsWithPixels = 0;
    for (int x1 = -40; x1 <= 40; x1 += 9)
        for (int y1 = -40; y1 <= 40; y1 += 11)
            for (int x2 = -40; x2 <= 40; x2 += 13)
                for (int y2 = -40; y2 <= 40; y2 += 7) {
                    const TPoint from{x1, y1};
                    const TPoint to{x2, y2};
                    const bool xMajor = std::abs(x2 - x1) >= std::abs(y2 - y1);
                    const Traced whole = trace(from, to, everything);
                    const Traced cut = trace(from, to, window);
                    std::vector<TPoint> expected;
                    std::int64_t before = -1;
                    for (std::size_t i = 0; i < whole.pixels.size(); ++i) {
                        const TPoint p = whole.pixels[i];
                        const int along = xMajor ? p.x : p.y;
                        if (along >= (xMajor ? window.left : window.top) && along < (xMajor ? window.right : window.bottom)) {
                            if (before < 0) before = static_cast<std::int64_t>(i);
                            expected.push_back(p);
                        }
                    }
                    ASSERT_EQ(cut.pixels, expected) << x1 << "," << y1 << " -> " << x2 << "," << y2;
                    ASSERT_EQ(cut.skipped + static_cast<std::int64_t>(cut.pixels.size()),
                              static_cast<std::int64_t>(whole.pixels.size()));
                    windowsWithPixels += !expected.empty();
                }
    EXPECT_GT(windowsWithPixels, 100);
}

TEST(LineRaster, DashPatternsSkipWholePeriods)
{
    DashPattern skipped(TPenStyle::psDashDot);
    DashPattern stepped(TPenStyle::psDashDot);
    skipped.skip(24 * 1000000 + 10);
    for (int i = 0; i < 10; ++i) stepped.nextIsDash();
    for (int i = 0; i < 48; ++i) ASSERT_EQ(skipped.nextIsDash(), stepped.nextIsDash()) << i;
}

}  // namespace
}  // namespace trovelin
