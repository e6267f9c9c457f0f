// Who supplies the password of the submission server while the program runs, for every front
// end alike: a password given in this run, else the secret store's, else the user's answer to
// the window's question. smtp is the SMTP Server setting's bytes, login the login's (UTF-8).
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/SecretStore.h"
#include "platform/SecretText.h"
#include "settings/PasswordPrompt.h"

namespace tarvelo {

// A secret store's side: the desktop's keyring, or one that keeps nothing (platform/
// SecretStore.h's functions are one).
struct SecretStoreSide {
    std::function<StoredPassword(std::string_view server, std::string_view login)> lookUp;
    // True when the store now keeps the password.
    std::function<bool(std::string_view server, std::string_view login, std::string_view password)>
        store;
};

// The answer to the window's question: the password, and whether 「パスワードを保存する」 was
// checked.
struct PromptAnswer {
    SecretText password;
    bool save = false;
};

// The window's question (settings/PasswordPrompt.h says what it shows; a problem goes in a box
// before it). None when the user cancels it.
using PasswordPrompt = std::function<std::optional<PromptAnswer>(const PasswordPromptText& text)>;

class PasswordSource {
public:
    explicit PasswordSource(SecretStoreSide store) : store_(std::move(store)) {}

    // For a sending with a login: the password given in this run, else the store's, else the
    // answer to prompt, which goes into the store when the answer says save (as Keep does),
    // else into memory until the program ends. A password that cannot go out (CheckPassword)
    // is never given: the question comes (again) with its reason as the problem. refusedReply:
    // the server's reply when it refused the login just now; the question then comes whatever
    // is kept, and says why. Raises PasswordContentError without a prompt (a front end that has
    // no question yet) when no password is kept. None when the user cancels the question.
    std::optional<SecretText> ForSending(std::string_view smtp, std::string_view login,
                                         const PasswordPrompt& prompt,
                                         std::string_view refusedReply = {});

    // A password the user typed into the settings: into the store when it takes it, else in
    // memory until the program ends.
    void Keep(std::string_view smtp, std::string_view login, std::string_view password);

    // Drops the copy in memory after the server refused it; one in the store stays, since the
    // settings' password field replaces it.
    void Forget(std::string_view smtp, std::string_view login);

private:
    using Key = std::pair<std::string, std::string>;  // server as the store names it, login
    static Key KeyOf(std::string_view smtp, std::string_view login);

    SecretStoreSide store_;
    std::map<Key, SecretText> remembered_;
};

}  // namespace tarvelo
