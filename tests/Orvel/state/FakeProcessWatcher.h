#pragma once
// Launches and quits that happen when the test says so.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "Orvel/state/ProcessWatcher.h"

namespace orvel::testing {

class FakeProcessWatcher : public ProcessWatcher {
  public:
    [[nodiscard]] Subscription subscribe(std::function<void()> changed) override {
        const std::uint64_t id = m_next++;
        (*m_handlers)[id] = std::move(changed);
        return Subscription([handlers = std::weak_ptr(m_handlers), id] {
            if (auto alive = handlers.lock())
                alive->erase(id);
        });
    }

    // An application was launched or quit: every subscriber hears of it.
    void launchOrQuit() const {
        std::vector<std::function<void()>> handlers;
        for (const auto& [id, handler] : *m_handlers)
            handlers.push_back(handler);
        for (const auto& handler : handlers)
            handler();
    }

    std::size_t subscribers() const { return m_handlers->size(); }

  private:
    std::shared_ptr<std::map<std::uint64_t, std::function<void()>>> m_handlers =
        std::make_shared<std::map<std::uint64_t, std::function<void()>>>();
    std::uint64_t m_next = 0;
};

} // namespace orvel::testing
