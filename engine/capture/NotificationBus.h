#pragma once
// Named notifications between processes of the same session: commands to running target apps, and the
// note they post after publishing their state. The application injects the session bus; tests and
// single-process use take InMemoryNotificationBus.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/Json.h"

namespace orvel {

struct Notification {
    std::string name;
    // Usually the bundle identifier the notification is about or addressed to.
    std::optional<std::string> object;
    // A JSON object of property-list values (texts, Booleans, numbers).
    json::Json userInfo = json::Json::object();

    // Anyone on the session bus can send a notification: more than this is not one of ours.
    static constexpr std::size_t maximumUserInfoBytes = std::size_t{1} << 20;
    // The user info a notification carries as JSON text; nothing for text beyond the cap, text that is
    // not JSON or nested too deeply, and any value but an object.
    static std::optional<json::Json> userInfoFrom(std::string_view text);
};

class NotificationBus {
  public:
    using Handler = std::function<void(const Notification&)>;

    // Keeps a handler registered while it lives. Ending it (destruction, reset or assignment) removes the
    // handler; a delivery already under way on another thread may still finish.
    class Subscription {
      public:
        Subscription() = default;
        explicit Subscription(std::function<void()> cancel) : m_cancel(std::move(cancel)) {}
        Subscription(Subscription&& other) noexcept : m_cancel(std::exchange(other.m_cancel, nullptr)) {}
        Subscription& operator=(Subscription&& other) noexcept;
        Subscription(const Subscription&) = delete;
        Subscription& operator=(const Subscription&) = delete;
        ~Subscription() { reset(); }

        void reset();

      private:
        std::function<void()> m_cancel;
    };

    virtual ~NotificationBus() = default;

    // Delivers at once to every matching subscriber; never fails and tells nothing of who received it.
    virtual void post(const Notification& notification) = 0;

    // Calls `handler` for every later notification named `name` whose object equals `object`, or for every
    // object when `object` is absent.
    [[nodiscard]] virtual Subscription subscribe(std::string name, std::optional<std::string> object,
                                                 Handler handler) = 0;
};

} // namespace orvel
