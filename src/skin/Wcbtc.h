#pragma once
// The skinned lamp button: a shaded square with a round lamp in its colour, pressed only while
// the left button is held on it. Not the panel's colour toggle button TCBTC (panelctl/Cbtc.h).

#include "framework/Control.h"

namespace trovelin {

class TWCBTC : public TGraphicControl {
public:
    explicit TWCBTC(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // These hide the control's colour pair on purpose: the lamp never follows the parent, and
    // ParentColor is only kept.
    TColor color() const { return color_; }
    void setColor(TColor value);
    bool parentColor() const { return parentColor_; }
    void setParentColor(bool value);
    bool down() const { return down_; }
    void setDown(bool value);

    // The lamp's box, right and bottom excluded: a radius of seven twentieths of the shorter
    // side around the centre, one pixel right and down while down.
    TRect lampBox() const;

    void paint(TCanvas& canvas) override;
    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TColor color_ = clRed;
    bool parentColor_ = true;
    bool down_ = false;
};

}  // namespace trovelin
