#pragma once
// The pixels of lines and the on/off patterns of styled pens, as the panels' drawing code
// expects them: a line covers its start point and stops before its end point.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "framework/Geometry.h"
#include "framework/Graphics.h"

namespace trovelin {

// Where a styled pen is in its pattern. One pattern runs on across the segments of a figure,
// so a dotted polyline keeps its rhythm at the corners.
class DashPattern {
public:
    explicit DashPattern(TPenStyle style = TPenStyle::psSolid);

    TPenStyle style() const { return style_; }
    bool solid() const { return lengths_.empty(); }
    // Whether the next pixel along the line is pen (otherwise gap), stepping past it.
    bool nextIsDash();
    void skip(std::int64_t pixels);
    void restart();

private:
    TPenStyle style_;
    std::span<const int> lengths_;  // alternating dash and gap lengths; empty for solid pens
    std::size_t segment_ = 0;
    int usedInSegment_ = 0;
};

namespace detail {
__extension__ using WideInt = __int128;  // products of two coordinate spans
}

// Calls plot(x, y) in order for the pixels of the line from `from` up to but excluding `to`
// whose major-axis coordinate lies within `visible`, and skip(n) for the n pixels passed over
// before and after them, so that a pattern keeps its place. Steps along the major axis; at an
// exact half-way point the minor axis has not moved yet. Only the visible stretch costs time,
// however long the line: stored geometry can be far larger than any screen.
template <class Plot, class Skip>
void forEachLinePixel(TPoint from, TPoint to, const TRect& visible, Plot&& plot, Skip&& skip)
{
    using detail::WideInt;
    const std::int64_t dx = std::abs(std::int64_t{to.x} - from.x);
    const std::int64_t dy = std::abs(std::int64_t{to.y} - from.y);
    const bool xMajor = dx >= dy;
    const std::int64_t major = xMajor ? dx : dy;
    const std::int64_t minor = xMajor ? dy : dx;
    const int majorStep = (xMajor ? to.x < from.x : to.y < from.y) ? -1 : 1;
    const int minorStep = (xMajor ? to.y < from.y : to.x < from.x) ? -1 : 1;
    const std::int64_t majorStart = xMajor ? from.x : from.y;
    const std::int64_t low = xMajor ? visible.left : visible.top;
    const std::int64_t high = std::int64_t{xMajor ? visible.right : visible.bottom} - 1;
    const std::int64_t first = std::max<std::int64_t>(0, majorStep > 0 ? low - majorStart : majorStart - high);
    const std::int64_t last = std::min(major - 1, majorStep > 0 ? high - majorStart : majorStart - low);
    if (first > last) {
        skip(major);
        return;
    }
    skip(first);
    // Minor steps before pixel `first`: to the pixel centre nearest the line, halves rounded back.
    const WideInt behind = WideInt{2} * minor * first - major;
    const std::int64_t minorSteps = behind <= 0 ? 0 : static_cast<std::int64_t>((behind + 2 * major - 1) / (2 * major));
    std::int64_t error = static_cast<std::int64_t>(WideInt{2} * minor * (first + 1) - major - WideInt{2} * major * minorSteps);
    std::int64_t majorAt = majorStart + majorStep * first;
    std::int64_t minorAt = (xMajor ? from.y : from.x) + minorStep * minorSteps;
    for (std::int64_t i = first; i <= last; ++i) {
        plot(static_cast<int>(xMajor ? majorAt : minorAt), static_cast<int>(xMajor ? minorAt : majorAt));
        if (error > 0) {
            minorAt += minorStep;
            error -= 2 * major;
        }
        error += 2 * minor;
        majorAt += majorStep;
    }
    skip(major - 1 - last);
}

}  // namespace trovelin
