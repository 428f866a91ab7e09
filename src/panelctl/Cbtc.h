#pragma once
// The colour toggle button: a coloured disc on a bevelled square that looks pressed while the
// left button is held on it and clicks on release.

#include <cstdint>

#include "framework/Control.h"
#include "framework/Geometry.h"

namespace trovelin {

// The disc's box: centred, with a radius of four tenths of the shorter side, one pixel down and
// right while pressed.
TRect cbtcDiscBox(int width, int height, bool down);

class TCBTC : public TGraphicControl {
public:
    // The control style flag that lets the panel designer copy the button.
    static constexpr std::uint32_t csReplicatable = 0x800;

    explicit TCBTC(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    std::uint32_t controlStyle() const { return csReplicatable; }

    // These hide the control's colour on purpose: the disc's colour never follows the parent.
    TColor color() const { return color_; }
    void setColor(TColor value);
    bool down() const { return down_; }
    void setDown(bool value);

    void paint(TCanvas& canvas) override;
    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TColor color_ = clRed;
    bool down_ = false;
};

}  // namespace trovelin
