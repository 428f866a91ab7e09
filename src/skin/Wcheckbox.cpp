#include "skin/Wcheckbox.h"

#include "framework/ControlProperties.h"

namespace trovelin {

TWCheckBox::TWCheckBox(Component* owner) : TWSelectionBox(owner, "WCHECKBMP") {}

const ClassInfo& TWCheckBox::staticClassInfo()
{
    using C = TWCheckBox;
    static const EnumType stateNames{"cbUnchecked", "cbChecked", "cbGrayed"};
    static const ClassInfo info{
        "TWCheckBox", &TCustomControl::staticClassInfo(),
        controlProperties::table({
            sharedProperties(),
            {published::boolean("AllowGrayed", &C::allowGrayed, &C::setAllowGrayed, false),
             published::enumeration("State", stateNames, &C::state, &C::setState,
                                    std::optional(TCheckBoxState::cbUnchecked))},
        }),
        &createComponent<TWCheckBox>};
    return info;
}

void TWCheckBox::setChecked(bool value)
{
    if (value == checked_ || !enabled()) return;
    checked_ = value;
    state_ = value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked;
    PaintGlyph();
}

void TWCheckBox::setState(TCheckBoxState value)
{
    if ((value == TCheckBoxState::cbGrayed && !allowGrayed_) || value == state_ || !enabled()) return;
    state_ = value;
    checked_ = value == TCheckBoxState::cbChecked;
    PaintGlyph();
}

void TWCheckBox::setAllowGrayed(bool value)
{
    if (value == allowGrayed_) return;
    allowGrayed_ = value;
    if (!value) setState(TCheckBoxState::cbUnchecked);
}

int TWCheckBox::glyphFrame() const
{
    if (!enabled()) return state_ == TCheckBoxState::cbChecked ? 2 : 1;
    switch (state_) {
    case TCheckBoxState::cbUnchecked: return 0;
    case TCheckBoxState::cbGrayed: return 2;
    case TCheckBoxState::cbChecked: break;
    }
    return mouseOver() ? 2 : 3;
}

void TWCheckBox::click()
{
    switch (state_) {
    case TCheckBoxState::cbUnchecked:
        state_ = allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked;
        break;
    case TCheckBoxState::cbChecked: state_ = TCheckBoxState::cbUnchecked; break;
    case TCheckBoxState::cbGrayed:
        if (allowGrayed_) state_ = TCheckBoxState::cbChecked;
        break;
    }
    checked_ = state_ == TCheckBoxState::cbChecked;
    PaintGlyph();
    TWSelectionBox::click();
}

}  // namespace trovelin
