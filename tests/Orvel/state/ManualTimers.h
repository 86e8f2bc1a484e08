#pragma once
// Timers on a clock the test moves by hand: a debounce of half a second passes in advance(500ms),
// without waiting.

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "Orvel/state/TimerFactory.h"

namespace orvel::testing {

class ManualTimers : public TimerFactory {
  public:
    std::unique_ptr<RestartableTimer> makeTimer(std::function<void()> fire) override {
        auto countdown = std::make_shared<Countdown>(Countdown{std::move(fire), std::nullopt});
        m_countdowns.push_back(countdown);
        return std::make_unique<Timer>(*this, std::move(countdown));
    }

    // Moves the clock forward, firing every countdown that runs out on the way, earliest first.
    void advance(std::chrono::milliseconds duration) {
        const std::chrono::milliseconds until = m_now + duration;
        while (auto countdown = nextDue(until)) {
            m_now = *countdown->dueAt;
            countdown->dueAt.reset();
            ++fired;
            countdown->fire();
        }
        m_now = until;
    }

    // Countdowns fired so far.
    int fired = 0;

  private:
    struct Countdown {
        std::function<void()> fire;
        std::optional<std::chrono::milliseconds> dueAt;
    };

    class Timer : public RestartableTimer {
      public:
        Timer(ManualTimers& owner, std::shared_ptr<Countdown> countdown)
            : m_owner(owner), m_countdown(std::move(countdown)) {}
        void start(std::chrono::milliseconds delay) override { m_countdown->dueAt = m_owner.m_now + delay; }
        void stop() override { m_countdown->dueAt.reset(); }
        bool isActive() const override { return m_countdown->dueAt.has_value(); }

      private:
        ManualTimers& m_owner;
        std::shared_ptr<Countdown> m_countdown;
    };

    std::shared_ptr<Countdown> nextDue(std::chrono::milliseconds until) {
        std::shared_ptr<Countdown> next;
        for (const auto& weak : m_countdowns)
            if (auto countdown = weak.lock(); countdown && countdown->dueAt && *countdown->dueAt <= until &&
                                              (!next || *countdown->dueAt < *next->dueAt))
                next = countdown;
        return next;
    }

    std::chrono::milliseconds m_now{0};
    std::vector<std::weak_ptr<Countdown>> m_countdowns;
};

} // namespace orvel::testing
