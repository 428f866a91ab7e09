#pragma once
// What the skinned panel, group box and radio group share: their colours, and the captioned
// frame of the group box and radio group, which differ only in what a negative BevelWidth draws.

#include "framework/CustomPanel.h"

namespace trovelin {

struct PanelColours {
    TColor base, light, shadow, dark;

    // Following the parent, the panel shades the fixed button face with the fixed greys;
    // otherwise its own colour with tones derived from it.
    static PanelColours of(const TControl& panel);
};

enum class NegativeBevel {
    topLine,           // any negative width: one line across the top, to the last column
    topLineAtMinusOne  // -1: one line across the top, short of the last column; below -1: none
};

// The shaded face, the frame inset by BevelWidth leaving half a caption's height above it, and
// the caption on a light line that hides the frame's top under it.
void paintGroupFace(TCanvas& canvas, const TCustomPanel& panel, NegativeBevel rule);

}  // namespace trovelin
