#pragma once
// A clock whose pauses take no time, and a target app's companion that answers commands by writing its
// state file after a chosen delay on that clock.

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "core/AppState.h"
#include "core/OrvelProtocol.h"
#include "core/StringsFiles.h"
#include "engine/capture/AppLink.h"
#include "engine/capture/LiveClock.h"
#include "engine/capture/NotificationBus.h"

namespace orvel::testing {

class FakeLiveClock : public LiveClock {
  public:
    explicit FakeLiveClock(Date start) : m_now(start) {}

    Date now() const override { return m_now; }
    void pause(std::chrono::milliseconds duration) override {
        m_now += duration;
        ++pauses;
        if (onPause)
            onPause();
    }

    int pauses = 0;
    std::function<void()> onPause;

  private:
    Date m_now;
};

class FakeCompanion {
  public:
    // What the app publishes for a command; nothing leaves the state file as it is.
    using Answer = std::function<std::optional<AppState>(const Notification&)>;

    FakeCompanion(NotificationBus& bus, FakeLiveClock& clock, const AppLink& link)
        : m_clock(clock), m_stateURL(link.stateURL()) {
        m_subscription =
            bus.subscribe(std::string(OrvelProtocol::commandNotification), link.app.bundleIdentifier,
                          [this](const Notification& command) { receive(command); });
        clock.onPause = [this] { publishDue(); };
    }

    void publish(AppState state) const {
        StringsFiles::writeAtomically(OrvelProtocol::encode(state), m_stateURL);
    }

    Answer answer;
    std::chrono::milliseconds delay{0};
    std::vector<Notification> received;

  private:
    void receive(const Notification& command) {
        received.push_back(command);
        if (auto state = answer ? answer(command) : std::nullopt) {
            m_pending = std::move(state);
            m_dueAt = m_clock.now() + delay;
            publishDue();
        }
    }

    void publishDue() {
        if (m_pending && m_clock.now() >= m_dueAt) {
            m_pending->updated = m_clock.now();
            publish(*std::exchange(m_pending, std::nullopt));
        }
    }

    FakeLiveClock& m_clock;
    std::filesystem::path m_stateURL;
    NotificationBus::Subscription m_subscription;
    std::optional<AppState> m_pending;
    Date m_dueAt{};
};

} // namespace orvel::testing
