#pragma once
// The pixels of an ellipse inscribed in a box: the filled area stays inside columns
// left..right-1 and rows top..bottom-1 and touches all four sides.

#include <vector>

#include "framework/Geometry.h"

namespace trovelin {

struct PixelSpan {
    int y = 0;
    int left = 0;
    int right = 0;  // exclusive
};

struct EllipsePixels {
    std::vector<PixelSpan> rows;  // the filled area, one span per row
    // The border pixels in counter-clockwise order on screen, from the rightmost point on.
    std::vector<TPoint> outline;
};

// Boxes wider or taller than this are left to Qt's own ellipses, which keep to the box less
// exactly but need no pixel lists.
inline constexpr int maxRasterExtent = 4096;

// An empty or inverted box, or one beyond maxRasterExtent, gives no pixels.
EllipsePixels rasterEllipse(const TRect& box);
// The same within `within` alone, the border unordered: what a solid outline and a fill need of
// an ellipse that shows in part, at a cost that follows what lies within.
EllipsePixels rasterEllipsePart(const TRect& box, const TRect& within);

// Where an arc starts and how far it runs, counter-clockwise on screen in radians: from the ray
// through `start` to the ray through `end`, both from the centre of `box`; a whole turn when
// both rays point the same way.
struct ArcSweep {
    double start = 0;
    double sweep = 0;
};
ArcSweep arcSweep(const TRect& box, TPoint start, TPoint end);

// The border pixels within `arc`, in order from its start.
std::vector<TPoint> arcOutline(const TRect& box, const EllipsePixels& ellipse, const ArcSweep& arc);

}  // namespace trovelin
