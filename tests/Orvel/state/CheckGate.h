#pragma once
// Holds the translation checks of chosen languages until the test releases them, and counts the checks
// each language got, so that a test decides when a background recomputation may finish.

#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace orvel::testing {

class CheckGate {
  public:
    // Checks in `language` wait from now on until it is released.
    void hold(const std::string& language) {
        std::lock_guard lock(m_mutex);
        m_held.insert(language);
    }
    void release(const std::string& language) {
        {
            std::lock_guard lock(m_mutex);
            m_held.erase(language);
        }
        m_released.notify_all();
    }
    void releaseAll() {
        {
            std::lock_guard lock(m_mutex);
            m_held.clear();
        }
        m_released.notify_all();
    }

    // Called by each check as it starts: counts it, then waits while its language is held.
    void pass(std::string_view language) {
        std::unique_lock lock(m_mutex);
        ++m_started[std::string(language)];
        m_released.wait(lock, [&] { return !m_held.contains(std::string(language)); });
    }

    // The checks in `language` started so far.
    int started(const std::string& language) const {
        std::lock_guard lock(m_mutex);
        auto found = m_started.find(language);
        return found == m_started.end() ? 0 : found->second;
    }

  private:
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    std::set<std::string, std::less<>> m_held;
    std::map<std::string, int> m_started;
};

} // namespace orvel::testing
