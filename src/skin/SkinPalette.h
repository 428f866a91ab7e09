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

// Color and ParentColor of the skinned speed button and scroll bar, with the palette they give:
// following the parent means the button face and the fixed greys, otherwise tones of Color.
class SkinColouring {
public:
    TColor color() const { return color_; }
    bool parentColor() const { return parentColor_; }
    const SkinPalette& palette() const { return palette_; }

    // False when Color already had the value. Keeps ParentColor.
    bool setColor(TColor value);
    void setParentColor(bool value);
    // The colour a widget following its parent paints with; the greys stay fixed.
    void takeParentColor(TColor value) { color_ = value; }

private:
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    SkinPalette palette_ = SkinPalette::fixed();
};

}  // namespace trovelin
