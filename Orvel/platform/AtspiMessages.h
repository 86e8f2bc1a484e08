#pragma once
// The AT-SPI questions as D-Bus messages, and the reading of their answers, for the reads that go out
// in batches rather than one libatspi call at a time.

#include <initializer_list>
#include <optional>
#include <string>

#include <atspi/atspi.h>

#include "Orvel/platform/AtspiExchange.h"

namespace orvel::AtspiMessages {

inline constexpr const char* accessibleInterface = "org.a11y.atspi.Accessible";

// A method call to the element's object; null when the element names no object.
AtspiExchange::Question method(AtspiAccessible* element, const char* interface, const char* member);
// The value of one of the interface's properties.
AtspiExchange::Question property(AtspiAccessible* element, const char* interface, const char* name);

// The answer's first argument, entered; a property's answer is the variant's content. False for an
// error, an unanswered question or an empty answer.
bool firstArgument(DBusMessage* reply, bool isProperty, DBusMessageIter& out);

template <class T> std::optional<T> basic(DBusMessageIter& iter, int type) {
    if (dbus_message_iter_get_arg_type(&iter) != type)
        return std::nullopt;
    T value{};
    dbus_message_iter_get_basic(&iter, &value);
    return value;
}

// An element of `app` named by a (bus name, object path) structure, with a reference the caller owns;
// null when the structure is malformed or names another application's object, which libatspi would have
// to look up first.
AtspiAccessible* reference(DBusMessageIter& structure, AtspiApplication* app);

// A method call with int32 arguments.
AtspiExchange::Question method(AtspiAccessible* element, const char* interface, const char* member,
                               std::initializer_list<dbus_int32_t> arguments);

// A string argument; `keepEmpty` tells whether "" is a value or an absence.
std::optional<std::string> text(DBusMessageIter& iter, bool keepEmpty = false);

} // namespace orvel::AtspiMessages
