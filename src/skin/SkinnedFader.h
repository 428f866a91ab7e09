#pragma once
// What the skinned vertical and horizontal faders share: the faders of the panel with a shaded
// background, dark slots and ticks, and a shaded knob with a bevel and a ribbed grip. Values,
// mouse, repeat and hint are the panel faders' own.

#include "panelctl/Fader.h"

namespace trovelin {

class TWFader : public TFader {
public:
    TWFader(Component* owner, FaderAxis axis);

    // Paints straight over what the control shows, without erasing first.
    void Repaint() { repaint(); }

protected:
    void paintBackgroundBitmap(TCanvas& canvas, const FaderLayout& layout, TColor parentColor) override;
    void paintKnobBitmap(TCanvas& canvas, const FaderLayout& layout, TColor knobColor, TColor parentColor) override;
    bool redrawsBackgroundForKnob() const override { return true; }
};

}  // namespace trovelin
