#include "settings/PasswordSource.h"

#include "settings/Submission.h"
#include "ui/Texts.h"

namespace tarvelo {

PasswordSource::Key PasswordSource::KeyOf(std::string_view smtp, std::string_view login) {
    return {SecretServerName(smtp), std::string(login)};
}

std::optional<SecretText> PasswordSource::ForSending(std::string_view smtp, std::string_view login,
                                                     const PasswordPrompt& prompt) {
    const Key key = KeyOf(smtp, login);
    if (const auto found = remembered_.find(key); found != remembered_.end()) {
        return found->second.Copy();
    }
    StoredPassword stored = store_.lookUp(key.first, key.second);
    if (stored.result == SecretLookup::Found) {
        return std::move(stored.password);
    }
    if (!prompt) {
        return SecretText();
    }
    std::optional<SecretText> answer = prompt(texts::PasswordQuestion(key.second, key.first));
    if (answer) {
        remembered_.insert_or_assign(key, answer->Copy());
    }
    return answer;
}

void PasswordSource::Keep(std::string_view smtp, std::string_view login,
                          std::string_view password) {
    Key key = KeyOf(smtp, login);
    if (store_.store(key.first, key.second, password)) {
        // The store is the one copy from now on, as it would be in the next run.
        remembered_.erase(key);
        return;
    }
    remembered_.insert_or_assign(std::move(key), SecretText(password));
}

void PasswordSource::Forget(std::string_view smtp, std::string_view login) {
    remembered_.erase(KeyOf(smtp, login));
}

}  // namespace tarvelo
