#include "framework/WinControl.h"

#include <algorithm>


namespace trovelin {

TWinControl::TWinControl(Component* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    // Children outlive a parent only when somebody else owns them; they lose their parent.
    while (!controls_.empty()) controls_.back()->setParent(nullptr);
}

const ClassInfo& TWinControl::staticClassInfo()
{
    static const ClassInfo info{"TWinControl", &TControl::staticClassInfo(), {}};
    return info;
}

void TWinControl::setChildOrder(Component* child, int order)
{
    moveToPlace(controls_, dynamic_cast<TControl*>(child), order);
}

void TWinControl::setCtl3D(bool value)
{
    ctl3D_ = value;
    parentCtl3D_ = false;
    notifyChildren(InheritedValue::Ctl3D);
}

void TWinControl::setParentCtl3D(bool value)
{
    parentCtl3D_ = value;
    if (value && parent()) parentValueChanged(InheritedValue::Ctl3D);
}

void TWinControl::parentValueChanged(InheritedValue value)
{
    if (value == InheritedValue::Ctl3D) {
        if (parentCtl3D_ && parent()) {
            ctl3D_ = parent()->ctl3D();
            notifyChildren(InheritedValue::Ctl3D);
        }
        return;
    }
    TControl::parentValueChanged(value);
}

void TWinControl::notifyChildren(InheritedValue value)
{
    for (TControl* control : controls_) control->parentValueChanged(value);
}

void TWinControl::removeControl(TControl* control)
{
    std::erase(controls_, control);
}

}  // namespace trovelin
