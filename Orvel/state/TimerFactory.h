#pragma once
// Debounces of the application's state: restartable single-shot timers on the main thread. The
// application makes them from Qt's timers; tests make them from a clock they advance by hand, so that
// a pause of half a second takes no time.

#include <chrono>
#include <functional>
#include <memory>

namespace orvel {

class RestartableTimer {
  public:
    virtual ~RestartableTimer() = default;

    // Counts `delay` from now; a countdown already running is dropped, so a burst of starts fires once,
    // `delay` after the last.
    virtual void start(std::chrono::milliseconds delay) = 0;
    // Drops the running countdown, if any.
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

class TimerFactory {
  public:
    virtual ~TimerFactory() = default;

    // A stopped timer that calls `fire` on the main thread each time a countdown runs out. Destroying
    // the timer stops it, so `fire` may use whatever owns the timer.
    virtual std::unique_ptr<RestartableTimer> makeTimer(std::function<void()> fire) = 0;
};

} // namespace orvel
