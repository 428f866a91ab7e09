#pragma once
// The knob with a pointer line and its value printed below the centre; panel files hold it.

#include "framework/Geometry.h"
#include "panelctl/KnobControl.h"

namespace trovelin {

class TKnobL : public KnobControl {
public:
    explicit TKnobL(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Limits the value to Min..Max and draws it at once, never raising OnChange.
    void setPosition(std::int32_t value) override;
    // The value at a pointer position; nothing on the two centre lines.
    void mouseSet(int x, int y);

    void paint(TCanvas& canvas) override;
    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseMove(TShiftState shift, int x, int y) override;
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    TPoint pointerStart() const { return pointerStart_; }
    TPoint pointerEnd() const { return pointerEnd_; }

protected:
    void positionLimited(std::int32_t position) override { setPosition(position); }

private:
    // Erases the pointer and label last drawn and draws them for `value`.
    void drawValue(TCanvas& canvas, std::int32_t value);

    TPoint pointerStart_;
    TPoint pointerEnd_;
    int labelWidth_ = 0;
};

}  // namespace trovelin
