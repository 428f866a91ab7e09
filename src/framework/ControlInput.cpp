#include "framework/ControlInput.h"

#include "framework/Keys.h"
#include "framework/WinControl.h"

namespace trovelin {
namespace {

constexpr TShiftState buttonsHeld = ssLeft | ssRight | ssMiddle;

bool contains(const TControl& tree, const TControl* control)
{
    if (control == &tree) return true;
    if (const auto* windowed = dynamic_cast<const TWinControl*>(&tree))
        for (const TControl* child : windowed->controls())
            if (contains(*child, control)) return true;
    return false;
}

TControl* topmostAt(TControl& control, TPoint point)
{
    if (const auto* windowed = dynamic_cast<const TWinControl*>(&control)) {
        const auto& children = windowed->controls();
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            TControl& c = **child;
            if (c.visible() && c.containsPoint(point.x - c.left(), point.y - c.top()))
                return topmostAt(c, {point.x - c.left(), point.y - c.top()});
        }
    }
    return &control;
}

// Offers the character to every windowed control of the tree, parents first, until one takes it.
bool offerAccelerator(TControl& control, char key)
{
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    if (windowed == nullptr) return false;
    if (windowed->dialogChar(key)) return true;
    // A copy: the control that takes the character may change its parent's children.
    const std::vector<TControl*> children = windowed->controls();
    for (TControl* child : children)
        if (contains(control, child) && offerAccelerator(*child, key)) return true;
    return false;
}

}  // namespace

bool ControlInput::stillThere(const TControl* control) const
{
    return control != nullptr && contains(root_, control);
}

TControl* ControlInput::controlAt(TPoint point) const
{
    if (!root_.visible() || !root_.containsPoint(point.x, point.y)) return nullptr;
    return topmostAt(root_, point);
}

TPoint ControlInput::local(const TControl& control, TPoint point) const
{
    const TPoint offset = control.offsetWithin(root_);
    return {point.x - offset.x, point.y - offset.y};
}

TWinControl* ControlInput::focused() const
{
    auto* windowed = dynamic_cast<TWinControl*>(&root_);
    return windowed != nullptr ? windowed->focusedControl() : nullptr;
}

void ControlInput::hover(TControl* control)
{
    TControl* previous = hovered();
    if (control == previous) return;
    hovered_ = control;
    if (previous) previous->mouseLeave();
    if (control && stillThere(control)) control->mouseEnter();
}

void ControlInput::mouseDown(TMouseButton button, TShiftState shift, TPoint point)
{
    TControl* target = captured();
    if (target == nullptr) {
        target = controlAt(point);
        hover(target);
        if (target == nullptr || !target->enabled()) return;
        captured_ = target;
    }
    if (!target->enabled()) return;
    const TPoint at = local(*target, point);
    target->mouseDown(button, shift, at.x, at.y);
}

void ControlInput::mouseMove(TShiftState shift, TPoint point)
{
    TControl* target = captured();
    if (target == nullptr) {
        target = controlAt(point);
        hover(target);
    }
    if (target == nullptr || !stillThere(target) || !target->enabled()) return;
    const TPoint at = local(*target, point);
    target->mouseMove(shift, at.x, at.y);
}

void ControlInput::mouseUp(TMouseButton button, TShiftState shift, TPoint point)
{
    TControl* target = captured();
    if (target != nullptr && target->enabled()) {
        const TPoint at = local(*target, point);
        target->mouseUp(button, shift, at.x, at.y);
    }
    if ((shift & buttonsHeld) != 0) return;
    captured_ = nullptr;
    hover(controlAt(point));
}

void ControlInput::pointerEntered(TPoint point)
{
    if (captured() == nullptr) hover(controlAt(point));
}

void ControlInput::mouseExit()
{
    // Hosts keep the pointer while a button is held, so it leaves with every button up.
    captured_ = nullptr;
    hover(nullptr);
}

void ControlInput::keyDown(int key, TShiftState shift)
{
    if (key == VK_TAB && (shift & (ssCtrl | ssAlt)) == 0) {
        if (auto* windowed = dynamic_cast<TWinControl*>(&root_)) windowed->selectNext((shift & ssShift) == 0);
        return;
    }
    if (TWinControl* target = focused()) target->keyDown(key, shift);
}

void ControlInput::keyUp(int key, TShiftState shift)
{
    if (TWinControl* target = focused()) target->keyUp(key, shift);
}

void ControlInput::keyPress(char key, bool alt)
{
    if (!alt) {
        if (TWinControl* target = focused()) target->keyPress(key);
    }
    if (key != 0) offerAccelerator(root_, key);
}

}  // namespace trovelin
