#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/capture/InMemoryNotificationBus.h"

namespace orvel {
namespace {

Notification note(std::string name, std::optional<std::string> object) {
    return {.name = std::move(name), .object = std::move(object), .userInfo = {{"command", "hello"}}};
}

TEST(InMemoryNotificationBus, DeliversByNameAndObject) {
    InMemoryNotificationBus bus;
    std::vector<std::string> received;
    auto addressed = bus.subscribe("orvel.command", "com.example.Notes", [&](const Notification& n) {
        received.push_back("addressed " + n.object.value_or("-") + " " +
                           n.userInfo["command"].get<std::string>());
    });
    auto any = bus.subscribe("orvel.command", std::nullopt, [&](const Notification& n) {
        received.push_back("any " + n.object.value_or("-"));
    });

    bus.post(note("orvel.command", "com.example.Notes"));
    bus.post(note("orvel.command", "com.example.Other"));
    bus.post(note("orvel.command", std::nullopt));
    bus.post(note("orvel.state", "com.example.Notes"));

    EXPECT_EQ(received,
              (std::vector<std::string>{"addressed com.example.Notes hello", "any com.example.Notes",
                                        "any com.example.Other", "any -"}));
}

TEST(InMemoryNotificationBus, EndedSubscriptionsHearNothing) {
    InMemoryNotificationBus bus;
    int calls = 0;
    auto first = bus.subscribe("orvel.state", std::nullopt, [&](const Notification&) { ++calls; });
    auto moved = std::move(first);
    bus.post(note("orvel.state", "a"));
    first.reset();
    bus.post(note("orvel.state", "a"));
    EXPECT_EQ(calls, 2);

    moved = NotificationBus::Subscription();
    bus.post(note("orvel.state", "a"));
    EXPECT_EQ(calls, 2);
}

TEST(InMemoryNotificationBus, HandlersMayPostAndUnsubscribeDuringDelivery) {
    InMemoryNotificationBus bus;
    std::vector<std::string> order;
    NotificationBus::Subscription once;
    once = bus.subscribe("orvel.command", std::nullopt, [&](const Notification&) {
        order.push_back("command");
        once.reset();
        bus.post(note("orvel.state", "a"));
    });
    auto state =
        bus.subscribe("orvel.state", std::nullopt, [&](const Notification&) { order.push_back("state"); });

    bus.post(note("orvel.command", "a"));
    bus.post(note("orvel.command", "a"));
    EXPECT_EQ(order, (std::vector<std::string>{"command", "state"}));
}

TEST(InMemoryNotificationBus, ASubscriptionMayOutliveItsBus) {
    auto bus = std::make_unique<InMemoryNotificationBus>();
    auto subscription = bus->subscribe("orvel.state", std::nullopt, [](const Notification&) {});
    bus.reset();
    subscription.reset();
}

} // namespace
} // namespace orvel
