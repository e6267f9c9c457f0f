#include "settings/qt/SubmitPassword.h"

#include <QByteArray>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <map>
#include <string>
#include <utility>

#include "platform/SecretStore.h"
#include "settings/PasswordPrompt.h"
#include "settings/Submission.h"
#include "settings/qt/PasswordDialog.h"
#include "ui/ErrorPath.h"
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

// CheckPassword, its refusal shown in its box.
bool CanGoOut(const SecretText& password) {
    bool passes = false;
    RunHandler([&] {
        CheckPassword(password.view());
        passes = true;
    });
    return passes;
}

}  // namespace

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

std::optional<SecretText> SubmitPassword(std::string_view smtp, std::string_view login,
                                         QWidget* parent, std::string_view refusedReply) {
    const Key key = KeyOf(smtp, login);
    StoredPassword stored;
    if (refusedReply.empty()) {
        if (const auto found = Remembered().find(key); found != Remembered().end()) {
            stored = {SecretLookup::Found, found->second.Copy()};
        } else {
            stored = LookUpPassword(key.first, key.second);
        }
        if (stored.result == SecretLookup::Found && CanGoOut(stored.password)) {
            return std::move(stored.password);
        }
    } else {
        // Whether a store runs, for the check box.
        stored.result = LookUpPassword(key.first, key.second).result;
    }
    const PasswordPromptText prompt =
        PasswordPrompt(key.first, key.second, stored.result, refusedReply);
    TPasswordDialog dialog(parent);
    dialog.Label2->setText(Text(prompt.refusal));
    dialog.Label1->setText(Text(prompt.question));
    dialog.Login->setText(Text(prompt.login));
    dialog.Remember->setChecked(prompt.saveChecked);
    while (true) {
        if (dialog.exec() != QDialog::Accepted) {
            dialog.Password->clear();
            return std::nullopt;
        }
        SecretText password = TakePassword(dialog.Password);
        if (!CanGoOut(password)) {
            continue;
        }
        if (dialog.Remember->isChecked()) {
            KeepSubmitPassword(smtp, login, password.view());
        } else {
            // A refused answer is forgotten again, so that the next sending asks anew.
            Remembered().insert_or_assign(key, password.Copy());
        }
        return password;
    }
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
