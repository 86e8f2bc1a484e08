#pragma once
// The application's timers: single-shot QTimers of the main thread's event loop.

#include "Orvel/state/TimerFactory.h"

namespace orvel {

class QtTimerFactory : public TimerFactory {
  public:
    // Call on the main thread; the timers belong to the thread that makes them.
    std::unique_ptr<RestartableTimer> makeTimer(std::function<void()> fire) override;
};

} // namespace orvel
