#pragma once
// Where things sit on the XY field and how the pointer moves the ball. Field coordinates run
// 0..255 on both axes (0 at the left and at the top); `scale` is 1, or 2 for the half-size field.
// All division truncates toward zero, as the designer's field computes; sums and products that
// take a pointer coordinate or a delta from outside run in 64 bits.

#include <cstdint>
#include <optional>
#include <string>

#include "framework/Geometry.h"

namespace trovelin {

inline constexpr int fieldCoordinateMaximum = 255;
// The ball image's side: the ball at scale 1.
inline constexpr int fieldBallSide = 20;
// The delta bar under a 16-bit field.
inline constexpr int fieldDeltaBarHeight = 12;

// The field's side in pixels: 276, or 138 at half size.
constexpr int fieldSide(int scale) { return 276 / scale; }
// The pixel a field coordinate stands on, and the coordinate a pointer pixel points at (not yet
// limited to 0..255).
constexpr int fieldPixel(int coordinate, int scale) { return coordinate / scale + 10 / scale; }
std::int64_t fieldCoordinateAt(int pixel, int scale);
int limitCoordinate(std::int64_t value);

// The ball's box on the control, and its centre.
TRect fieldBallBox(int x, int y, int scale);
TPoint fieldBallCentre(int x, int y, int scale);

// The delta bar: a left click at `pixel` selects table index 0..10, none outside the bar; index
// i gives 1, 2, 4, ... 256, and the last two also 256. A delta is drawn in cell 0..8, any delta
// outside the table in cell 0.
std::optional<int> deltaIndexAt(int pixel, int scale);
int deltaForIndex(int index);
int deltaCell(int delta);
// Cell k's columns on the bar.
int deltaCellLeft(int cell, int scale);
int deltaCellRight(int cell, int scale);

// One axis as a coarse coordinate and its fine value, the low byte of a 16-bit value.
struct FieldAxis {
    int coarse = 0;
    int fine = 0;
    friend bool operator==(const FieldAxis&, const FieldAxis&) = default;
};

// A drag: `fineSteps` fine steps (pixels times delta) added to the fine value, carried into the
// coarse coordinate or borrowed from it; at either end of the axis the fine value stops instead.
// The coarse result is limited to 0..255.
FieldAxis dragAxis(FieldAxis axis, std::int64_t fineSteps);

// A right-button step of one unit toward the target: up when `up`, else down. In 16-bit mode the
// combined value moves by `delta` fine steps and stays within 0..65535.
FieldAxis stepAxis(FieldAxis axis, bool up, int delta, bool m16bit);

// Which way a right click at target (tx, ty) steps the ball at (x, y), and so which arrow the
// hover shows: 1 right, 2 left, 3 down, 4 up. X when it is strictly farther off than Y; a tie
// within the axis steps down (toward 0).
int stepDirection(std::int64_t tx, std::int64_t ty, int x, int y);

// The readouts: a coordinate, with its fine value in 16-bit mode ("%03d " or "%03d,%03d  ").
std::string dragReadout(int coarse, int fine, bool m16bit);
// What a hover shows for the coordinate under the pointer ("%03d " or "%03d,000 ").
std::string hoverReadout(int coarse, bool m16bit);

}  // namespace trovelin
