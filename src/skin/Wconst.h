#pragma once
// The shading and colour helpers that every skinned widget draws with. Rectangles here include
// their bottom row (DrawGradient, DrawShadeV) or right column (DrawShadeH); the lines they draw
// stop before R (or B), so the last column (or row) is left to the widget's frame.

#include <cstdint>

#include "framework/Canvas.h"
#include "framework/NamedConstants.h"

namespace trovelin {

// Sizes that records give skinned widgets are limited to this before any painting arithmetic, so
// that extreme values can neither overflow nor ask for huge images.
inline constexpr int skinExtentLimit = 1 << 14;
constexpr int limitedExtent(int extent) { return extent < 0 ? 0 : extent > skinExtentLimit ? skinExtentLimit : extent; }

// Each resolves system colours first and gives a plain colour (fourth byte 0), with each
// channel clamped to 0..255.
TColor LightenColor32(TColor color);
TColor LightenColor64(TColor color);
TColor DarkenColor32(TColor color);
TColor DarkenColor96(TColor color);
// Blue plus 32; red and green stay.
TColor TintBlue32(TColor color);

// Rows rect.top..rect.bottom from `top` towards `bottom`, one step short of it; both are taken
// as plain colours. Draws with the pen and leaves its colour at the last row's.
void DrawGradient(TCanvas& canvas, const TRect& rect, TColor top, TColor bottom);
// A bevel shade: the upper half runs from the lightened colour towards `color`, the lower half
// from `color` towards the darkened one.
void DrawShadeV(TCanvas& canvas, const TRect& rect, TColor color);
// The same shade from left to right, over columns rect.left..rect.right.
void DrawShadeH(TCanvas& canvas, const TRect& rect, TColor color);
// The outline through the corners of `box` (all four inclusive): left and top edges in
// `topLeft`, then right and bottom in `bottomRight`, whose colour the pen keeps.
void DrawBevelFrame(TCanvas& canvas, const TRect& box, TColor topLeft, TColor bottomRight);
// A skinned button's outer frame on a w x h face: left and top edges in `topLeft` running to
// the top-right corner, right and bottom edges in `bottomRight`, whose colour the pen keeps.
void DrawButtonFrame(TCanvas& canvas, int w, int h, TColor topLeft, TColor bottomRight);

}  // namespace trovelin
