// libsecret is loaded at the first look-up or store, not at start: most starts never touch the
// keyring, and it brings GLib, GIO and libgcrypt with it. Its header gives the types and the
// calls' shapes only.
#include <dlfcn.h>
#include <libsecret/secret.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>

#include "base/TimeLeft.h"
#include "platform/Background.h"
#include "platform/SecretStore.h"

namespace tarvelo {

namespace {

using std::chrono::milliseconds;

// The calls used, looked up once in the library loaded at first use.
struct Libsecret {
    decltype(&secret_schema_new) schemaNew = nullptr;
    decltype(&secret_password_lookup_sync) lookup = nullptr;
    decltype(&secret_password_store_sync) store = nullptr;
    decltype(&secret_password_free) free = nullptr;
    decltype(&g_error_free) errorFree = nullptr;
    decltype(&g_io_error_quark) ioErrorQuark = nullptr;
    SecretSchema* schema = nullptr;
};

template <typename Function>
bool Find(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

// Null when the library is not installed: then there is no store.
const Libsecret* Loaded() {
    static const Libsecret* const loaded = []() -> const Libsecret* {
        void* library = ::dlopen("libsecret-1.so.0", RTLD_NOW | RTLD_LOCAL);
        static Libsecret calls;
        if (library == nullptr || !Find(library, "secret_schema_new", calls.schemaNew) ||
            !Find(library, "secret_password_lookup_sync", calls.lookup) ||
            !Find(library, "secret_password_store_sync", calls.store) ||
            !Find(library, "secret_password_free", calls.free) ||
            !Find(library, "g_error_free", calls.errorFree) ||
            !Find(library, "g_io_error_quark", calls.ioErrorQuark)) {
            return nullptr;
        }
        calls.schema = calls.schemaNew("org.tarvelo.Tarvelo.Password", SECRET_SCHEMA_NONE, "server",
                                       SECRET_SCHEMA_ATTRIBUTE_STRING, "login",
                                       SECRET_SCHEMA_ATTRIBUTE_STRING, nullptr);
        return &calls;
    }();
    return loaded;
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

// Whatever libsecret makes of a bus or a service that does not answer, the caller waits
// kKeyringBound in all, drawing its window meanwhile when it says so.
template <typename T>
std::optional<T> WithinBound(Background<T>& work, const std::function<void()>& whileWaiting) {
    const auto deadline = std::chrono::steady_clock::now() + kKeyringBound;
    for (;;) {
        const milliseconds left = TimeLeft(deadline);
        const milliseconds step = whileWaiting ? std::min(left, milliseconds(20)) : left;
        if (std::optional<T> result = work.Take(step)) {
            return result;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        if (whileWaiting) {
            whileWaiting();
        }
    }
}

}  // namespace

StoredPassword LookUpPassword(std::string_view server, std::string_view login,
                              const std::function<void()>& whileWaiting) {
    if (!SessionBusKnown()) {
        return {};
    }
    Background<StoredPassword> work([serverText = std::string(server),
                                     loginText = std::string(login)] {
        StoredPassword stored;
        const Libsecret* calls = Loaded();
        if (calls == nullptr) {
            return stored;
        }
        GError* error = nullptr;
        gchar* password = calls->lookup(calls->schema, nullptr, &error, "server",
                                        serverText.c_str(), "login", loginText.c_str(), nullptr);
        if (error != nullptr) {
            // No service on the bus, or it failed: the caller asks the user instead. A D-Bus
            // call that timed out is a service that is there and silent.
            if (error->domain == calls->ioErrorQuark() && error->code == G_IO_ERROR_TIMED_OUT) {
                stored.result = SecretLookup::NoAnswer;
            }
            calls->errorFree(error);
            return stored;
        }
        if (password == nullptr) {
            stored.result = SecretLookup::NotFound;
            return stored;
        }
        stored.result = SecretLookup::Found;
        stored.password = SecretText(password);
        // Wipes the store's copy before freeing it.
        calls->free(password);
        return stored;
    });
    std::optional<StoredPassword> stored = WithinBound(work, whileWaiting);
    if (!stored) {
        StoredPassword silent;
        silent.result = SecretLookup::NoAnswer;
        return silent;
    }
    return std::move(*stored);
}

bool StorePassword(std::string_view server, std::string_view login, std::string_view password) {
    if (!SessionBusKnown()) {
        return false;
    }
    Background<bool> work([serverText = std::string(server), loginText = std::string(login),
                           secret = std::make_shared<SecretText>(password)] {
        const Libsecret* calls = Loaded();
        if (calls == nullptr) {
            return false;
        }
        const std::string label = "Tarvelo: " + loginText + " @ " + serverText;
        GError* error = nullptr;
        const gboolean stored = calls->store(
            calls->schema, SECRET_COLLECTION_DEFAULT, label.c_str(), secret->c_str(), nullptr,
            &error, "server", serverText.c_str(), "login", loginText.c_str(), nullptr);
        if (error != nullptr) {
            calls->errorFree(error);
            return false;
        }
        return stored != FALSE;
    });
    return WithinBound(work, {}).value_or(false);
}

std::string_view NoPasswordReason(SecretLookup result) {
    switch (result) {
        case SecretLookup::NoStore:
            return "no keyring is running";
        case SecretLookup::NoAnswer:
            return "the keyring did not answer";
        case SecretLookup::Found:
        case SecretLookup::NotFound:
            break;
    }
    return "the keyring keeps none for this server";
}

}  // namespace tarvelo
