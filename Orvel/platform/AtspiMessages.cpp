#include "Orvel/platform/AtspiMessages.h"

#include <cstring>

namespace orvel::AtspiMessages {

AtspiExchange::Question method(AtspiAccessible* element, const char* interface, const char* member) {
    const AtspiObject& object = element->parent;
    if (!object.app || !object.app->bus || !object.app->bus_name || !object.path)
        return {};
    return {object.app->bus, DBusMessagePtr(dbus_message_new_method_call(object.app->bus_name, object.path,
                                                                         interface, member))};
}

AtspiExchange::Question method(AtspiAccessible* element, const char* interface, const char* member,
                               std::initializer_list<dbus_int32_t> arguments) {
    AtspiExchange::Question out = method(element, interface, member);
    if (out.message)
        for (dbus_int32_t argument : arguments)
            dbus_message_append_args(out.message.get(), DBUS_TYPE_INT32, &argument, DBUS_TYPE_INVALID);
    return out;
}

AtspiAccessible* reference(DBusMessageIter& structure, AtspiApplication* app) {
    if (dbus_message_iter_get_arg_type(&structure) != DBUS_TYPE_STRUCT || !app || !app->bus_name)
        return nullptr;
    DBusMessageIter fields;
    dbus_message_iter_recurse(&structure, &fields);
    const auto bus = basic<const char*>(fields, DBUS_TYPE_STRING);
    dbus_message_iter_next(&fields);
    const auto path = basic<const char*>(fields, DBUS_TYPE_OBJECT_PATH);
    if (!bus || !path || std::strcmp(*bus, app->bus_name) != 0)
        return nullptr;
    return _atspi_accessible_new(app, *path);
}

AtspiExchange::Question property(AtspiAccessible* element, const char* interface, const char* name) {
    AtspiExchange::Question out = method(element, "org.freedesktop.DBus.Properties", "Get");
    if (out.message)
        dbus_message_append_args(out.message.get(), DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING, &name,
                                 DBUS_TYPE_INVALID);
    return out;
}

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

std::optional<std::string> text(DBusMessageIter& iter, bool keepEmpty) {
    auto value = basic<const char*>(iter, DBUS_TYPE_STRING);
    if (!value || (!keepEmpty && !**value))
        return std::nullopt;
    return std::string(*value);
}

} // namespace orvel::AtspiMessages
