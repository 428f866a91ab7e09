#pragma once
// What controls ask of the desktop beyond painting: timers, hint windows and the pointer (its
// screen position, hiding it and moving it). A control reaches them through its host; the app
// gives Qt's, tests give their own, with a clock turned by hand.

#include <memory>

#include "framework/Geometry.h"

namespace trovelin {

class HintDisplay;
class TimerService;

class ControlServices {
public:
    virtual ~ControlServices() = default;
    virtual TimerService& timers() = 0;
    virtual std::unique_ptr<HintDisplay> createHintDisplay() = 0;
    // The pointer's position on the screen.
    virtual TPoint cursorPos() const = 0;
    // Hides and shows the pointer through a count, as the original's show-cursor call does: the
    // pointer shows again once every hide has been matched by a show.
    virtual void showCursor(bool show) = 0;
    virtual void setCursorPos(TPoint screenPoint) = 0;
};

}  // namespace trovelin
