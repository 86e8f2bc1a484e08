#pragma once
// A value paired with the lock that guards it, shared by reference between tasks.

#include <mutex>
#include <utility>

namespace orvel {

template <class T> class Locked {
  public:
    explicit Locked(T initial = T{}) : m_value(std::move(initial)) {}
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

    // Runs `body` with the value while the lock is held; a check-and-refresh may span the whole call.
    template <class F> decltype(auto) withLock(F&& body) {
        std::lock_guard guard(m_lock);
        return std::forward<F>(body)(m_value);
    }

    T get() const {
        std::lock_guard guard(m_lock);
        return m_value;
    }

    void set(T value) {
        std::lock_guard guard(m_lock);
        m_value = std::move(value);
    }

  private:
    mutable std::mutex m_lock;
    T m_value;
};

} // namespace orvel
