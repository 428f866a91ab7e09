// The canvas: pixel conventions of lines, figures, text and bitmaps, painted into small images.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include <QPicture>
#include <QRegion>

#include "framework/Canvas.h"
#include "streaming/Bitmap.h"
#include "support/GuiApplication.h"
#include "support/PixelProbe.h"

namespace trovelin {
namespace {

using Pixels = std::set<std::pair<int, int>>;

constexpr std::uint32_t background = 0x336699;
constexpr std::uint32_t red = 0x0000FF;
constexpr std::uint32_t blue = 0xFF0000;

class CanvasTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }

    CanvasTest() { image.fill(toQRgb(background)); }

    // Clears the image and runs `steps` on a canvas over it.
    template <class Steps> void paint(Steps&& steps)
    {
        image.fill(toQRgb(background));
        TCanvas canvas(image);
        steps(canvas);
    }

    static QRgb toQRgb(std::uint32_t value) { return qRgb(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

    std::uint32_t at(int x, int y) const
    {
        const QRgb color = image.pixel(x, y);
        return static_cast<std::uint32_t>(qRed(color) | (qGreen(color) << 8) | (qBlue(color) << 16));
    }

    Pixels pixelsWhere(auto&& keep) const
    {
        Pixels result;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (keep(at(x, y))) result.insert({x, y});
        return result;
    }
    Pixels pixelsOf(std::uint32_t color) const
    {
        return pixelsWhere([color](std::uint32_t c) { return c == color; });
    }
    Pixels paintedPixels() const
    {
        return pixelsWhere([](std::uint32_t c) { return c != background; });
    }

    // Row y from x = 0 as 'X' for the pen, 'o' for the brush and '.' for untouched pixels.
    std::string row(int y, int width) const
    {
        std::string result;
        for (int x = 0; x < width; ++x) result += at(x, y) == red ? 'X' : at(x, y) == background ? '.' : 'o';
        return result;
    }

    QImage image{16, 16, QImage::Format_RGB32};
};

struct LineCase {
    TPoint from;
    TPoint to;
    Pixels expected;
};

TEST_F(CanvasTest, LinesCoverTheStartAndStopBeforeTheEnd)
{
    const LineCase cases[] = {
        {{2, 5}, {6, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
        {{6, 5}, {2, 5}, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}},
        {{3, 1}, {3, 4}, {{3, 1}, {3, 2}, {3, 3}}},
        {{3, 4}, {3, 1}, {{3, 4}, {3, 3}, {3, 2}}},
        {{1, 1}, {5, 5}, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        {{5, 1}, {1, 5}, {{5, 1}, {4, 2}, {3, 3}, {2, 4}}},
        {{0, 0}, {4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {{2, 0}, {3, 6}, {{2, 0}, {2, 1}, {2, 2}, {2, 3}, {3, 4}, {3, 5}}},
        {{7, 7}, {7, 7}, {}},
    };
    for (const LineCase& c : cases) {
        paint([&](TCanvas& canvas) {
            canvas.pen().setColor(clRed);
            canvas.moveTo(c.from.x, c.from.y);
            canvas.lineTo(c.to.x, c.to.y);
            EXPECT_EQ(canvas.penPos(), c.to);
        });
        EXPECT_EQ(paintedPixels(), c.expected) << c.from.x << "," << c.from.y << " -> " << c.to.x << "," << c.to.y;
    }
    // Consecutive lines join without gaps.
    paint([](TCanvas& canvas) {
        canvas.pen().setColor(clRed);
        canvas.moveTo(1, 1);
        canvas.lineTo(5, 1);
        canvas.lineTo(5, 4);
        canvas.lineTo(1, 1);
    });
    EXPECT_EQ(pixelsOf(red), (Pixels{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {5, 2}, {5, 3}, {5, 4}, {4, 3}, {3, 3}, {2, 2}}));
}

struct PatternCase {
    TPenStyle style;
    std::string solidBrush;
    std::string clearBrush;
};

TEST_F(CanvasTest, StyledPensRepeatTheirPatternAndFillGapsWithASolidBrush)
{
    const PatternCase cases[] = {
        {TPenStyle::psDot, "XXXoooXXXoooXXXoooXXXoooXXXooo.", "XXX...XXX...XXX...XXX...XXX...."},
        {TPenStyle::psDash, "XXXXXXXXXXXXXXXXXXooooooXXXXXX.", "XXXXXXXXXXXXXXXXXX......XXXXXX."},
        {TPenStyle::psDashDot, "XXXXXXXXXooooooXXXooooooXXXXXX.", "XXXXXXXXX......XXX......XXXXXX."},
        {TPenStyle::psDashDotDot, "XXXXXXXXXoooXXXoooXXXoooXXXXXX.", "XXXXXXXXX...XXX...XXX...XXXXXX."},
        {TPenStyle::psSolid, "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXX.", "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXX."},
        {TPenStyle::psClear, "...............................", "..............................."},
    };
    image = QImage(31, 2, QImage::Format_RGB32);
    for (const PatternCase& c : cases) {
        paint([&](TCanvas& canvas) {
            canvas.pen().setColor(clRed);
            canvas.pen().setStyle(c.style);
            canvas.brush().setColor(clBlue);
            canvas.moveTo(0, 0);
            canvas.lineTo(30, 0);
            canvas.brush().setStyle(TBrushStyle::bsClear);
            canvas.moveTo(0, 1);
            canvas.lineTo(30, 1);
        });
        EXPECT_EQ(row(0, 31), c.solidBrush) << static_cast<int>(c.style);
        EXPECT_EQ(row(1, 31), c.clearBrush) << static_cast<int>(c.style);
    }
    // The pattern runs on across lines until the next move.
    paint([](TCanvas& canvas) {
        canvas.pen().setColor(clRed);
        canvas.pen().setStyle(TPenStyle::psDot);
        canvas.brush().setStyle(TBrushStyle::bsClear);
        canvas.moveTo(0, 0);
        canvas.lineTo(2, 0);
        canvas.lineTo(10, 0);
        canvas.moveTo(0, 1);
        canvas.lineTo(4, 1);
        canvas.moveTo(4, 1);
        canvas.lineTo(10, 1);
    });
    EXPECT_EQ(row(0, 11), "XXX...XXX..");
    EXPECT_EQ(row(1, 11), "XXX.XXX....");
}

TEST_F(CanvasTest, LinesFarBeyondTheImageKeepTheirPixelsAndPattern)
{
    // The same dotted lines on an image that holds them whole and on this small one.
    QImage whole(400, 200, QImage::Format_RGB32);
    whole.fill(toQRgb(background));
    auto drawLines = [](TCanvas& canvas) {
        canvas.pen().setColor(clRed);
        canvas.pen().setStyle(TPenStyle::psDot);
        canvas.brush().setColor(clBlue);
        canvas.moveTo(-150, -60);
        canvas.lineTo(120, 45);
        canvas.moveTo(13, -90);
        canvas.lineTo(-7, 80);
        canvas.moveTo(-40, -20);  // half-way points where the image begins
        canvas.lineTo(40, 20);
    };
    {
        QPainter painter(&whole);
        painter.translate(200, 100);
        TCanvas canvas(painter);
        drawLines(canvas);
    }
    paint(drawLines);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(image.pixel(x, y), whole.pixel(x + 200, y + 100)) << x << "," << y;
    EXPECT_GT(paintedPixels().size(), 16u);

    // Four thousand million pixels long: only the visible part costs time.
    paint([](TCanvas& canvas) {
        canvas.pen().setColor(clRed);
        canvas.pen().setStyle(TPenStyle::psDot);
        canvas.brush().setStyle(TBrushStyle::bsClear);
        canvas.moveTo(-2000000000, 5);
        canvas.lineTo(2000000000, 5);
    });
    EXPECT_EQ(row(5, 16), "X...XXX...XXX...");  // pixel 0 is the 2000000000th, 2 past a whole period
}

TEST_F(CanvasTest, RectanglesExcludeTheirRightAndBottomEdges)
{
    paint([](TCanvas& canvas) {
        canvas.pen().setColor(clRed);
        canvas.brush().setColor(clBlue);
        canvas.rectangle(2, 3, 10, 8);
    });
    for (auto [x, y] : Pixels{{2, 3}, {9, 3}, {2, 7}, {9, 7}, {5, 3}, {5, 7}, {2, 5}, {9, 5}}) EXPECT_EQ(at(x, y), red);
    EXPECT_EQ(at(3, 4), blue);
    EXPECT_EQ(at(8, 6), blue);
    EXPECT_EQ(paintedPixels().size(), 8u * 5u);

    // Without a pen the fill covers the same area; a clear brush leaves the inside.
    paint([](TCanvas& canvas) {
        canvas.pen().setStyle(TPenStyle::psClear);
        canvas.brush().setColor(clBlue);
        canvas.rectangle(9, 8, 2, 3);  // corners in either order
        canvas.pen().setStyle(TPenStyle::psSolid);
        canvas.pen().setColor(clRed);
        canvas.brush().setStyle(TBrushStyle::bsClear);
        canvas.rectangle(11, 11, 15, 15);
    });
    EXPECT_EQ(pixelsOf(blue).size(), 7u * 5u);
    EXPECT_EQ(at(2, 3), blue);
    EXPECT_EQ(at(8, 7), blue);
    EXPECT_EQ(pixelsOf(red).size(), 12u);
    EXPECT_EQ(at(12, 12), background);

    paint([](TCanvas& canvas) {
        canvas.brush().setColor(clBlue);
        canvas.fillRect({2, 2, 5, 4});
        canvas.brush().setColor(clRed);
        canvas.frameRect({8, 8, 12, 13});
    });
    EXPECT_EQ(pixelsOf(blue), (Pixels{{2, 2}, {3, 2}, {4, 2}, {2, 3}, {3, 3}, {4, 3}}));
    EXPECT_EQ(pixelsOf(red).size(), 14u);
    EXPECT_EQ(at(11, 12), red);

    // A hatched brush draws lines of its colour inside the rectangle and leaves the rest.
    paint([](TCanvas& canvas) {
        canvas.brush().setColor(clBlue);
        canvas.brush().setStyle(TBrushStyle::bsHorizontal);
        canvas.fillRect({0, 0, 16, 16});
    });
    EXPECT_GT(pixelsOf(blue).size(), 16u);
    EXPECT_LT(pixelsOf(blue).size(), 16u * 8u);
    EXPECT_EQ(pixelsOf(blue).size(), paintedPixels().size());
}

TEST_F(CanvasTest, EllipsesStayInsideTheirBoxAndTouchEverySide)
{
    const TRect boxes[] = {{0, 0, 16, 16}, {1, 2, 14, 9}, {3, 0, 5, 16}, {0, 6, 16, 8}, {4, 4, 7, 7}, {5, 5, 6, 6}};
    for (const TRect& box : boxes) {
        paint([&](TCanvas& canvas) {
            canvas.pen().setColor(clRed);
            canvas.brush().setColor(clBlue);
            canvas.ellipse(box.left, box.top, box.right, box.bottom);
        });
        const Pixels painted = paintedPixels();
        bool touches[4] = {};
        for (auto [x, y] : painted) {
            EXPECT_TRUE(x >= box.left && x < box.right && y >= box.top && y < box.bottom) << x << "," << y;
            // Mirror images across both axes of the box are painted too.
            EXPECT_TRUE(painted.contains({box.left + box.right - 1 - x, y}));
            EXPECT_TRUE(painted.contains({x, box.top + box.bottom - 1 - y}));
            touches[0] |= x == box.left;
            touches[1] |= x == box.right - 1;
            touches[2] |= y == box.top;
            touches[3] |= y == box.bottom - 1;
        }
        EXPECT_TRUE(touches[0] && touches[1] && touches[2] && touches[3]) << box.left << "," << box.top;
        EXPECT_EQ(at(box.left, (box.top + box.bottom) / 2), red);
        if (box.width() > 2 && box.height() > 2) {
            EXPECT_EQ(at((box.left + box.right) / 2, (box.top + box.bottom) / 2), blue);
        }
    }
}

TEST_F(CanvasTest, AnEllipseOutlineIsClosedAndThin)
{
    for (const TRect& box : {TRect{0, 0, 16, 12}, TRect{1, 1, 15, 15}}) {
        paint([&](TCanvas& canvas) {
            canvas.pen().setColor(clRed);
            canvas.brush().setStyle(TBrushStyle::bsClear);
            canvas.ellipse(box.left, box.top, box.right, box.bottom);
        });
        // Every outline pixel has exactly two outline neighbours: the border closes and never doubles.
        const Pixels outline = pixelsOf(red);
        for (auto [x, y] : outline) {
            int neighbours = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if ((dx || dy) && outline.contains({x + dx, y + dy})) ++neighbours;
            EXPECT_EQ(neighbours, 2) << x << "," << y;
        }
        EXPECT_EQ(at(8, 6), background);
    }
}

TEST_F(CanvasTest, ArcsRunCounterClockwiseFromTheStartRayToTheEndRay)
{
    auto paintArc = [this](TPoint start, TPoint end) {
        paint([&](TCanvas& canvas) {
            canvas.pen().setColor(clRed);
            canvas.arc(0, 0, 16, 16, start.x, start.y, end.x, end.y);
        });
        std::set<int> quadrants;  // 0 top right, 1 top left, 2 bottom left, 3 bottom right
        for (auto [x, y] : paintedPixels()) quadrants.insert(y < 8 ? (x >= 8 ? 0 : 1) : (x < 8 ? 2 : 3));
        return quadrants;
    };
    EXPECT_EQ(paintArc({20, 8}, {8, -20}), (std::set<int>{0}));  // from the right up to the top
    EXPECT_EQ(at(15, 7), red);
    EXPECT_EQ(at(8, 0), red);

    EXPECT_EQ(paintArc({8, -20}, {20, 8}), (std::set<int>{1, 2, 3}));  // from the top round the other way
    EXPECT_EQ(at(0, 8), red);
    EXPECT_EQ(at(8, 15), red);

    paintArc({0, 15}, {0, 15});  // equal rays: the whole ellipse
    const Pixels whole = paintedPixels();
    paint([](TCanvas& canvas) {
        canvas.pen().setColor(clRed);
        canvas.brush().setStyle(TBrushStyle::bsClear);
        canvas.ellipse(0, 0, 16, 16);
    });
    EXPECT_EQ(whole, paintedPixels());
}

TEST_F(CanvasTest, PolygonsFillAlternatelyAndCloseTheirOutline)
{
    paint([](TCanvas& canvas) {
        canvas.pen().setColor(clRed);
        canvas.brush().setColor(clBlue);
        const TPoint triangle[] = {{2, 2}, {12, 2}, {2, 12}};
        canvas.polygon(triangle);
    });
    for (auto [x, y] : Pixels{{2, 2}, {12, 2}, {2, 12}, {7, 7}, {2, 7}, {7, 2}}) EXPECT_EQ(at(x, y), red) << x << "," << y;
    EXPECT_EQ(at(4, 4), blue);
    EXPECT_EQ(at(9, 9), background);

    // A five-pointed star drawn in one stroke: its centre is crossed twice and stays unfilled.
    paint([](TCanvas& canvas) {
        canvas.pen().setStyle(TPenStyle::psClear);
        canvas.brush().setColor(clBlue);
        const TPoint star[] = {{8, 0}, {13, 15}, {0, 5}, {16, 5}, {3, 15}};
        canvas.polygon(star);
    });
    EXPECT_EQ(at(8, 8), background);
    EXPECT_EQ(at(8, 3), blue);

    // A polyline leaves out its last point and the pen position.
    paint([](TCanvas& canvas) {
        canvas.pen().setColor(clRed);
        canvas.moveTo(9, 9);
        const TPoint points[] = {{1, 1}, {5, 1}, {5, 5}};
        canvas.polyline(points);
        EXPECT_EQ(canvas.penPos(), (TPoint{9, 9}));
    });
    EXPECT_EQ(paintedPixels(), (Pixels{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {5, 2}, {5, 3}, {5, 4}}));
}

TEST_F(CanvasTest, WidePensDrawSolidWithRoundEndsAndInsideFrameKeepsToTheBox)
{
    paint([](TCanvas& canvas) {
        canvas.pen().setColor(clRed);
        canvas.pen().setWidth(3);
        canvas.pen().setStyle(TPenStyle::psDot);
        canvas.moveTo(3, 3);
        canvas.lineTo(12, 3);
        canvas.pen().setStyle(TPenStyle::psInsideFrame);
        canvas.brush().setColor(clBlue);
        canvas.rectangle(2, 8, 14, 15);
    });
    for (int x = 3; x <= 12; ++x) EXPECT_EQ(at(x, 3), red) << x;
    EXPECT_EQ(at(7, 2), red);
    EXPECT_EQ(at(7, 4), red);
    EXPECT_EQ(at(7, 5), background);
    for (auto [x, y] : Pixels{{2, 8}, {13, 14}, {4, 10}, {11, 12}}) EXPECT_EQ(at(x, y), red) << x << "," << y;
    EXPECT_EQ(at(7, 11), blue);
    EXPECT_EQ(at(14, 11), background);
    EXPECT_EQ(at(7, 15), background);
}

TEST_F(CanvasTest, GeometryFarBeyondTheImageDrawsWhatShows)
{
    constexpr int far = 2147483647;
    paint([](TCanvas& canvas) {
        canvas.brush().setColor(clBlue);
        canvas.pen().setColor(clRed);
        canvas.pen().setStyle(TPenStyle::psDot);
        canvas.rectangle(-far, -far, far, 8);
        canvas.pen().setStyle(TPenStyle::psClear);
        canvas.ellipse(-far, 8, far, far);
        canvas.brush().setColor(clRed);
        canvas.frameRect({-far, -far, far, far});
        canvas.fillRect({far - 1, -far, -far, far});  // inverted: nothing
        const TPoint corners[] = {{-far, -far}, {far, -far}, {far, far}, {-far, far}};
        canvas.polygon(corners);
        canvas.textOut(far, far, "x");
        canvas.textRect({-far, -far, far, far}, far, -far, "x");
        canvas.setPixel(far, -far, clBlue);
        canvas.stretchDraw({-far, -far, far, far}, TBitmap());
        EXPECT_TRUE(canvas.copyRect({-far, -far, far, far}, canvas, {-far, -far, far, far}));
        EXPECT_EQ(canvas.pixel(far, far), CLR_INVALID);
    });
    EXPECT_EQ(pixelsOf(red).size(), 16u * 16u);

    paint([](TCanvas& canvas) {
        canvas.brush().setColor(clBlue);
        canvas.pen().setStyle(TPenStyle::psClear);
        canvas.rectangle(-far, -far, far, 8);
    });
    EXPECT_EQ(pixelsOf(blue).size(), 16u * 8u);
    EXPECT_EQ(at(0, 7), blue);
}

TEST_F(CanvasTest, APartlyShownEllipseOrArcPaintsItsPixelsAsWhole)
{
    // Dots run on past what does not show, through a clip or past the image's edge alike, and
    // solid outlines and fills keep their pixels though only the part that shows is worked out.
    const auto draw = [](TCanvas& canvas) {
        canvas.brush().setColor(clBlue);
        canvas.pen().setColor(clRed);
        canvas.pen().setStyle(TPenStyle::psDot);
        canvas.ellipse(1, 1, 58, 41);
        canvas.arc(5, 9, 50, 38, 50, 0, 0, 30);
        canvas.pen().setStyle(TPenStyle::psSolid);
        canvas.pen().setColor(clLime);
        canvas.ellipse(12, 6, 57, 39);
        canvas.arc(20, 14, 48, 37, 0, 40, 48, 0);
    };
    QImage whole = testing::filledImage(60, 44, background);
    {
        TCanvas canvas(whole);
        draw(canvas);
    }
    QImage clipped = testing::filledImage(60, 44, background);
    {
        QPainter painter(&clipped);
        painter.setClipRect(30, 20, 30, 24);
        TCanvas canvas(painter);
        draw(canvas);
    }
    QImage corner = testing::filledImage(30, 24, background);
    {
        QPainter painter(&corner);
        painter.translate(-30, -20);
        TCanvas canvas(painter);
        draw(canvas);
    }
    EXPECT_EQ(clipped.copy(30, 20, 30, 24), whole.copy(30, 20, 30, 24));
    EXPECT_EQ(corner, whole.copy(30, 20, 30, 24));
    EXPECT_EQ(clipped.copy(0, 0, 30, 20), testing::filledImage(30, 20, background));

    // A clip of many rectangles, as a control low in a stack gets, keeps the same pixels where
    // it shows and none elsewhere, also from what is drawn after the ellipses.
    const QRect hole(10, 8, 35, 28);
    QImage ring = testing::filledImage(60, 44, background);
    {
        QPainter painter(&ring);
        painter.setClipRegion(QRegion(ring.rect()).subtracted(hole));
        TCanvas canvas(painter);
        draw(canvas);
        canvas.fillRect({20, 15, 40, 30});
    }
    for (int y = 0; y < 44; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(ring.pixel(x, y), hole.contains(x, y) ? toQRgb(background) : whole.pixel(x, y)) << x << "," << y;
}

TEST_F(CanvasTest, PixelsReadBackAndOutsideReadsAreInvalid)
{
    paint([](TCanvas& canvas) {
        canvas.setPixel(3, 4, clRed);
        canvas.setPixel(5, 6, clBtnShadow);
        EXPECT_EQ(canvas.pixel(3, 4), red);
        EXPECT_EQ(canvas.pixel(5, 6), 0x808080u);
        EXPECT_EQ(canvas.pixel(0, 0), background);
        for (auto [x, y] : Pixels{{-1, 0}, {0, -1}, {16, 0}, {0, 16}}) EXPECT_EQ(canvas.pixel(x, y), CLR_INVALID);
    });
    {
        QPainter painter(&image);
        painter.translate(2, 1);
        TCanvas canvas(painter);
        EXPECT_EQ(canvas.pixel(1, 3), red);
        EXPECT_EQ(canvas.pixel(14, 0), CLR_INVALID);
        canvas.setPixel(0, 0, clBlue);
    }
    EXPECT_EQ(at(2, 1), blue);

    QPicture recording;
    QPainter painter(&recording);
    TCanvas canvas(painter);
    EXPECT_EQ(canvas.pixel(0, 0), CLR_INVALID);
}

TEST_F(CanvasTest, ABorrowedPainterGetsItsStateBack)
{
    QPainter painter(&image);
    painter.setPen(Qt::green);
    painter.setRenderHint(QPainter::Antialiasing);
    {
        TCanvas canvas(painter);
        canvas.pen().setColor(clRed);
        canvas.ellipse(0, 0, 8, 8);
    }
    EXPECT_EQ(painter.pen().color(), QColor(Qt::green));
    EXPECT_TRUE(painter.testRenderHint(QPainter::Antialiasing));
}

// A 24-bit bitmap of colour values given row by row from the top.
TBitmap bitmapOf(const std::vector<std::vector<std::uint32_t>>& rows)
{
    auto image = std::make_shared<DibImage>(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 24);
    for (int y = 0; y < image->height(); ++y)
        for (int x = 0; x < image->width(); ++x) {
            const std::uint32_t color = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            std::uint8_t* p = image->scanLine(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(color >> 16);
            p[1] = static_cast<std::uint8_t>(color >> 8);
            p[2] = static_cast<std::uint8_t>(color);
        }
    TBitmap bitmap;
    bitmap.setImage(std::move(image));
    return bitmap;
}

TEST_F(CanvasTest, BitmapsDrawUnscaledAndLeaveOutTheirTransparentColour)
{
    constexpr std::uint32_t m = 0xFF00FF;
    constexpr std::uint32_t g = 0x00FF00;
    TBitmap bitmap = bitmapOf({{g, m, g}, {m, g, m}, {m, g, g}});
    auto drawnRows = [&] {
        paint([&](TCanvas& canvas) { canvas.draw(1, 1, bitmap); });
        return row(0, 5) + "|" + row(1, 5) + "|" + row(2, 5) + "|" + row(3, 5) + "|" + row(4, 5);
    };
    // 'o' marks green or magenta here, so the rows say which pixels were drawn at all.
    EXPECT_EQ(drawnRows(), ".....|.ooo.|.ooo.|.ooo.|.....");
    EXPECT_EQ(at(2, 1), m);
    bitmap.setTransparent(true);  // the bottom-left pixel's colour, magenta
    EXPECT_EQ(drawnRows(), ".....|.o.o.|..o..|..oo.|.....");
    bitmap.setTransparentColor(g);
    EXPECT_EQ(drawnRows(), ".....|..o..|.o.o.|.o...|.....");
    bitmap.setTransparentColor(static_cast<std::uint32_t>(clBtnFace));  // a colour the bitmap lacks
    EXPECT_EQ(drawnRows(), ".....|.ooo.|.ooo.|.ooo.|.....");

    // Partly off the image, or far beyond any coordinate Qt takes, only what shows is drawn.
    bitmap.setTransparentColor(g);
    paint([&](TCanvas& canvas) {
        canvas.draw(-1, 14, bitmap);
        canvas.draw(-2'000'000'000, 0, bitmap);
    });
    EXPECT_EQ(row(14, 3) + "|" + row(15, 3), "o..|.o.");
    EXPECT_EQ(paintedPixels().size(), 2u);
}

TEST_F(CanvasTest, StretchDrawAndCopyRectScaleIntoTheTarget)
{
    const TBitmap bitmap = bitmapOf({{red, blue}, {blue, red}});
    QImage source(4, 4, QImage::Format_RGB32);
    source.fill(toQRgb(blue));
    TCanvas sourceCanvas(source);
    sourceCanvas.setPixel(1, 1, clRed);
    paint([&](TCanvas& canvas) {
        canvas.stretchDraw({2, 2, 6, 6}, bitmap);
        EXPECT_TRUE(canvas.copyRect({8, 8, 14, 14}, sourceCanvas, {1, 1, 3, 3}));
        QPicture recording;
        QPainter recorder(&recording);
        TCanvas unreadable(recorder);
        EXPECT_FALSE(canvas.copyRect({0, 0, 2, 2}, unreadable, {0, 0, 2, 2}));
    });
    EXPECT_EQ(pixelsOf(red), (Pixels{{2, 2}, {3, 2}, {2, 3}, {3, 3}, {4, 4}, {5, 4}, {4, 5}, {5, 5}, {8, 8},
                                     {9, 8}, {10, 8}, {8, 9}, {9, 9}, {10, 9}, {8, 10}, {9, 10}, {10, 10}}));
    EXPECT_EQ(pixelsOf(blue).size(), 8u + 36u - 9u);

    // Of a source rectangle larger than the source, the part that exists goes to its share.
    paint([&](TCanvas& canvas) {
        EXPECT_TRUE(canvas.copyRect({0, 0, 16, 16}, sourceCanvas, {0, 0, 8, 8}));
        EXPECT_TRUE(canvas.copyRect({0, 0, 16, 16}, sourceCanvas, {0, 0, 1 << 30, 1 << 30}));
    });
    EXPECT_EQ(pixelsOf(red), (Pixels{{2, 2}, {3, 2}, {2, 3}, {3, 3}}));
    EXPECT_EQ(pixelsOf(blue).size(), 64u - 4u);
}

TEST_F(CanvasTest, DifferentTextsPaintDifferentlyAndUnsmoothed)
{
    image = QImage(60, 16, QImage::Format_RGB32);
    auto render = [this](const std::string& text) {
        paint([&](TCanvas& canvas) {
            canvas.brush().setStyle(TBrushStyle::bsClear);
            canvas.font().setColor(clRed);
            canvas.textOut(1, 1, text);
        });
        return image.copy();
    };
    const QImage hello = render("Hello");
    EXPECT_NE(hello, render("World"));
    EXPECT_EQ(hello, render("Hello"));
    image = hello;
    EXPECT_EQ(pixelsOf(red).size() + pixelsOf(background).size(), 60u * 16u);
    EXPECT_GT(pixelsOf(red).size(), 20u);
}

TEST_F(CanvasTest, ASolidBrushFillsTheTextCellAndAClearOneLeavesIt)
{
    image = QImage(60, 40, QImage::Format_RGB32);
    paint([](TCanvas& canvas) {
        canvas.brush().setColor(clBlue);
        const int width = canvas.textWidth("Ax");
        const int height = canvas.textHeight("Ax");
        canvas.textOut(2, 3, "Ax");
        EXPECT_EQ(canvas.penPos(), (TPoint{2 + width, 3}));
        EXPECT_EQ(canvas.pixel(2, 3), blue);
        EXPECT_EQ(canvas.pixel(2 + width - 1, 3 + height - 1), blue);
        EXPECT_EQ(canvas.pixel(2 + width, 3), background);
        EXPECT_EQ(canvas.pixel(2, 3 + height), background);

        canvas.brush().setStyle(TBrushStyle::bsClear);
        canvas.textOut(2, 20, "Ax");
        EXPECT_EQ(canvas.pixel(2, 20), background);
        EXPECT_EQ(canvas.pixel(2 + width - 1, 20 + height - 1), background);
    });

    // textRect clips to its rectangle, which a solid brush fills.
    image = QImage(60, 20, QImage::Format_RGB32);
    paint([](TCanvas& canvas) {
        canvas.font().setColor(clRed);
        canvas.brush().setColor(clBlue);
        canvas.textRect({0, 0, 10, 20}, 0, 2, "WWWWWW");
    });
    EXPECT_EQ(pixelsOf(blue).size() + pixelsOf(red).size(), 10u * 20u);
    EXPECT_FALSE(pixelsOf(red).empty());
}

TEST_F(CanvasTest, TextMeasuresGrowWithTheTextAndTheFont)
{
    paint([](TCanvas& canvas) {
        EXPECT_LT(canvas.textWidth("ab"), canvas.textWidth("abc"));
        EXPECT_EQ(canvas.textWidth(""), 0);
        const int small = canvas.textHeight("x");
        canvas.font().setHeight(-30);
        EXPECT_GT(canvas.textHeight("x"), small);
        canvas.font().setHeight(20);  // a cell height
        EXPECT_LE(canvas.textHeight("x"), 20);
        EXPECT_GE(canvas.textHeight("x"), 18);
    });
}

}  // namespace
}  // namespace trovelin
