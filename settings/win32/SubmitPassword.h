// The Win32 program's password source (settings/PasswordSource.h): the Credential Manager as its
// secret store's side (platform/SecretStore.h), and its question, which is not there yet: a
// login that finds no password in this run's memory or the store goes out with an empty one.
#pragma once

#include "settings/PasswordSource.h"
#include "ui/win32/Form.h"

namespace tarvelo {

// The one source of the program's run.
PasswordSource& SubmitPasswords();

// The question for the password, over owner.
PasswordPrompt PasswordQuestion(HWND owner);

}  // namespace tarvelo
