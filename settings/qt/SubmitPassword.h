// The password of the submission server while the program runs: one place for the settings'
// password field and the sending. smtp is the SMTP Server setting's bytes, login the login's.
#pragma once

#include <optional>
#include <string_view>

#include "platform/SecretText.h"

class QLineEdit;
class QWidget;

namespace tarvelo {

// For a sending: the password given in this run, else the secret store's, else the user's
// answer to TPasswordDialog: into the store when 「パスワードを保存する」 is checked (as the
// settings' password field stores one), else in memory until the program ends. A password
// that cannot go out (CheckPassword) gets its box and the question again. refusedReply: the
// server's reply when it refused the login just now; the question then comes whatever is kept,
// and says why. None when the user cancels the question.
std::optional<SecretText> SubmitPassword(std::string_view smtp, std::string_view login,
                                         QWidget* parent, std::string_view refusedReply = {});

// A password the user typed: into the secret store when one runs and takes it, otherwise in
// memory until the program ends.
void KeepSubmitPassword(std::string_view smtp, std::string_view login, std::string_view password);

// The edit's text (UTF-8) as a secret; the edit is emptied.
SecretText TakePassword(QLineEdit* edit);
// The same, the edit left as it is.
SecretText PasswordOf(const QLineEdit* edit);

// Drops the copy kept in memory, for instance after the server refused it, so that the next
// sending asks again.
void ForgetSubmitPassword(std::string_view smtp, std::string_view login);

}  // namespace tarvelo
