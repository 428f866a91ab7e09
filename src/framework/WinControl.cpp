#include "framework/WinControl.h"

#include <algorithm>

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
    topLevel().dropFocusWithin(*control);
    controls_.remove(control);
}

TWinControl& TWinControl::topLevel()
{
    TWinControl* top = this;
    while (top->parent()) top = top->parent();
    return *top;
}

const TWinControl& TWinControl::topLevel() const
{
    return const_cast<TWinControl*>(this)->topLevel();
}

bool TWinControl::canFocus() const
{
    for (const TControl* c = this; c != nullptr; c = c->parent())
        if (!c->visible() || !c->enabled()) return false;
    return true;
}

bool TWinControl::focused() const { return focusedControl() == this; }

TWinControl* TWinControl::focusedControl() const { return topLevel().focusedControl_; }

void TWinControl::setFocus()
{
    TWinControl& top = topLevel();
    if (!canFocus() || top.focusedControl_ == this) return;
    TWinControl* previous = top.focusedControl_;
    top.focusedControl_ = this;
    if (previous) previous->doExit();
    // The previous holder's handler may have moved the focus on.
    if (top.focusedControl_ == this) doEnter();
}

void TWinControl::clearFocus()
{
    TWinControl& top = topLevel();
    TWinControl* previous = top.focusedControl_;
    top.focusedControl_ = nullptr;
    if (previous) previous->doExit();
}

bool TWinControl::within(const TControl* control, const TControl& subtree)
{
    for (const TControl* c = control; c != nullptr; c = c->parent())
        if (c == &subtree) return true;
    return false;
}

void TWinControl::dropFocusWithin(const TControl& subtree)
{
    if (within(focusedControl_, subtree)) focusedControl_ = nullptr;
}

void TWinControl::moveFocusOutOf(const TControl& subtree)
{
    TWinControl* holder = focusedControl_;
    if (!within(holder, subtree)) return;
    std::vector<TWinControl*> order;
    collectInTabOrder(order);
    const auto at = std::find(order.begin(), order.end(), holder);
    const auto count = static_cast<std::ptrdiff_t>(order.size());
    const std::ptrdiff_t from = at - order.begin();
    for (std::ptrdiff_t step = 1; step < count; ++step) {
        TWinControl* next = order[static_cast<std::size_t>((from + step) % count)];
        if (next->isTabStop()) {
            next->setFocus();
            return;
        }
    }
    focusedControl_ = nullptr;
    holder->doExit();
}

void TWinControl::collectInTabOrder(std::vector<TWinControl*>& order)
{
    std::vector<TWinControl*> children;
    for (TControl* control : controls())
        if (auto* windowed = dynamic_cast<TWinControl*>(control)) children.push_back(windowed);
    std::stable_sort(children.begin(), children.end(), [](const TWinControl* a, const TWinControl* b) {
        const bool aOrdered = a->tabOrder_ >= 0, bOrdered = b->tabOrder_ >= 0;
        if (aOrdered != bOrdered) return aOrdered;
        return aOrdered && a->tabOrder_ < b->tabOrder_;
    });
    for (TWinControl* child : children) {
        order.push_back(child);
        child->collectInTabOrder(order);
    }
}

void TWinControl::selectNext(bool forward)
{
    std::vector<TWinControl*> stops;
    topLevel().collectInTabOrder(stops);
    std::erase_if(stops, [](const TWinControl* c) { return !c->isTabStop(); });
    if (stops.empty()) return;
    const auto current = std::find(stops.begin(), stops.end(), focusedControl());
    const auto count = static_cast<std::ptrdiff_t>(stops.size());
    std::ptrdiff_t next = 0;
    if (current != stops.end())
        next = ((current - stops.begin()) + (forward ? 1 : count - 1)) % count;
    else if (!forward)
        next = count - 1;
    stops[static_cast<std::size_t>(next)]->setFocus();
}

void TWinControl::doEnter()
{
    if (onEnterHandler) onEnterHandler(*this);
}

void TWinControl::doExit()
{
    if (onExitHandler) onExitHandler(*this);
}

void TWinControl::keyDown(int& key, TShiftState shift)
{
    if (onKeyDownHandler) onKeyDownHandler(*this, key, shift);
}

void TWinControl::keyUp(int& key, TShiftState shift)
{
    if (onKeyUpHandler) onKeyUpHandler(*this, key, shift);
}

void TWinControl::keyPress(char&) {}

}  // namespace trovelin
