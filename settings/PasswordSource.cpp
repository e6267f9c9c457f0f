#include "settings/PasswordSource.h"

#include "base/Error.h"
#include "settings/Submission.h"
#include "ui/Texts.h"

namespace tarvelo {

PasswordSource::Key PasswordSource::KeyOf(std::string_view smtp, std::string_view login) {
    return {SecretServerName(smtp), std::string(login)};
}

std::optional<SecretText> PasswordSource::ForSending(std::string_view smtp, std::string_view login,
                                                     const PasswordPrompt& prompt,
                                                     std::string_view refusedReply) {
    const Key key = KeyOf(smtp, login);
    std::string problem;
    // A kept password that cannot go out: its reason, and the question.
    const auto usable = [&problem](const SecretText& password) {
        try {
            CheckPassword(password.view());
            return true;
        } catch (const Error& error) {
            problem = error.what();
            return false;
        }
    };
    StoredPassword stored;
    if (refusedReply.empty()) {
        if (const auto found = remembered_.find(key);
            found != remembered_.end() && usable(found->second)) {
            return found->second.Copy();
        }
        stored = store_.lookUp(key.first, key.second);
        if (stored.result == SecretLookup::Found && usable(stored.password)) {
            return std::move(stored.password);
        }
    } else {
        // Only whether a store runs, for the check box.
        stored.result = store_.lookUp(key.first, key.second).result;
    }
    if (!prompt) {
        throw PasswordContentError(true);
    }
    PasswordPromptText text = PromptFor(key.first, key.second, stored.result, refusedReply);
    text.problem = std::move(problem);
    while (true) {
        std::optional<PromptAnswer> answer = prompt(text);
        if (!answer) {
            return std::nullopt;
        }
        if (!usable(answer->password)) {
            text.problem = std::move(problem);
            continue;
        }
        if (answer->save) {
            Keep(smtp, login, answer->password.view());
        } else {
            // A refused one is forgotten again, so that the question comes at once.
            remembered_.insert_or_assign(key, answer->password.Copy());
        }
        return std::move(answer->password);
    }
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
