#include "engine/capture/LiveClock.h"

#include <thread>

namespace orvel {
namespace {

class SystemLiveClock : public LiveClock {
  public:
    Date now() const override { return Dates::now(); }
    void pause(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
};

} // namespace

LiveClock& LiveClock::system() {
    static SystemLiveClock clock;
    return clock;
}

} // namespace orvel
