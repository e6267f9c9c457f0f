// What the question for the submission server's password shows, for every front end alike.
#pragma once

#include <string>
#include <string_view>

#include "platform/SecretStore.h"

namespace tarvelo {

struct PasswordPromptText {
    std::string question;  // "login (server) のパスワード", UTF-8
    std::string login;     // shown filled in, as the login the answer goes with
    // Empty; after a refused login, texts::kLoginRefused and the server's reply, so that the
    // user knows why the question comes again.
    std::string refusal;
    // 「パスワードを保存する」 starts checked when a keyring runs, whether or not it keeps a
    // password for this login yet: checked, the answer is stored as the settings' password
    // field stores it; unchecked, it is kept in memory until the program ends.
    bool saveChecked = false;
    // Empty; else why the last answer (or the kept password) cannot go out, for a box before
    // the question.
    std::string problem = {};
};

// server: the SMTP Server setting in UTF-8 (SecretServerName); store: what the store answered
// when it was asked for this login's password; refusedReply: the server's reply when it refused
// the login just now, else empty.
PasswordPromptText PromptFor(std::string_view server, std::string_view login, SecretLookup store,
                             std::string_view refusedReply = {});

}  // namespace tarvelo
