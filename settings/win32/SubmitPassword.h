// The Win32 program's password source (settings/PasswordSource.h): its secret store's side and
// its question. Neither is there yet: the store keeps nothing and, without a question, a login
// goes out with an empty password, as tarvelo-send's --password-command is the way to give one.
#pragma once

#include "settings/PasswordSource.h"
#include "ui/win32/Form.h"

namespace tarvelo {

// The one source of the program's run.
PasswordSource& SubmitPasswords();

// The question for the password, over owner.
PasswordPrompt PasswordQuestion(HWND owner);

}  // namespace tarvelo
