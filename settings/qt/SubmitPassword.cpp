#include "settings/qt/SubmitPassword.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <map>
#include <string>
#include <utility>

#include "platform/SecretStore.h"
#include "settings/Submission.h"
#include "settings/qt/PasswordDialog.h"
#include "ui/qt/Controls.h"

namespace tarvelo {

namespace {

using Key = std::pair<std::string, std::string>;  // server as the store names it, login

Key KeyOf(std::string_view smtp, std::string_view login) {
    return {SecretServerName(smtp), std::string(login)};
}

// Passwords given in this run that no store took, until the program ends.
std::map<Key, SecretText>& Remembered() {
    static std::map<Key, SecretText> remembered;
    return remembered;
}

}  // namespace

SecretText TakePassword(QLineEdit* edit) {
    QByteArray bytes = edit->text().toUtf8();
    SecretText password(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    // The conversion's copy, at least, is not left behind.
    bytes.fill('\0');
    edit->clear();
    return password;
}

std::optional<SecretText> SubmitPassword(std::string_view smtp, std::string_view login,
                                         QWidget* parent) {
    const Key key = KeyOf(smtp, login);
    if (const auto found = Remembered().find(key); found != Remembered().end()) {
        return found->second.Copy();
    }
    // The window keeps drawing itself while the keyring is asked, though no input reaches it.
    StoredPassword stored = LookUpPassword(key.first, key.second, [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    if (stored.result == SecretLookup::Found) {
        return std::move(stored.password);
    }
    TPasswordDialog dialog(parent);
    dialog.Label1->setText(Text(key.second + " (" + key.first + ") のパスワード"));
    if (dialog.exec() != QDialog::Accepted) {
        dialog.Password->clear();
        return std::nullopt;
    }
    // In memory only: a mistyped answer must not reach the keyring, and a refused one is
    // forgotten so that the next sending asks again.
    SecretText password = TakePassword(dialog.Password);
    Remembered().insert_or_assign(key, password.Copy());
    return password;
}

void KeepSubmitPassword(std::string_view smtp, std::string_view login, std::string_view password) {
    Key key = KeyOf(smtp, login);
    if (StorePassword(key.first, key.second, password)) {
        // The store is the one copy from now on, as it would be in the next run.
        Remembered().erase(key);
        return;
    }
    Remembered().insert_or_assign(std::move(key), SecretText(password));
}

void ForgetSubmitPassword(std::string_view smtp, std::string_view login) {
    Remembered().erase(KeyOf(smtp, login));
}

}  // namespace tarvelo
