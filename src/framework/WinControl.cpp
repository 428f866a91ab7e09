#include "framework/WinControl.h"

namespace trovelin {

TWinControl::TWinControl(Component* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    // Children outlive a parent only when somebody else owns them; they lose their parent.
    std::vector<TControl*> children = controls_.items();
    for (auto child = children.rbegin(); child != children.rend(); ++child) (*child)->setParent(nullptr);
}

const ClassInfo& TWinControl::staticClassInfo()
{
    static const ClassInfo info{"TWinControl", &TControl::staticClassInfo(), {}};
    return info;
}

void TWinControl::setChildOrder(Component* child, int order)
{
    if (auto* control = dynamic_cast<TControl*>(child)) controls_.moveToPlace(control, order);
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
    for (TControl* control : controls_.items()) control->parentValueChanged(value);
}

void TWinControl::removeControl(TControl* control)
{
    controls_.remove(control);
}

}  // namespace trovelin
