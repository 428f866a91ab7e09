#include "panelctl/FaderPainting.h"

#include <cstdint>

#include "framework/Canvas.h"
#include "panelctl/FaderAxisCanvas.h"

namespace trovelin {

namespace {

// A fraction of an extent, computed wide: records may give extents near the int limit.
int part(int extent, int numerator, int denominator)
{
    return static_cast<int>(std::int64_t{extent} * numerator / denominator);
}

// One sunken slot with its nine pairs of ticks, within the column from `from` of `width`.
void slotAndTicks(AxisCanvas& canvas, int length, int from, int width, const FaderSlotColours& colours)
{
    const int left = from + width / 2 - width / 8;
    const int right = from + width / 2 + width / 8;
    const int top = faderMargin(length);
    const int bottom = part(length, 15, 16);
    canvas.pen(colours.outline);
    canvas.brush(colours.fill);
    canvas.rectangle(left, top, right, bottom);
    canvas.pen(colours.highlight);
    canvas.moveTo(left, bottom);
    canvas.lineTo(right, bottom);
    canvas.lineTo(right, top);

    const int tickStarts[] = {from + width / 8, from + part(width, 3, 4)};
    const int tickEnds[] = {from + width / 4, from + part(width, 7, 8)};
    for (int i = 0; i <= 8; ++i) {
        canvas.pen(colours.tick);
        for (int k = 0; k < 2; ++k) canvas.line(tickStarts[k], tickEnds[k], tickRow(length, i));
        canvas.pen(colours.tickHighlight);
        for (int k = 0; k < 2; ++k) canvas.line(tickStarts[k], tickEnds[k], tickHighlightRow(length, i));
    }
}

// The knob's face in `color` with a light frame whose bottom and far edge are dark.
void knobFrame(AxisCanvas& canvas, int from, int to, int knobLength, TColor color)
{
    canvas.brush(clWindowText);
    canvas.fillRect(from, 0, to - 1, knobLength - 1);
    canvas.pen(clBtnHighlight);
    canvas.brush(color);
    canvas.rectangle(from, 0, to, knobLength);
    canvas.pen(clWindowText);
    canvas.moveTo(from, knobLength - 1);
    canvas.lineTo(to - 1, knobLength - 1);
    canvas.lineTo(to - 1, 0);
}

// The grip: a dark line with a light one under it, across the middle of the knob.
void knobGrip(AxisCanvas& canvas, int width, int knobLength)
{
    const int from = width / 10;
    const int to = part(width, 9, 10);
    canvas.pen(clBtnShadow);
    canvas.line(from, to, knobLength / 2);
    canvas.pen(clBtnHighlight);
    canvas.line(from, to, knobLength / 2 + 1);
}

}  // namespace

TRect FaderLayout::rect(int crossFrom, int alongFrom, int crossTo, int alongTo) const
{
    if (axis == FaderAxis::Vertical) return {crossFrom, alongFrom, crossTo, alongTo};
    return {alongFrom, crossFrom, alongTo, crossTo};
}

TPoint FaderLayout::size() const
{
    return axis == FaderAxis::Vertical ? TPoint{cross, length} : TPoint{length, cross};
}

TPoint FaderLayout::knobSize() const
{
    return axis == FaderAxis::Vertical ? TPoint{cross, knobLength()} : TPoint{knobLength(), cross};
}

void paintFaderBackground(TCanvas& canvas, const FaderLayout& layout, TColor parentColor)
{
    canvas.brush().setColor(parentColor);
    canvas.fillRect(layout.rect(0, 0, layout.cross, layout.length));
    paintFaderSlots(canvas, layout, classicSlotColours, classicSlotColours);
}

void paintFaderSlots(TCanvas& canvas, const FaderLayout& layout, const FaderSlotColours& coarse,
                     const FaderSlotColours& fine)
{
    AxisCanvas axisCanvas(canvas, layout);
    const int coarseCross = layout.coarseCross();
    slotAndTicks(axisCanvas, layout.length, 0, coarseCross, coarse);
    if (layout.fine) slotAndTicks(axisCanvas, layout.length, coarseCross, layout.cross - coarseCross, fine);
}

void paintFaderKnob(TCanvas& canvas, const FaderLayout& layout, TColor knobColor, TColor parentColor)
{
    AxisCanvas axisCanvas(canvas, layout);
    const int length = layout.knobLength();
    const int coarse = layout.coarseCross();
    knobFrame(axisCanvas, 0, coarse, length, knobColor);
    knobGrip(axisCanvas, coarse, length);
    if (layout.fine) {
        // The narrow fine knob has no grip; neither knob of the pair gets the rounded corners.
        knobFrame(axisCanvas, coarse, layout.cross, length, knobColor);
        return;
    }
    const int last = layout.cross - 1;
    for (const TPoint p : {TPoint{1, 1}, TPoint{last - 1, 1}, TPoint{last, 1}, TPoint{1, length - 2},
                           TPoint{1, length - 1}})
        axisCanvas.setPixel(p.x, p.y, clBtnHighlight);
    axisCanvas.setPixel(last - 1, length - 2, clWindowText);
    for (const TPoint p : {TPoint{0, 0}, TPoint{last, 0}, TPoint{0, length - 1}, TPoint{last, length - 1}})
        axisCanvas.setPixel(p.x, p.y, parentColor);
}

}  // namespace trovelin
