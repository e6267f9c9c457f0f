#include "settings/qt/SubmitPassword.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>

#include "platform/SecretStore.h"
#include "settings/qt/PasswordDialog.h"
#include "ui/qt/Controls.h"

namespace tarvelo {

PasswordSource& SubmitPasswords() {
    // The window keeps drawing itself while the keyring is asked, though no input reaches it.
    static PasswordSource source({.lookUp =
                                      [](std::string_view server, std::string_view login) {
                                          return LookUpPassword(server, login, [] {
                                              QCoreApplication::processEvents(
                                                  QEventLoop::ExcludeUserInputEvents);
                                          });
                                      },
                                  .store = StorePassword});
    return source;
}

SecretText TakePassword(QLineEdit* edit) {
    QByteArray bytes = edit->text().toUtf8();
    SecretText password(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    // The conversion's copy, at least, is not left behind.
    bytes.fill('\0');
    edit->clear();
    return password;
}

PasswordPrompt PasswordQuestion(QWidget* parent) {
    return [parent](std::string_view question) -> std::optional<SecretText> {
        TPasswordDialog dialog(parent);
        dialog.Label1->setText(Text(question));
        if (dialog.exec() != QDialog::Accepted) {
            dialog.Password->clear();
            return std::nullopt;
        }
        return TakePassword(dialog.Password);
    };
}

std::optional<SecretText> SubmitPassword(std::string_view smtp, std::string_view login,
                                         QWidget* parent) {
    return SubmitPasswords().ForSending(smtp, login, PasswordQuestion(parent));
}

void KeepSubmitPassword(std::string_view smtp, std::string_view login, std::string_view password) {
    SubmitPasswords().Keep(smtp, login, password);
}

void ForgetSubmitPassword(std::string_view smtp, std::string_view login) {
    SubmitPasswords().Forget(smtp, login);
}

}  // namespace tarvelo
