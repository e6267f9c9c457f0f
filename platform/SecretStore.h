// The desktop's secret store, which keeps the password of a submission server: the Secret
// Service (libsecret, schema "org.tarvelo.Tarvelo.Password", attributes "server" and "login") on
// Linux, the Credential Manager on Windows (a generic credential "Tarvelo:" + login + "@" +
// server), or, in a build without one, a side that always answers NoStore. Kept out of
// tarvelo_core: only the programs link it (tarvelo_secret), and the tests link the side without
// a store (tarvelo_secret_none), so that no test ever touches a user's keyring.
//
// server and login are UTF-8. None of these functions logs or prints the password.
#pragma once

#include <chrono>
#include <functional>
#include <string_view>

#include "platform/SecretText.h"

namespace tarvelo {

enum class SecretLookup {
    Found,
    NotFound,  // a store runs but keeps nothing for this server and login
    NoStore,   // no store in this build, no session bus, no service, or it failed
    NoAnswer,  // the bus or the store did not answer within kKeyringBound
};

// All that a look-up or a store may take: a bus that accepts and never speaks, or a service
// that owns its name and never replies, costs this and no more. The work goes on off the
// caller's thread.
inline constexpr std::chrono::milliseconds kKeyringBound = std::chrono::seconds(5);

struct StoredPassword {
    SecretLookup result = SecretLookup::NoStore;
    SecretText password;  // empty unless Found
};

// whileWaiting, when given, is called every few milliseconds while the answer is awaited: a
// window keeps drawing itself and answering the desktop.
StoredPassword LookUpPassword(std::string_view server, std::string_view login,
                              const std::function<void()>& whileWaiting = {});

// True when the store now keeps the password; false when there is none, it refused (a
// keyring left locked, for one) or it did not answer in time, and the caller keeps the
// password otherwise.
bool StorePassword(std::string_view server, std::string_view login, std::string_view password);

// Why no password was found (result NotFound or NoStore), in the store's own words, for
// tarvelo-send's error line: "no keyring is running".
std::string_view NoPasswordReason(SecretLookup result);

}  // namespace tarvelo
