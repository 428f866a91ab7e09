#pragma once
// The knob with a round dot as pointer and no printed value. Panel files do not hold it.

#include <cstdint>

#include "framework/Geometry.h"
#include "panelctl/KnobControl.h"

namespace trovelin {

// The control-style flag of controls that the designer may replicate.
inline constexpr std::uint32_t csReplicatable = 0x800;

class TKnob : public KnobControl {
public:
    explicit TKnob(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    std::uint32_t controlStyle() const { return csReplicatable; }

    // Stores the value as given, draws the dot and raises OnChange, every time: so every paint
    // raises OnChange too.
    void setPosition(std::int32_t value) override;
    // The value at a pointer position, passed on even when it is unchanged; nothing on the two
    // centre lines.
    void mouseSet(int x, int y);

    void paint(TCanvas& canvas) override;
    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseMove(TShiftState shift, int x, int y) override;
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    // The box of the dot last drawn.
    TRect dotBox() const { return dot_; }

protected:
    void positionLimited(std::int32_t position) override { position_ = position; }

private:
    void drawValue(TCanvas& canvas, std::int32_t value);

    TRect dot_;
};

}  // namespace trovelin
