#pragma once
// Windowed controls: controls that hold child controls and pass inheritable values on.

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

    void parentValueChanged(InheritedValue value) override;

protected:
    void notifyChildren(InheritedValue value) override;

private:
    friend class TControl;
    void insertControl(TControl* control) { controls_.append(control); }
    void removeControl(TControl* control);

    ChildList<TControl> controls_;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
    bool dockSite_ = false;
    std::int32_t helpContext_ = 0;
    std::int32_t tabOrder_ = -1;
    bool tabStop_ = false;
};

}  // namespace trovelin
