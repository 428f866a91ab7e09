#pragma once
// What shows a control on screen and paints it when asked. Controls reach it through their own
// link or their parent chain, so a control never needs to know which kind of window shows it.

#include <functional>

#include "framework/Geometry.h"

namespace trovelin {

class ControlServices;
class TCanvas;
class TControl;

class ControlHost {
public:
    virtual ~ControlHost() = default;
    // The control's look changed; paint it at the next opportunity.
    virtual void invalidateControl(TControl& control) = 0;
    // The control's look changed; paint it now, before the caller goes on.
    virtual void repaintControl(TControl& control) = 0;
    // Draws on what the control shows, outside a paint, as the original's controls draw on their
    // canvas between paints; the canvas origin is the control's top left.
    virtual void drawOnControl(TControl& control, const std::function<void(TCanvas&)>& draw) = 0;
    // A point of the control's client area on the screen.
    virtual TPoint clientToScreen(const TControl& control, TPoint point) const = 0;
    // A screen point in the control's client area: the inverse of clientToScreen, so that a
    // zoomed host gives the control its own pixels.
    virtual TPoint screenToClient(const TControl& control, TPoint point) const = 0;
    // Timers, hint windows and the pointer; null where there are none.
    virtual ControlServices* services() = 0;
};

}  // namespace trovelin
