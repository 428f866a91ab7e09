#pragma once
// What shows a control on screen and paints it when asked. Controls reach it through their own
// link or their parent chain, so a control never needs to know which kind of window shows it.

namespace trovelin {

class TControl;

class ControlHost {
public:
    virtual ~ControlHost() = default;
    // The control's look changed; paint it at the next opportunity.
    virtual void invalidateControl(TControl& control) = 0;
    // The control's look changed; paint it now, before the caller goes on.
    virtual void repaintControl(TControl& control) = 0;
};

}  // namespace trovelin
