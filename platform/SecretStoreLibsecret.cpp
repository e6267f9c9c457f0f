#include <libsecret/secret.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/SecretStore.h"

namespace tarvelo {

namespace {

const SecretSchema* PasswordSchema() {
    static SecretSchema* const schema = secret_schema_new(
        "org.tarvelo.Tarvelo.Password", SECRET_SCHEMA_NONE, "server",
        SECRET_SCHEMA_ATTRIBUTE_STRING, "login", SECRET_SCHEMA_ATTRIBUTE_STRING, nullptr);
    return schema;
}

// Without a session bus, GLib would try to start one through dbus-launch and leave a daemon
// behind; a program without a desktop session has no store to find there anyway.
bool SessionBusKnown() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        address != nullptr && *address != '\0') {
        return true;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code error;
    return runtime != nullptr && *runtime != '\0' &&
           std::filesystem::exists(std::filesystem::path(runtime) / "bus", error);
}

}  // namespace

StoredPassword LookUpPassword(std::string_view server, std::string_view login) {
    StoredPassword stored;
    if (!SessionBusKnown()) {
        return stored;
    }
    const std::string serverText(server);
    const std::string loginText(login);
    GError* error = nullptr;
    gchar* password =
        secret_password_lookup_sync(PasswordSchema(), nullptr, &error, "server", serverText.c_str(),
                                    "login", loginText.c_str(), nullptr);
    if (error != nullptr) {
        // No service on the bus, or it failed: the caller asks the user instead.
        g_error_free(error);
        return stored;
    }
    if (password == nullptr) {
        stored.result = SecretLookup::NotFound;
        return stored;
    }
    stored.result = SecretLookup::Found;
    stored.password = SecretText(password);
    // Wipes the store's copy before freeing it.
    secret_password_free(password);
    return stored;
}

bool StorePassword(std::string_view server, std::string_view login, std::string_view password) {
    if (!SessionBusKnown()) {
        return false;
    }
    const std::string serverText(server);
    const std::string loginText(login);
    const SecretText secret(password);
    const std::string label = "Tarvelo: " + loginText + " @ " + serverText;
    GError* error = nullptr;
    const gboolean stored = secret_password_store_sync(
        PasswordSchema(), SECRET_COLLECTION_DEFAULT, label.c_str(), secret.c_str(), nullptr, &error,
        "server", serverText.c_str(), "login", loginText.c_str(), nullptr);
    if (error != nullptr) {
        g_error_free(error);
        return false;
    }
    return stored != FALSE;
}

std::string_view NoPasswordReason(SecretLookup result) {
    return result == SecretLookup::NoStore ? "no keyring is running"
                                           : "the keyring keeps none for this server";
}

}  // namespace tarvelo
