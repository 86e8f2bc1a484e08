#include "Orvel/platform/AtspiFacts.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>

namespace orvel::AtspiFacts {
namespace {

constexpr const char* accessibleInterface = "org.a11y.atspi.Accessible";
constexpr const char* propertiesInterface = "org.freedesktop.DBus.Properties";

// The questions asked of every element; each answer fills one field.
enum Question { role, states, name, description, children, interfaces, extents, questionCount };

struct Message {
    DBusMessage* message;
    ~Message() {
        if (message)
            dbus_message_unref(message);
    }
};

DBusMessage* method(AtspiAccessible* element, const char* interface, const char* member) {
    const AtspiObject& object = element->parent;
    if (!object.app || !object.app->bus_name || !object.path)
        return nullptr;
    return dbus_message_new_method_call(object.app->bus_name, object.path, interface, member);
}

DBusMessage* property(AtspiAccessible* element, const char* name) {
    DBusMessage* message = method(element, propertiesInterface, "Get");
    if (message)
        dbus_message_append_args(message, DBUS_TYPE_STRING, &accessibleInterface, DBUS_TYPE_STRING, &name,
                                 DBUS_TYPE_INVALID);
    return message;
}

DBusMessage* question(AtspiAccessible* element, Question question) {
    switch (question) {
    case role:
        return method(element, accessibleInterface, "GetRole");
    case states:
        return method(element, accessibleInterface, "GetState");
    case name:
        return property(element, "Name");
    case description:
        return property(element, "Description");
    case children:
        return method(element, accessibleInterface, "GetChildren");
    case interfaces:
        return method(element, accessibleInterface, "GetInterfaces");
    case extents: {
        DBusMessage* message = method(element, "org.a11y.atspi.Component", "GetExtents");
        const dbus_uint32_t screen = ATSPI_COORD_TYPE_SCREEN;
        if (message)
            dbus_message_append_args(message, DBUS_TYPE_UINT32, &screen, DBUS_TYPE_INVALID);
        return message;
    }
    case questionCount:
        break;
    }
    return nullptr;
}

// The answer's first argument, entered; a property's answer is the variant's content.
bool firstArgument(DBusMessage* reply, bool isProperty, DBusMessageIter& out) {
    if (!reply || dbus_message_get_type(reply) != DBUS_MESSAGE_TYPE_METHOD_RETURN)
        return false;
    DBusMessageIter top;
    if (!dbus_message_iter_init(reply, &top))
        return false;
    if (!isProperty) {
        out = top;
        return true;
    }
    if (dbus_message_iter_get_arg_type(&top) != DBUS_TYPE_VARIANT)
        return false;
    dbus_message_iter_recurse(&top, &out);
    return true;
}

template <class T> std::optional<T> basic(DBusMessageIter& iter, int type) {
    if (dbus_message_iter_get_arg_type(&iter) != type)
        return std::nullopt;
    T value{};
    dbus_message_iter_get_basic(&iter, &value);
    return value;
}

std::optional<std::string> text(DBusMessageIter& iter) {
    auto value = basic<const char*>(iter, DBUS_TYPE_STRING);
    if (!value || !*value)
        return std::nullopt;
    return std::string(*value);
}

AtspiCalls::States stateSet(DBusMessageIter& iter) {
    if (dbus_message_iter_get_arg_type(&iter) != DBUS_TYPE_ARRAY)
        return {};
    DBusMessageIter words;
    dbus_message_iter_recurse(&iter, &words);
    std::uint64_t bits = 0;
    for (int shift = 0; shift < 64 && dbus_message_iter_get_arg_type(&words) == DBUS_TYPE_UINT32;
         shift += 32) {
        dbus_uint32_t word = 0;
        dbus_message_iter_get_basic(&words, &word);
        bits |= static_cast<std::uint64_t>(word) << shift;
        dbus_message_iter_next(&words);
    }
    auto has = [&](AtspiStateType state) { return ((bits >> state) & 1U) != 0; };
    return {.showing = has(ATSPI_STATE_SHOWING),
            .active = has(ATSPI_STATE_ACTIVE),
            .singleLine = has(ATSPI_STATE_SINGLE_LINE),
            .multiLine = has(ATSPI_STATE_MULTI_LINE)};
}

void interfaceNames(DBusMessageIter& iter, Facts& facts) {
    if (dbus_message_iter_get_arg_type(&iter) != DBUS_TYPE_ARRAY)
        return;
    DBusMessageIter names;
    dbus_message_iter_recurse(&iter, &names);
    while (dbus_message_iter_get_arg_type(&names) == DBUS_TYPE_STRING) {
        const char* name = nullptr;
        dbus_message_iter_get_basic(&names, &name);
        facts.hasText = facts.hasText || std::strcmp(name, "org.a11y.atspi.Text") == 0;
        facts.hasValue = facts.hasValue || std::strcmp(name, "org.a11y.atspi.Value") == 0;
        dbus_message_iter_next(&names);
    }
}

std::optional<AtspiRect> rectangle(DBusMessageIter& iter) {
    if (dbus_message_iter_get_arg_type(&iter) != DBUS_TYPE_STRUCT)
        return std::nullopt;
    DBusMessageIter fields;
    dbus_message_iter_recurse(&iter, &fields);
    std::array<dbus_int32_t, 4> numbers{};
    for (dbus_int32_t& number : numbers) {
        if (dbus_message_iter_get_arg_type(&fields) != DBUS_TYPE_INT32)
            return std::nullopt;
        dbus_message_iter_get_basic(&fields, &number);
        dbus_message_iter_next(&fields);
    }
    return AtspiRect{.x = numbers[0], .y = numbers[1], .width = numbers[2], .height = numbers[3]};
}

// The (bus name, path) pairs of GetChildren; nothing when a child belongs to another application, whose
// objects libatspi would have to look up first.
std::optional<std::vector<AtspiCalls::GObjectPtr<AtspiAccessible>>>
childList(DBusMessageIter& iter, AtspiApplication* app, int limit) {
    if (dbus_message_iter_get_arg_type(&iter) != DBUS_TYPE_ARRAY || !app || !app->bus_name)
        return std::nullopt;
    DBusMessageIter entries;
    dbus_message_iter_recurse(&iter, &entries);
    std::vector<AtspiCalls::GObjectPtr<AtspiAccessible>> out;
    for (;
         dbus_message_iter_get_arg_type(&entries) == DBUS_TYPE_STRUCT && static_cast<int>(out.size()) < limit;
         dbus_message_iter_next(&entries)) {
        DBusMessageIter fields;
        dbus_message_iter_recurse(&entries, &fields);
        const auto bus = basic<const char*>(fields, DBUS_TYPE_STRING);
        dbus_message_iter_next(&fields);
        const auto path = basic<const char*>(fields, DBUS_TYPE_OBJECT_PATH);
        if (!bus || !path || std::strcmp(*bus, app->bus_name) != 0)
            return std::nullopt;
        out.emplace_back(_atspi_accessible_new(app, *path));
    }
    return out;
}

void answer(AtspiAccessible* element, Question question, DBusMessage* reply, int childLimit, Facts& facts) {
    DBusMessageIter iter;
    const bool isProperty = question == name || question == description;
    if (!firstArgument(reply, isProperty, iter))
        return;
    switch (question) {
    case role:
        if (auto number = basic<dbus_uint32_t>(iter, DBUS_TYPE_UINT32)) {
            gchar* roleName = atspi_role_get_name(static_cast<AtspiRole>(*number));
            facts.roleName = roleName ? roleName : "";
            g_free(roleName);
        }
        break;
    case states:
        facts.states = stateSet(iter);
        break;
    case name:
        facts.name = text(iter);
        break;
    case description:
        facts.description = text(iter);
        break;
    case children:
        facts.children = childList(iter, element->parent.app, childLimit);
        break;
    case interfaces:
        interfaceNames(iter, facts);
        break;
    case extents:
        facts.extents = rectangle(iter);
        break;
    case questionCount:
        break;
    }
}

// The questions of these elements go out together. libatspi keeps the time-out of every pending call in
// a list that it searches on each answer, so a few hundred at a time keep that search short.
constexpr std::size_t elementsInFlight = 64;

void readSome(const std::vector<AtspiAccessible*>& elements, std::size_t first, std::size_t end,
              int childLimit, int timeoutMs, std::vector<Facts>& out) {
    std::vector<DBusPendingCall*> pending((end - first) * questionCount, nullptr);
    for (std::size_t e = first; e < end; ++e) {
        DBusConnection* bus = elements[e]->parent.app ? elements[e]->parent.app->bus : nullptr;
        if (!bus)
            continue;
        for (int q = 0; q < questionCount; ++q) {
            const Message message{question(elements[e], static_cast<Question>(q))};
            if (message.message)
                dbus_connection_send_with_reply(bus, message.message,
                                                &pending[(e - first) * questionCount + q], timeoutMs);
        }
    }
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (!pending[i])
            continue;
        dbus_pending_call_block(pending[i]);
        const Message reply{dbus_pending_call_steal_reply(pending[i])};
        dbus_pending_call_unref(pending[i]);
        const std::size_t e = first + i / questionCount;
        answer(elements[e], static_cast<Question>(i % questionCount), reply.message, childLimit, out[e]);
    }
}

} // namespace

std::vector<Facts> read(const std::vector<AtspiAccessible*>& elements, int childLimit, int timeoutMs) {
    std::vector<Facts> out(elements.size());
    for (std::size_t first = 0; first < elements.size(); first += elementsInFlight)
        readSome(elements, first, std::min(elements.size(), first + elementsInFlight), childLimit, timeoutMs,
                 out);
    return out;
}

} // namespace orvel::AtspiFacts
