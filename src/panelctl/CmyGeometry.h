#pragma once
// The colour mixer's arithmetic as pure functions: the layout from the height, the inks of a
// hue, the bytes to disc and bar positions, the pointer to hue, saturation and intensity, and
// the colours of the disc, the bar and the sample.

#include <cstdint>
#include <optional>

#include "framework/Geometry.h"

namespace trovelin {

// A record may carry any height; the mixer lays itself out as if it were at most this high, so
// that its disc (and the per-pixel table behind it) stops at 1024 pixels a side.
inline constexpr int maxCmyLayoutHeight = 1085;

struct CmyLayout {
    int height = 0;  // the height laid out, limited to 0..maxCmyLayoutHeight
    int m = 0;       // margin: the disc's left and top
    int D = 0;       // disc side, and the bar's height
    int B = 0;       // bar width, and the side of the sample square and the reset button

    int barLeft() const { return D + 2 * m; }
    // The marker's farthest distance from the centre; never negative, so that a disc too small
    // to have a rim has no saturation to divide by.
    int maxSaturation() const { return D / 2 - 2 > 0 ? D / 2 - 2 : 0; }
    TRect sample() const { return {m, m, m + B, m + B}; }
    TRect resetButton() const { return {m, height - B - m, m + B, height - m}; }
};
CmyLayout cmyLayout(int height);

// Ink amounts, 0 (none) to 255.
struct CmyInks {
    int c = 0;
    int m = 0;
    int y = 0;
    bool operator==(const CmyInks&) const = default;
};
// The fully saturated inks of a hue in degrees. 360 is the same direction as 0: the hue table's
// own formula would give it a negative magenta ink.
CmyInks hueInks(int hue);

// A colour value, red in the low byte.
inline std::uint32_t cmyRgb(int red, int green, int blue)
{
    return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue) << 16;
}

struct CmyPosition {
    int hue = 0;
    int saturation = 0;
    int intensity = 0;
    bool operator==(const CmyPosition&) const = default;
};
// The disc and bar position of the three bytes, which are inks, or screen channels when `rgb`.
CmyPosition cmyPosition(std::uint8_t cyan, std::uint8_t magenta, std::uint8_t yellow, bool rgb, int maxSaturation);

// The hue of an offset (dx, dy) from the disc centre at distance d: whole degrees from straight
// down, clockwise on screen, 0..359.
int cmyHue(double dx, double dy, float d);

// Where a press at (x, y) puts the disc marker: the intensity is left as it is.
CmyPosition cmyBallAt(int x, int y, const CmyLayout& layout, int intensity);
// The intensity a press at row y gives on the bar; none for a bar too short to have a travel.
std::optional<int> cmyIntensityAt(int y, const CmyLayout& layout);

// One pixel of the colour disc, computed directly.
std::uint32_t cmyDiscPixel(int x, int y, int D);
// The screen channel of `ink` at distance d on a disc of radius r.
inline int cmyDiscChannel(int ink, float d, int r)
{
    return static_cast<int>(255.0 - static_cast<double>(ink) * static_cast<double>(d) / r);
}

// The colour at the top of the bar for the current hue and saturation, and the colour of its
// line i, darkening to black at the bottom.
std::uint32_t cmyPoolColor(const CmyPosition& position, int D);
std::uint32_t cmyPoolLineColor(std::uint32_t top, int i, int D);
// The sample square's colour, which the mouse reads the bytes back from.
std::uint32_t cmySampleColor(const CmyPosition& position, const CmyLayout& layout);

// The first of the four rows of the intensity marker across the bar.
int cmyIntensityRow(int intensity, const CmyLayout& layout);
// The centre of the disc marker in control coordinates.
TPoint cmyMarkerCentre(const CmyPosition& position, const CmyLayout& layout);

}  // namespace trovelin
