#pragma once
// The seven frame and surface colours of a skinned widget, derived from its colour.

#include "framework/NamedConstants.h"

namespace trovelin {

struct SkinPalette {
    TColor shadow;
    TColor highlight;
    TColor darkShadow;
    TColor brightHighlight;
    TColor hotHighlight;
    TColor hotShadow;
    TColor hotDarkShadow;

    bool operator==(const SkinPalette&) const = default;

    // The greys a widget that follows its parent's colour uses, whatever that colour is.
    static SkinPalette fixed();
    // Lighter and darker tones of `color`, with the bluish hot variants of three of them.
    static SkinPalette derivedFrom(TColor color);
};

}  // namespace trovelin
