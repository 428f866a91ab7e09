#pragma once
// The group box: a windowed frame with a caption.

#include "framework/WinControl.h"

namespace trovelin {

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // The background, an etched frame from half the caption's height down, and the caption on
    // the background 8 pixels in. Child controls paint themselves.
    void paint(TCanvas& canvas) override;
    bool opaque() const override { return true; }
};

}  // namespace trovelin
