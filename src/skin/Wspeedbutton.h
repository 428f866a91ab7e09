#pragma once
// The skinned speed button: the framework speed button's behaviour with a shaded surface,
// one-pixel bevel frames and a bluish hot look while the mouse is over a flat button.

#include "framework/SpeedButton.h"
#include "skin/SkinPalette.h"

namespace trovelin {

class TWSpeedButton : public TSpeedButton {
public:
    explicit TWSpeedButton(Component* owner);

    // Adds ParentColor and Color with their own meaning; the rest is the speed button's.
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // These hide the control's colour pair on purpose: here ParentColor does not follow a
    // colour but takes the parent's at each paint, and setting Color keeps ParentColor.
    TColor color() const { return colouring_.color(); }
    void setColor(TColor value);
    bool parentColor() const { return colouring_.parentColor(); }
    void setParentColor(bool value);
    const SkinPalette& palette() const { return colouring_.palette(); }

    void paint(TCanvas& canvas) override;
    // Its own face is drawn in shades that need not fill the bounds: what lies below may show.
    bool opaque() const override { return false; }

private:
    // Which of the glyph strip's frames the current state shows.
    int glyphFrame() const;

    SkinColouring colouring_;
};

}  // namespace trovelin
