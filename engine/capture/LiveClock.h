#pragma once
// The time the live protocol waits by: the current date (compared with the dates a target app writes)
// and the pause between two looks at its state. Tests drive their own clock so that waits of seconds
// take no time.

#include <chrono>
#include <stop_token>

#include "core/Date.h"

namespace orvel {

class LiveClock {
  public:
    virtual ~LiveClock() = default;

    virtual Date now() const = 0;
    // Waits the whole duration; cancellation of the caller does not cut it short.
    virtual void pause(std::chrono::milliseconds duration) = 0;
    // Waits the duration unless a stop is requested before it ends; then throws CancellationError at once.
    // Clocks whose pauses take no real time need not override it: it checks for a stop around pause().
    virtual void pauseUnlessStopped(std::chrono::milliseconds duration, const std::stop_token& token);

    // The system's clock, shared by the whole process.
    static LiveClock& system();
};

} // namespace orvel
