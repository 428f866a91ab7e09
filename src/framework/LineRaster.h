#pragma once
// The pixels of lines and the on/off patterns of styled pens, as the panels' drawing code
// expects them: a line covers its start point and stops before its end point.

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
    // Whether the next pixel along the line is pen (otherwise gap), stepping past it.
    bool nextIsDash();
    void restart();

private:
    TPenStyle style_;
    std::span<const int> lengths_;  // alternating dash and gap lengths; empty for solid pens
    std::size_t segment_ = 0;
    int usedInSegment_ = 0;
};

// Calls plot(x, y) for every pixel of the line from `from` up to but excluding `to`, in order.
// Steps along the major axis; at an exact half-way point the minor axis has not moved yet.
template <class Plot> void forEachLinePixel(TPoint from, TPoint to, Plot&& plot)
{
    const int dx = std::abs(to.x - from.x);
    const int dy = std::abs(to.y - from.y);
    const int stepX = to.x < from.x ? -1 : 1;
    const int stepY = to.y < from.y ? -1 : 1;
    const bool xMajor = dx >= dy;
    const int major = xMajor ? dx : dy;
    const int minor = xMajor ? dy : dx;
    int x = from.x;
    int y = from.y;
    int error = 2 * minor - major;
    for (int i = 0; i < major; ++i) {
        plot(x, y);
        if (error > 0) {
            (xMajor ? y : x) += xMajor ? stepY : stepX;
            error -= 2 * major;
        }
        error += 2 * minor;
        (xMajor ? x : y) += xMajor ? stepX : stepY;
    }
}

}  // namespace trovelin
