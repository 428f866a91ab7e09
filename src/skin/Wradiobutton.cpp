#include "skin/Wradiobutton.h"

#include "streaming/TypeInfo.h"

namespace trovelin {

TWRadioButton::TWRadioButton(Component* owner) : TWSelectionBox(owner, "WRADIOBMP") {}

const ClassInfo& TWRadioButton::staticClassInfo()
{
    static const ClassInfo info{"TWRadioButton", &TCustomControl::staticClassInfo(), sharedProperties(),
                                &createComponent<TWRadioButton>};
    return info;
}

void TWRadioButton::setChecked(bool value)
{
    if (value == checked_ || !enabled()) return;
    checked_ = value;
    if (value && parent() != nullptr) {
        // A copy: unchecking a sibling runs its handlers, which may change the parent's children.
        const std::vector<TControl*> siblings = parent()->controls();
        for (TControl* sibling : siblings)
            if (sibling != this && sameText(sibling->classInfo().name(), "TWRadioButton"))
                if (auto* button = dynamic_cast<TWRadioButton*>(sibling)) button->setChecked(false);
    }
    PaintGlyph();
}

int TWRadioButton::glyphFrame() const
{
    if (!enabled() || !checked_) return enabled() ? 0 : 1;
    return mouseOver() ? 2 : 3;
}

void TWRadioButton::click()
{
    setChecked(true);
    TWSelectionBox::click();
}

}  // namespace trovelin
