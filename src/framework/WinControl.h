#pragma once
// Windowed controls: controls that hold child controls and pass inheritable values on, take the
// keyboard focus and receive keys while they have it.

#include <vector>

#include "framework/Control.h"
#include "streaming/ChildList.h"

namespace trovelin {

class TWinControl : public TControl {
public:
    explicit TWinControl(Component* owner);
    ~TWinControl() override;

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Child controls in z-order, first is bottom-most.
    const std::vector<TControl*>& controls() const { return controls_.items(); }
    // In constant time, however many children there are.
    bool hasControl(TControl* control) const { return controls_.contains(control); }
    void setChildOrder(Component* child, int order) override;

    bool ctl3D() const { return ctl3D_; }
    void setCtl3D(bool value);
    bool parentCtl3D() const { return parentCtl3D_; }
    void setParentCtl3D(bool value);
    bool dockSite() const { return dockSite_; }
    void setDockSite(bool value) { dockSite_ = value; }
    std::int32_t helpContext() const { return helpContext_; }
    void setHelpContext(std::int32_t value) { helpContext_ = value; }
    std::int32_t tabOrder() const { return tabOrder_; }
    void setTabOrder(std::int32_t value) { tabOrder_ = value; }
    bool tabStop() const { return tabStop_; }
    void setTabStop(bool value) { tabStop_ = value; }

    MethodRef onDockDrop, onDockOver, onEnter, onExit, onGetSiteInfo, onUnDock;
    MethodRef onKeyDown, onKeyPress, onKeyUp;

    void parentValueChanged(InheritedValue value) override;

    // Focus: of all windowed controls under one top-level control, at most one has it; the
    // top-level control keeps which.
    // Visible and enabled, and so are all its parents.
    bool canFocus() const;
    bool focused() const;
    // Takes the focus when the control can: the previous holder gets doExit, then this doEnter.
    void setFocus();
    // The control that has the focus in this control's tree loses it (doExit) to none, as when
    // the host's keyboard moves on to a control without a window.
    void clearFocus();
    // The control that has the focus in this control's tree, or null.
    TWinControl* focusedControl() const;
    // Moves the focus to the next (or previous) control that can take it and has TabStop, in the
    // order of TabOrder within each parent (controls without one follow, in the order they came),
    // parents before their children; wraps round.
    void selectNext(bool forward);

    // Keys for the focused control; a handler that uses a key sets it to 0.
    virtual void keyDown(int& key, TShiftState shift);
    virtual void keyUp(int& key, TShiftState shift);
    virtual void keyPress(char& key);
    // A character nothing used, offered to every control in turn: true when it was this
    // control's accelerator and the control acted on it.
    virtual bool dialogChar(char) { return false; }

    TNotifyEvent onEnterHandler, onExitHandler;
    std::function<void(TControl& sender, int& key, TShiftState shift)> onKeyDownHandler, onKeyUpHandler;

protected:
    void notifyChildren(InheritedValue value) override;
    virtual void doEnter();
    virtual void doExit();

private:
    friend class TControl;
    void insertControl(TControl* control) { controls_.append(control); }
    void removeControl(TControl* control);
    TWinControl& topLevel();
    const TWinControl& topLevel() const;
    static bool within(const TControl* control, const TControl& subtree);
    // Forgets the focus when the focused control is `subtree` or lies inside it.
    void dropFocusWithin(const TControl& subtree);
    // On the top-level control, when `subtree` can no longer take the focus: a focused control
    // in it passes the focus to the next tab stop, or, with none left, loses it.
    void moveFocusOutOf(const TControl& subtree);
    // Every windowed control below this one, in the order Tab visits them.
    void collectInTabOrder(std::vector<TWinControl*>& order);
    bool isTabStop() const { return tabStop_ && canFocus(); }

    ChildList<TControl> controls_;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
    bool dockSite_ = false;
    std::int32_t helpContext_ = 0;
    std::int32_t tabOrder_ = -1;
    bool tabStop_ = false;
    TWinControl* focusedControl_ = nullptr;  // kept by the top-level control only
};

// A windowed control that paints itself: the base of owner-drawn widgets.
class TCustomControl : public TWinControl {
public:
    using TWinControl::TWinControl;
};

}  // namespace trovelin
