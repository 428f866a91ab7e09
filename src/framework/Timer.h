#pragma once
// The framework's timer: calls onTimer every `interval` milliseconds while enabled. What counts
// the time is a TimerService: the application's event loop, or a test's hand-turned clock.
// Changing the interval or enabling the timer starts the count afresh, as the original's
// timer does.

#include <functional>

namespace trovelin {

class TTimer;

class TimerService {
public:
    virtual ~TimerService() = default;
    // Starts counting timer.interval() from now; the service calls timer.fire() when it has passed,
    // and again every interval until disarm.
    virtual void arm(TTimer& timer) = 0;
    virtual void disarm(TTimer& timer) = 0;
};

class TTimer {
public:
    // Enabled, with an interval of 1000 ms, as the original's timer starts.
    explicit TTimer(TimerService& service);
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    int interval() const { return interval_; }
    void setInterval(int milliseconds);
    bool enabled() const { return enabled_; }
    void setEnabled(bool value);

    std::function<void()> onTimer;
    // Called by the service. The handler may destroy the timer.
    void fire();

private:
    void update();

    TimerService& service_;
    int interval_ = 1000;
    bool enabled_ = true;
};

}  // namespace trovelin
