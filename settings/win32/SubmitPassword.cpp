#include "settings/win32/SubmitPassword.h"

#include "platform/SecretStore.h"

namespace tarvelo {

PasswordSource& SubmitPasswords() {
    // The Credential Manager is this computer's own, and answers at once.
    static PasswordSource source(
        {.lookUp = [](std::string_view server,
                      std::string_view login) { return LookUpPassword(server, login); },
         .store = StorePassword});
    return source;
}

PasswordPrompt PasswordQuestion(HWND /*owner*/) {
    return {};
}

}  // namespace tarvelo
