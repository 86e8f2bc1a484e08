#include "Orvel/platform/AtspiCalls.h"

#include <algorithm>
#include <atomic>
#include <chrono>

#include "Orvel/platform/AtspiMessages.h"

namespace orvel::AtspiCalls {
namespace {

using AtspiMessages::basic;

std::atomic<int> callTimeout{-1};

// The answer to one question, or nothing once the read was given up.
DBusMessagePtr askOne(AtspiExchange& exchange, AtspiExchange::Question question) {
    std::vector<AtspiExchange::Question> questions;
    questions.push_back(std::move(question));
    return std::move(exchange.ask(std::move(questions)).front());
}

std::optional<std::string> stringProperty(AtspiExchange& exchange, AtspiAccessible* accessible,
                                          const char* interface, const char* name) {
    const DBusMessagePtr reply = askOne(exchange, AtspiMessages::property(accessible, interface, name));
    DBusMessageIter iter;
    if (!AtspiMessages::firstArgument(reply.get(), true, iter))
        return std::nullopt;
    return AtspiMessages::text(iter);
}

// Whether the process that owns the element has left the bus; asked of the bus itself.
bool processGone(AtspiExchange& exchange, AtspiAccessible* accessible) {
    AtspiApplication* app = accessible->parent.app;
    if (!app || !app->bus || !app->bus_name)
        return false;
    AtspiExchange::Question question{
        app->bus, DBusMessagePtr(dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS,
                                                              DBUS_INTERFACE_DBUS, "NameHasOwner"))};
    const char* name = app->bus_name;
    if (!question.message ||
        !dbus_message_append_args(question.message.get(), DBUS_TYPE_STRING, &name, DBUS_TYPE_INVALID))
        return false;
    const DBusMessagePtr reply = askOne(exchange, std::move(question));
    DBusMessageIter iter;
    if (!AtspiMessages::firstArgument(reply.get(), false, iter))
        return false;
    return basic<dbus_bool_t>(iter, DBUS_TYPE_BOOLEAN) == dbus_bool_t(false);
}

} // namespace

void setTimeout(int milliseconds) {
    callTimeout = milliseconds;
    atspi_set_timeout(milliseconds, -1);
}

int timeoutMs() {
    return callTimeout;
}

std::optional<std::string> name(AtspiExchange& exchange, AtspiAccessible* accessible) {
    return stringProperty(exchange, accessible, AtspiMessages::accessibleInterface, "Name");
}

std::optional<std::string> toolkitName(AtspiExchange& exchange, AtspiAccessible* application) {
    return stringProperty(exchange, application, "org.a11y.atspi.Application", "ToolkitName");
}

std::optional<std::string> toolkitVersion(AtspiExchange& exchange, AtspiAccessible* application) {
    return stringProperty(exchange, application, "org.a11y.atspi.Application", "Version");
}

std::optional<std::string> objectAttribute(AtspiExchange& exchange, AtspiAccessible* accessible,
                                           const char* key) {
    const DBusMessagePtr reply = askOne(
        exchange, AtspiMessages::method(accessible, AtspiMessages::accessibleInterface, "GetAttributes"));
    DBusMessageIter iter;
    if (!AtspiMessages::firstArgument(reply.get(), false, iter) ||
        dbus_message_iter_get_arg_type(&iter) != DBUS_TYPE_ARRAY)
        return std::nullopt;
    DBusMessageIter entries;
    dbus_message_iter_recurse(&iter, &entries);
    for (; dbus_message_iter_get_arg_type(&entries) == DBUS_TYPE_DICT_ENTRY;
         dbus_message_iter_next(&entries)) {
        DBusMessageIter pair;
        dbus_message_iter_recurse(&entries, &pair);
        const auto name = AtspiMessages::text(pair);
        if (!name || *name != key || !dbus_message_iter_next(&pair))
            continue;
        return AtspiMessages::text(pair);
    }
    return std::nullopt;
}

std::vector<std::optional<std::string>> texts(AtspiExchange& exchange,
                                              const std::vector<AtspiAccessible*>& accessibles, int limit) {
    constexpr const char* textInterface = "org.a11y.atspi.Text";
    std::vector<AtspiExchange::Question> counts;
    for (AtspiAccessible* accessible : accessibles)
        counts.push_back(AtspiMessages::property(accessible, textInterface, "CharacterCount"));
    const std::vector<DBusMessagePtr> countReplies = exchange.ask(std::move(counts));
    // A toolkit may read past the end of its text when asked for more than it has, so every element is
    // asked for exactly what it holds, up to the limit.
    std::vector<AtspiExchange::Question> reads(accessibles.size());
    std::vector<std::optional<std::string>> out(accessibles.size());
    for (std::size_t i = 0; i < accessibles.size(); ++i) {
        DBusMessageIter iter;
        if (!AtspiMessages::firstArgument(countReplies[i].get(), true, iter))
            continue;
        const auto count = basic<dbus_int32_t>(iter, DBUS_TYPE_INT32);
        if (!count || *count < 0)
            continue;
        if (*count == 0) {
            out[i] = std::string();
            continue;
        }
        reads[i] = AtspiMessages::method(accessibles[i], textInterface, "GetText");
        const dbus_int32_t start = 0;
        const dbus_int32_t end = std::min(*count, limit);
        if (reads[i].message)
            dbus_message_append_args(reads[i].message.get(), DBUS_TYPE_INT32, &start, DBUS_TYPE_INT32, &end,
                                     DBUS_TYPE_INVALID);
    }
    const std::vector<DBusMessagePtr> textReplies = exchange.ask(std::move(reads));
    for (std::size_t i = 0; i < accessibles.size(); ++i) {
        DBusMessageIter iter;
        if (AtspiMessages::firstArgument(textReplies[i].get(), false, iter))
            out[i] = AtspiMessages::text(iter, true);
    }
    return out;
}

std::optional<double> currentValue(AtspiExchange& exchange, AtspiAccessible* accessible) {
    const DBusMessagePtr reply =
        askOne(exchange, AtspiMessages::property(accessible, "org.a11y.atspi.Value", "CurrentValue"));
    DBusMessageIter iter;
    if (!AtspiMessages::firstArgument(reply.get(), true, iter))
        return std::nullopt;
    return basic<double>(iter, DBUS_TYPE_DOUBLE);
}

std::vector<GObjectPtr<AtspiAccessible>> childrenOneByOne(AtspiExchange& exchange,
                                                          AtspiAccessible* accessible, int limit) {
    // libatspi reports a time-out as any other failure; only the time it took tells them apart. A quick
    // failure may be an app that has gone, whose every later call fails as quickly.
    auto call = [&](auto&& read) {
        const auto start = std::chrono::steady_clock::now();
        GError* error = nullptr;
        auto out = read(&error);
        if (error && std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(timeoutMs()))
            exchange.giveUp();
        else if (error && processGone(exchange, accessible))
            exchange.giveUp();
        const bool failed = error != nullptr;
        g_clear_error(&error);
        return std::make_pair(out, failed);
    };
    std::vector<GObjectPtr<AtspiAccessible>> out;
    // Each call waits up to the time-out of its own: the read's bound is kept between them.
    if (exchange.givenUp() || exchange.outOfTime())
        return out;
    const auto [count, countFailed] =
        call([&](GError** error) { return atspi_accessible_get_child_count(accessible, error); });
    for (int i = 0;
         !countFailed && i < std::clamp(count, 0, limit) && !exchange.givenUp() && !exchange.outOfTime();
         ++i) {
        auto [child, failed] =
            call([&](GError** error) { return atspi_accessible_get_child_at_index(accessible, i, error); });
        if (child && !failed)
            out.emplace_back(child);
        else if (child)
            g_object_unref(child);
    }
    return out;
}

} // namespace orvel::AtspiCalls
