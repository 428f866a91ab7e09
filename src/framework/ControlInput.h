#pragma once
// Hands a host's mouse and keyboard input to the controls of one tree, as the desktop hands
// its messages to windows: the pointer goes to the topmost visible control under it (or to the
// control a held button captured), enter and leave follow the pointer from control to control,
// and keys go to the focused control, with Tab moving the focus and unused characters offered
// as accelerators. Hosts give positions in the root's client coordinates.

#include "framework/Control.h"

namespace trovelin {

class TWinControl;

class ControlInput {
public:
    // `root` must outlive the router.
    explicit ControlInput(TControl& root) : root_(root) {}

    // The topmost visible control at a point of the root's client area; the root itself where
    // no child covers the point, null outside the root.
    TControl* controlAt(TPoint point) const;
    // The control the pointer is over, and the one a held button captured; null for none.
    TControl* hovered() const { return stillThere(hovered_) ? hovered_ : nullptr; }
    TControl* captured() const { return stillThere(captured_) ? captured_ : nullptr; }

    // Mouse buttons and moves reach a control only while it is enabled; enter and leave reach
    // it whatever its state.
    void mouseDown(TMouseButton button, TShiftState shift, TPoint point);
    void mouseMove(TShiftState shift, TPoint point);
    void mouseUp(TMouseButton button, TShiftState shift, TPoint point);
    // The pointer came into the host at `point`, and left it (which also ends a capture).
    void pointerEntered(TPoint point);
    void mouseExit();

    void keyDown(int key, TShiftState shift);
    void keyUp(int key, TShiftState shift);
    // A typed character; with `alt` it goes straight to the accelerators.
    void keyPress(char key, bool alt);

private:
    // Controls may come and go between events (a radio group rebuilds its buttons); a pointer
    // kept from an earlier event is used only while the control is still in the tree.
    bool stillThere(const TControl* control) const;
    void hover(TControl* control);
    TPoint local(const TControl& control, TPoint point) const;
    TWinControl* focused() const;

    TControl& root_;
    TControl* hovered_ = nullptr;
    TControl* captured_ = nullptr;
};

}  // namespace trovelin
