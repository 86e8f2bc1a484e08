#pragma once
// Cooperative cancellation: blocking work takes a std::stop_token, checks it, and waits on it.

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <stop_token>

namespace orvel {

// Thrown when work ends because its stop token was triggered. Callers treat it as "nothing to report".
class CancellationError : public std::exception {
  public:
    const char* what() const noexcept override { return "The operation was cancelled."; }
};

inline void throwIfCancelled(const std::stop_token& token) {
    if (token.stop_requested())
        throw CancellationError();
}

// Sleeps for `duration` unless a stop is requested first; throws CancellationError then.
template <class Rep, class Period>
void sleepFor(std::chrono::duration<Rep, Period> duration, const std::stop_token& token) {
    std::mutex mutex;
    std::condition_variable_any wakeup;
    std::unique_lock lock(mutex);
    wakeup.wait_for(lock, token, duration, [] { return false; });
    throwIfCancelled(token);
}

} // namespace orvel
