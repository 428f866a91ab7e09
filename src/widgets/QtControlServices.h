#pragma once
// The desktop services for controls shown in Qt widgets: timers on the event loop, hint windows
// as small frameless windows, and the pointer from QCursor, hidden by a blank override cursor.

#include <cstddef>
#include <map>
#include <memory>

#include "framework/ControlServices.h"
#include "framework/Timer.h"

class QTimer;

namespace trovelin {

class QtTimerService : public TimerService {
public:
    QtTimerService();
    ~QtTimerService() override;
    void arm(TTimer& timer) override;
    void disarm(TTimer& timer) override;
    // Timers armed and not yet disarmed.
    std::size_t armedCount() const { return timers_.size(); }

private:
    std::map<TTimer*, std::unique_ptr<QTimer>> timers_;
};

class QtControlServices : public ControlServices {
public:
    QtControlServices() = default;
    // Shows the pointer again if controls left it hidden.
    ~QtControlServices() override;
    QtControlServices(const QtControlServices&) = delete;
    QtControlServices& operator=(const QtControlServices&) = delete;

    TimerService& timers() override { return timers_; }
    const QtTimerService& qtTimers() const { return timers_; }
    std::unique_ptr<HintDisplay> createHintDisplay() override;
    TPoint cursorPos() const override;
    void showCursor(bool show) override;
    void setCursorPos(TPoint screenPoint) override;

private:
    QtTimerService timers_;
    int hides_ = 0;  // hides not yet matched by a show
};

}  // namespace trovelin
