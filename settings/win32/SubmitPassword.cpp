#include "settings/win32/SubmitPassword.h"

#include "platform/SecretStore.h"

namespace tarvelo {

PasswordSource& SubmitPasswords() {
    static PasswordSource source({.lookUp = LookUpPassword, .store = StorePassword});
    return source;
}

PasswordPrompt PasswordQuestion(HWND /*owner*/) {
    return {};
}

}  // namespace tarvelo
