#include "framework/Timer.h"

namespace trovelin {

TTimer::TTimer(TimerService& service) : service_(service)
{
    update();
}

TTimer::~TTimer()
{
    service_.disarm(*this);
}

void TTimer::setInterval(int milliseconds)
{
    if (milliseconds == interval_) return;
    interval_ = milliseconds;
    update();
}

void TTimer::setEnabled(bool value)
{
    if (value == enabled_) return;
    enabled_ = value;
    update();
}

void TTimer::update()
{
    service_.disarm(*this);
    // A timer without an interval or a handler never fires.
    if (enabled_ && interval_ > 0) service_.arm(*this);
}

void TTimer::fire()
{
    if (onTimer) onTimer();
}

}  // namespace trovelin
