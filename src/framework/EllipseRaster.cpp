#include "framework/EllipseRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

namespace trovelin {

namespace {

// Positions relative to the box centre in half pixels, so that boxes of even and odd sizes
// both have whole-numbered pixel centres.
struct Doubled {
    std::int64_t x;
    std::int64_t y;
};

Doubled fromCentre(const TRect& box, TPoint p)
{
    return {2 * std::int64_t{p.x} - (std::int64_t{box.left} + box.right - 1),
            2 * std::int64_t{p.y} - (std::int64_t{box.top} + box.bottom - 1)};
}

constexpr double fullTurn = 2 * std::numbers::pi;

// Counter-clockwise on screen, where y grows downwards, in [0, 2 pi).
double screenAngle(Doubled d)
{
    const double angle = std::atan2(-static_cast<double>(d.y), static_cast<double>(d.x));
    return angle < 0 ? angle + fullTurn : angle;
}

// Half the width, in half pixels, of the row `rowFromCentre` half pixels off the centre: the
// widest span whose pixel centres lie inside the ellipse through the box's outer edges. The
// rows through the centre span the whole box and every row keeps at least its middle pixels,
// so that thin ellipses still reach all four sides.
std::int64_t halfSpan(std::int64_t width, std::int64_t height, std::int64_t rowFromCentre)
{
    const std::int64_t narrowest = (width - 1) % 2;
    if (std::abs(rowFromCentre) <= 1) return width - 1;
    const std::int64_t limit = width * width * (height * height - rowFromCentre * rowFromCentre);
    std::int64_t x = std::min(width - 1, static_cast<std::int64_t>(std::sqrt(static_cast<double>(limit))) / height);
    if ((x - narrowest) % 2 != 0) --x;
    while (x + 2 <= width - 1 && (x + 2) * (x + 2) * height * height <= limit) x += 2;
    while (x > narrowest && x * x * height * height > limit) x -= 2;
    return std::max(x, narrowest);
}

// Row y's span of the filled area; an empty span outside the box.
PixelSpan rowSpan(const TRect& box, int y)
{
    if (y < box.top || y >= box.bottom) return {y, 0, 0};
    const std::int64_t half = halfSpan(box.width(), box.height(), fromCentre(box, {box.left, y}).y);
    const std::int64_t centreTimesTwo = std::int64_t{box.left} + box.right - 1;
    return {y, static_cast<int>((centreTimesTwo - half) / 2), static_cast<int>((centreTimesTwo + half) / 2 + 1)};
}

// The spans of rows top - 1 to bottom: the rows wanted and a neighbour beyond each end, which
// the border of the end rows depends on. Each span is worked out once for the fill and the border.
std::vector<PixelSpan> spansWithNeighbours(const TRect& box, int top, int bottom)
{
    std::vector<PixelSpan> spans;
    spans.reserve(static_cast<std::size_t>(bottom - top) + 2);
    for (int y = top - 1; y <= bottom; ++y) spans.push_back(rowSpan(box, y));
    return spans;
}

// The border pixels within `within` of the rows inside `spans`' ends, row by row from the left.
// A border pixel has a filled area's edge beside it above, below, left or right: all of a row
// but the columns that the rows above and below both fill, away from its ends. Taken span by
// span, so that the cost follows the border's length and not the area.
std::vector<TPoint> borderPixels(const std::vector<PixelSpan>& spans, const TRect& within)
{
    std::vector<TPoint> border;
    for (std::size_t i = 1; i + 1 < spans.size(); ++i) {
        const PixelSpan& above = spans[i - 1];
        const PixelSpan& row = spans[i];
        const PixelSpan& below = spans[i + 1];
        const int innerLeft = std::max({row.left + 1, above.left, below.left});
        const int innerRight = std::min({row.right - 1, above.right, below.right});
        for (int x = std::max(row.left, within.left); x < std::min(row.right, within.right); ++x) {
            if (x >= innerLeft && x < innerRight) {
                x = innerRight - 1;
                continue;
            }
            border.push_back({x, row.y});
        }
    }
    return border;
}

// The fill and the border within `within`, the border unordered.
EllipsePixels pixelsWithin(const TRect& box, const TRect& within)
{
    EllipsePixels result;
    const int top = std::max(box.top, within.top), bottom = std::min(box.bottom, within.bottom);
    if (top >= bottom) return result;
    const std::vector<PixelSpan> spans = spansWithNeighbours(box, top, bottom);
    result.rows.assign(spans.begin() + 1, spans.end() - 1);
    result.outline = borderPixels(spans, within);
    return result;
}

bool rasterable(const TRect& box)
{
    return !box.isEmpty() && box.width() <= maxRasterExtent && box.height() <= maxRasterExtent;
}

}  // namespace

EllipsePixels rasterEllipse(const TRect& box)
{
    if (!rasterable(box)) return {};
    EllipsePixels result = pixelsWithin(box, box);
    // Ordering by the angle on the ellipse squeezed into a circle keeps neighbours together
    // even where a steep border has several pixels on one row. Each angle is taken once: a box
    // of thousands of pixels has tens of thousands of border pixels.
    const std::int64_t width = box.width();
    const std::int64_t height = box.height();
    std::vector<std::pair<double, TPoint>> byAngle;
    byAngle.reserve(result.outline.size());
    for (TPoint p : result.outline) {
        const Doubled d = fromCentre(box, p);
        byAngle.push_back({screenAngle({d.x * height, d.y * width}), p});
    }
    std::sort(byAngle.begin(), byAngle.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < byAngle.size(); ++i) result.outline[i] = byAngle[i].second;
    return result;
}

EllipsePixels rasterEllipsePart(const TRect& box, const TRect& within)
{
    if (!rasterable(box)) return {};
    return pixelsWithin(box, within);
}

ArcSweep arcSweep(const TRect& box, TPoint start, TPoint end)
{
    const Doubled startRay = fromCentre(box, start);
    const Doubled endRay = fromCentre(box, end);
    const double startAngle = screenAngle(startRay);
    auto product = [](std::int64_t a, std::int64_t b) { return static_cast<double>(a) * static_cast<double>(b); };
    const bool sameRay = product(startRay.x, endRay.y) == product(startRay.y, endRay.x) &&
                         product(startRay.x, endRay.x) + product(startRay.y, endRay.y) >= 0;
    if (sameRay) return {startAngle, fullTurn};
    return {startAngle, std::fmod(screenAngle(endRay) - startAngle + fullTurn, fullTurn)};
}

std::vector<TPoint> arcOutline(const TRect& box, const EllipsePixels& ellipse, const ArcSweep& arc)
{
    std::vector<std::pair<double, TPoint>> byOffset;
    for (TPoint p : ellipse.outline) {
        const double offset = std::fmod(screenAngle(fromCentre(box, p)) - arc.start + fullTurn, fullTurn);
        if (offset <= arc.sweep) byOffset.push_back({offset, p});
    }
    std::stable_sort(byOffset.begin(), byOffset.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TPoint> points;
    points.reserve(byOffset.size());
    for (const auto& [offset, p] : byOffset) points.push_back(p);
    return points;
}

}  // namespace trovelin
