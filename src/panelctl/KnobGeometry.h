#pragma once
// What the two knobs share: the knob square, the scale marks around it and the pointer angle,
// as pure functions of the control's size and values.

#include <array>
#include <optional>

#include "framework/Geometry.h"

namespace trovelin {

// A record may carry any width, height or pen width; the knob is drawn no larger than this, so
// that a hostile record cannot make one paint walk billions of pixels.
inline constexpr int maxKnobSide = 4096;

struct KnobSquare {
    int p = 0;  // the pen width, limited to +-maxKnobSide like the side
    int h = 0;  // half the pen width: the square's top-left corner is (h, h)
    int s = 0;  // side
};
KnobSquare knobSquare(int width, int height, int penWidth);

struct ScaleMark {
    TPoint from;
    TPoint to;
    int penWidth = 1;
};
// The knob with the value label draws thin marks ending one pixel inside the square; the dot
// knob draws bolder marks that reach its right and bottom edges. None at the bottom.
enum class ScaleMarkStyle { thin, bold };
std::array<ScaleMark, 7> scaleMarks(KnobSquare square, ScaleMarkStyle style);

// The pointer's angle in whole degrees from straight down, clockwise on screen, less the 52
// degrees of the gap and limited to 0..255; none on the two centre lines (dx or dy 0).
// The label knob computes in single precision and truncates; the dot knob computes in double
// precision and rounds to nearest, ties to even.
std::optional<int> knobLAngle(int dx, int dy);
std::optional<int> knobAngle(int dx, int dy);

// The value an angle of 0..255 stands for.
int knobLValue(int angle, int min, int max);
int knobValue(int angle, int min, int max);

// The pointer's angle in radians: 52 degrees at min, 308 at max. A range of one value has no
// sweep to divide, so its pointer rests at the start.
float knobLPointerAngle(int value, int min, int max);
double knobPointerAngle(int value, int min, int max);

// The end of the label knob's pointer line of `length` from `centre`.
TPoint knobLPointerEnd(TPoint centre, int length, float angle);
// The offset of the dot knob's dot from the centre at `radius`.
TPoint knobDotOffset(int radius, double angle);

}  // namespace trovelin
