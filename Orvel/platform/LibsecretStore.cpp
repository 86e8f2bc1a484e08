// libsecret comes first: GLib's headers use names that Qt defines as macros.
#include <libsecret/secret.h>

#include "Orvel/platform/LibsecretStore.h"

#include <memory>

namespace orvel {
namespace {

const SecretSchema* schema() {
    // Items are found by their two attributes alone, whatever schema name another client gave them.
    static SecretSchema* const shared =
        secret_schema_new("org.orvel.Password", SECRET_SCHEMA_DONT_MATCH_NAME, "service",
                          SECRET_SCHEMA_ATTRIBUTE_STRING, "account", SECRET_SCHEMA_ATTRIBUTE_STRING, nullptr);
    return shared;
}

struct ErrorDeleter {
    void operator()(GError* error) const { g_error_free(error); }
};

struct PasswordDeleter {
    void operator()(gchar* password) const { secret_password_free(password); }
};

// Throws the failure of a call that reported `error`, naming what was attempted.
void check(GError* error, const char* attempted) {
    if (!error)
        return;
    const std::unique_ptr<GError, ErrorDeleter> owned(error);
    throw SecretStoreError(std::string("the desktop's keyring (Secret Service) could not ") + attempted +
                           " it (" + owned->message + ").");
}

// Throws unless the session bus is reachable. GLib ends a process whose session bus goes away unless
// told otherwise; a keyring that goes away must only make the next call fail.
void requireSessionBus() {
    GError* error = nullptr;
    GDBusConnection* connection = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (!connection) {
        const std::unique_ptr<GError, ErrorDeleter> owned(error);
        throw SecretStoreError(std::string("no desktop session bus is reachable, so there is no keyring (") +
                               owned->message + ").");
    }
    g_dbus_connection_set_exit_on_close(connection, FALSE);
    g_object_unref(connection);
}

} // namespace

std::optional<std::string> LibsecretStore::read(const std::string& service, const std::string& account) {
    std::lock_guard lock(m_mutex);
    requireSessionBus();
    GError* error = nullptr;
    const std::unique_ptr<gchar, PasswordDeleter> password(secret_password_lookup_sync(
        schema(), nullptr, &error, "service", service.c_str(), "account", account.c_str(), nullptr));
    check(error, "read");
    if (!password)
        return std::nullopt;
    return std::string(password.get());
}

void LibsecretStore::write(const std::string& service, const std::string& account,
                           const std::string& secret) {
    std::lock_guard lock(m_mutex);
    requireSessionBus();
    const std::string label = service + " (" + account + ")";
    GError* error = nullptr;
    secret_password_store_sync(schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), secret.c_str(), nullptr,
                               &error, "service", service.c_str(), "account", account.c_str(), nullptr);
    check(error, "save");
}

void LibsecretStore::remove(const std::string& service, const std::string& account) {
    std::lock_guard lock(m_mutex);
    requireSessionBus();
    GError* error = nullptr;
    secret_password_clear_sync(schema(), nullptr, &error, "service", service.c_str(), "account",
                               account.c_str(), nullptr);
    check(error, "delete");
}

} // namespace orvel
