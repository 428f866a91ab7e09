#include "skin/SkinnedFader.h"

#include <algorithm>
#include <cstdint>

#include "panelctl/FaderAxisCanvas.h"
#include "skin/SkinPalette.h"
#include "skin/Wconst.h"

namespace trovelin {
namespace {

// One part of the knob (all of it, or the coarse or fine part of a 16-bit knob) within columns
// (rows across) from..to: shaded in `color` along the travel's cross direction, a light-dark
// bevel, and dark-light ribs across its middle third.
void knobPart(TCanvas& canvas, const FaderLayout& layout, int from, int to, TColor color)
{
    const SkinPalette greys = SkinPalette::fixed();
    const int length = layout.knobLength();
    const TRect face = layout.rect(from, 0, to, length);
    if (layout.axis == FaderAxis::Vertical)
        DrawShadeV(canvas, face, color);
    else
        DrawShadeH(canvas, face, color);

    AxisCanvas knob(canvas, layout);
    knob.pen(greys.shadow);
    knob.moveTo(from, length - 1);
    knob.lineTo(from, 0);
    knob.lineTo(to - 1, 0);
    knob.pen(greys.darkShadow);
    knob.lineTo(to - 1, length - 1);
    knob.lineTo(from, length - 1);

    const int width = to - from;
    const int ribFrom = from + width / 4;
    const int ribTo = from + static_cast<int>(std::int64_t{3} * width / 4);
    // Ribs outside what reaches the device are skipped: a knob may be longer than any bitmap.
    // The first drawn keeps the ribs' two-pixel rhythm.
    const TRect visible = canvas.visibleArea();
    const bool vertical = layout.axis == FaderAxis::Vertical;
    const int visibleFrom = vertical ? visible.top : visible.left, visibleTo = vertical ? visible.bottom : visible.right;
    const int firstRib = length / 3 + std::max(0, (visibleFrom - length / 3 - 1) / 2 * 2);
    const int lastRib = static_cast<int>(std::min<std::int64_t>(std::int64_t{2} * length / 3, visibleTo));
    for (int r = firstRib; r < lastRib; r += 2) {
        knob.pen(greys.darkShadow);
        knob.line(ribFrom, ribTo, r);
        knob.pen(greys.highlight);
        knob.line(ribFrom, ribTo, r + 1);
    }
}

}  // namespace

TWFader::TWFader(Component* owner, FaderAxis axis) : TFader(owner, axis)
{
    hintWindow().setColor(clWindow);
}

void TWFader::paintBackgroundBitmap(TCanvas& canvas, const FaderLayout& layout, TColor)
{
    const TPoint size = layout.size();
    DrawShadeV(canvas, {0, 0, size.x, size.y}, clBtnFace);
    const SkinPalette greys = SkinPalette::fixed();
    const FaderSlotColours fine{greys.darkShadow, clWindowText, greys.highlight, greys.darkShadow, greys.highlight};
    FaderSlotColours coarse = fine;
    // A disabled fader shows an empty slot; the fine slot stays dark.
    if (!enabled()) coarse.fill = clBtnFace;
    paintFaderSlots(canvas, layout, coarse, fine);
}

void TWFader::paintKnobBitmap(TCanvas& canvas, const FaderLayout& layout, TColor knobColor, TColor)
{
    const int coarse = layout.coarseCross();
    knobPart(canvas, layout, 0, coarse, knobColor);
    if (layout.fine) knobPart(canvas, layout, coarse, layout.cross, knobColor);
}

}  // namespace trovelin
