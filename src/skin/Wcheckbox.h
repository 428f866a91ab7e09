#pragma once
// The skinned check box: checked, unchecked, or (with AllowGrayed) grayed.

#include "skin/SelectionBox.h"

namespace trovelin {

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TWCheckBox : public TWSelectionBox {
public:
    explicit TWCheckBox(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Ignored on a disabled box and when unchanged.
    void setChecked(bool value) override;
    TCheckBoxState state() const { return state_; }
    // Ignored on a disabled box, when unchanged, and for grayed without AllowGrayed.
    void setState(TCheckBoxState value);
    bool allowGrayed() const { return allowGrayed_; }
    // Disallowing the grayed state unchecks the box.
    void setAllowGrayed(bool value);

    int glyphFrame() const override;
    // Unchecked, grayed (with AllowGrayed), checked, unchecked...; then OnClick. Enabled or not.
    void click() override;

private:
    TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
    bool allowGrayed_ = false;
};

}  // namespace trovelin
