#pragma once
// The launches and quits of applications, found by comparing the running bundle processes at a steady
// pace on the main thread. Nothing is polled while no one listens.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "Orvel/state/ProcessWatcher.h"
#include "Orvel/state/TimerFactory.h"
#include "engine/apps/AppPlatform.h"

namespace orvel {

class PollingProcessWatcher : public ProcessWatcher {
  public:
    static constexpr std::chrono::milliseconds defaultInterval{2000};

    // `platform` lists the processes and `timers` paces the looks; both must outlive the watcher, which
    // is made and used on the main thread.
    PollingProcessWatcher(const AppPlatform& platform, TimerFactory& timers,
                          std::chrono::milliseconds interval = defaultInterval);
    ~PollingProcessWatcher() override;

    [[nodiscard]] Subscription subscribe(std::function<void()> changed) override;

  private:
    using Snapshot = std::set<std::pair<std::int32_t, std::filesystem::path>>;

    Snapshot look() const;
    void tick();

    const AppPlatform& m_platform;
    std::chrono::milliseconds m_interval;
    std::unique_ptr<RestartableTimer> m_timer;
    Snapshot m_last;
    std::map<std::uint64_t, std::function<void()>> m_handlers;
    std::uint64_t m_nextHandler = 0;
    // Lets a subscription that outlives the watcher end harmlessly.
    std::shared_ptr<PollingProcessWatcher*> m_self = std::make_shared<PollingProcessWatcher*>(this);
};

} // namespace orvel
