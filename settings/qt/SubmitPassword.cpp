#include "settings/qt/SubmitPassword.h"

#include <QByteArray>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>

#include "platform/SecretStore.h"
#include "settings/qt/PasswordDialog.h"
#include "ui/ErrorPath.h"
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

SecretText PasswordOf(const QLineEdit* edit) {
    QByteArray bytes = edit->text().toUtf8();
    SecretText password(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    // The conversion's copy, at least, is not left behind.
    bytes.fill('\0');
    return password;
}

SecretText TakePassword(QLineEdit* edit) {
    SecretText password = PasswordOf(edit);
    edit->clear();
    return password;
}

PasswordPrompt PasswordQuestion(QWidget* parent) {
    return [parent](const PasswordPromptText& text) -> std::optional<PromptAnswer> {
        if (!text.problem.empty()) {
            ShowErrorBox(text.problem);
        }
        TPasswordDialog dialog(parent);
        dialog.Label2->setText(Text(text.refusal));
        dialog.Label1->setText(Text(text.question));
        dialog.Login->setText(Text(text.login));
        dialog.Remember->setChecked(text.saveChecked);
        if (dialog.exec() != QDialog::Accepted) {
            dialog.Password->clear();
            return std::nullopt;
        }
        return PromptAnswer{TakePassword(dialog.Password), dialog.Remember->isChecked()};
    };
}

std::optional<SecretText> SubmitPassword(std::string_view smtp, std::string_view login,
                                         QWidget* parent, std::string_view refusedReply) {
    return SubmitPasswords().ForSending(smtp, login, PasswordQuestion(parent), refusedReply);
}

void KeepSubmitPassword(std::string_view smtp, std::string_view login, std::string_view password) {
    SubmitPasswords().Keep(smtp, login, password);
}

void ForgetSubmitPassword(std::string_view smtp, std::string_view login) {
    SubmitPasswords().Forget(smtp, login);
}

}  // namespace tarvelo
