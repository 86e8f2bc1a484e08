#include "engine/capture/LiveClock.h"

#include <thread>

#include "core/Cancellation.h"

namespace orvel {
namespace {

class SystemLiveClock : public LiveClock {
  public:
    Date now() const override { return Dates::now(); }
    void pause(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
    void pauseUnlessStopped(std::chrono::milliseconds duration, const std::stop_token& token) override {
        sleepFor(duration, token);
    }
};

} // namespace

void LiveClock::pauseUnlessStopped(std::chrono::milliseconds duration, const std::stop_token& token) {
    throwIfCancelled(token);
    pause(duration);
    throwIfCancelled(token);
}

LiveClock& LiveClock::system() {
    static SystemLiveClock clock;
    return clock;
}

} // namespace orvel
