// The Win32 program's password source (settings/PasswordSource.h): the Credential Manager as its
// secret store's side (platform/SecretStore.h), and TPasswordDialog as its question.
#pragma once

#include "settings/PasswordSource.h"
#include "ui/win32/Form.h"

namespace tarvelo {

// The one source of the program's run.
PasswordSource& SubmitPasswords();

// TPasswordDialog over owner, as the source's question.
PasswordPrompt PasswordQuestion(HWND owner);

}  // namespace tarvelo
