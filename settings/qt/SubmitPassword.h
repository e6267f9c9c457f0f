// The Qt program's password source (settings/PasswordSource.h): the desktop's secret store and
// TPasswordDialog as its question. smtp is the SMTP Server setting's bytes, login the login's.
#pragma once

#include <optional>
#include <string_view>

#include "platform/SecretText.h"
#include "settings/PasswordSource.h"

class QLineEdit;
class QWidget;

namespace tarvelo {

// The one source of the program's run.
PasswordSource& SubmitPasswords();

// TPasswordDialog over parent, as the source's question.
PasswordPrompt PasswordQuestion(QWidget* parent);

// For a sending: PasswordSource::ForSending with PasswordQuestion(parent); refusedReply: the
// server's reply when it refused the login just now. None when the user cancels the question.
std::optional<SecretText> SubmitPassword(std::string_view smtp, std::string_view login,
                                         QWidget* parent, std::string_view refusedReply = {});

// PasswordSource::Keep and Forget of the program's source.
void KeepSubmitPassword(std::string_view smtp, std::string_view login, std::string_view password);
void ForgetSubmitPassword(std::string_view smtp, std::string_view login);

// The edit's text (UTF-8) as a secret; the edit is emptied.
SecretText TakePassword(QLineEdit* edit);
// The same, the edit left as it is.
SecretText PasswordOf(const QLineEdit* edit);

}  // namespace tarvelo
