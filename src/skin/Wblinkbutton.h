#pragma once
// The skinned blink button: a left press latches it down, and while down it blinks between
// Color and AlterColor every half second; every left release clicks.

#include <memory>

#include "framework/Control.h"

namespace trovelin {

class TTimer;

class TWBlinkButton : public TGraphicControl {
public:
    explicit TWBlinkButton(Component* owner);
    ~TWBlinkButton() override;

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Hides the control's colour on purpose: the resting colour never follows the parent.
    TColor color() const { return color_; }
    // Also becomes the colour shown, so a change shows at once, blinking or not.
    void setColor(TColor value);
    TColor alterColor() const { return alterColor_; }
    void setAlterColor(TColor value) { alterColor_ = value; }
    bool down() const { return down_; }
    // Down starts the blinking, up stops it on Color.
    void setDown(bool value);
    // The colour painted now.
    TColor currentColor() const { return current_; }
    const TTimer* blinkTimer() const { return blinkTimer_.get(); }

    void paint(TCanvas& canvas) override;
    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    // Timers come from the host, which a button read from a record does not have yet; the
    // blinking starts once one shows it.
    void startBlinking();
    void blink();

    TColor color_ = clBtnFace;
    TColor alterColor_ = clBtnHighlight;
    TColor current_ = clBtnFace;
    bool down_ = false;
    std::unique_ptr<TTimer> blinkTimer_;
};

}  // namespace trovelin
