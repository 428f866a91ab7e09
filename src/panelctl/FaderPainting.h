#pragma once
// The fader's two bitmaps: the slot with its ticks, and the knob. Both are drawn as for a
// vertical fader, in "across" and "along" coordinates that a horizontal fader exchanges.

#include "framework/Geometry.h"
#include "framework/NamedConstants.h"
#include "panelctl/FaderGeometry.h"

namespace trovelin {

class TCanvas;

struct FaderLayout {
    FaderAxis axis = FaderAxis::Vertical;
    int length = 0;  // extent along the travel
    int cross = 0;   // extent across it
    bool fine = false;  // M16bit: a second, narrower slot and knob for the fine value

    // The width of the coarse part: two thirds across with a fine part, else all of it.
    int coarseCross() const { return fine ? faderFineSplit(cross) : cross; }
    int knobLength() const { return faderKnobLength(length); }
    // A rectangle given across and along the travel, in the control's x and y.
    TRect rect(int crossFrom, int alongFrom, int crossTo, int alongTo) const;
    // The control's (or the background bitmap's) extent; the knob bitmap's extent.
    TPoint size() const;
    TPoint knobSize() const;
};

// The colours of a slot and its ticks.
struct FaderSlotColours {
    TColor outline, fill, highlight, tick, tickHighlight;
};
inline constexpr FaderSlotColours classicSlotColours{clBtnShadow, clWindowText, clBtnHighlight, clWindowText,
                                                     clBtnHighlight};

// The sunken slots with their nine pairs of ticks: the coarse one, and the fine one in 16-bit
// mode, each centred in its part across the travel.
void paintFaderSlots(TCanvas& canvas, const FaderLayout& layout, const FaderSlotColours& coarse,
                     const FaderSlotColours& fine);
// Fills the background bitmap's canvas with the parent's colour and draws the slots and ticks.
void paintFaderBackground(TCanvas& canvas, const FaderLayout& layout, TColor parentColor);
// Draws the knob bitmap's canvas: `knobColor` inside a bevelled frame.
void paintFaderKnob(TCanvas& canvas, const FaderLayout& layout, TColor knobColor, TColor parentColor);

}  // namespace trovelin
