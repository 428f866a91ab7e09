#pragma once
// The skinned radio button: checking it unchecks the other radio buttons of its parent.

#include "skin/SelectionBox.h"

namespace trovelin {

class TWRadioButton : public TWSelectionBox {
public:
    explicit TWRadioButton(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Ignored on a disabled button and when unchanged. Checking unchecks every sibling whose
    // class is exactly TWRadioButton (a derived class is not one); disabled siblings keep theirs.
    void setChecked(bool value) override;
    int glyphFrame() const override;
    // Checks the button, then OnClick.
    void click() override;
};

}  // namespace trovelin
