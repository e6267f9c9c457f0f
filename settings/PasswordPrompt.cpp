#include "settings/PasswordPrompt.h"

#include "ui/Texts.h"

namespace tarvelo {

PasswordPromptText PromptFor(std::string_view server, std::string_view login, SecretLookup store,
                             std::string_view refusedReply) {
    PasswordPromptText text;
    text.question = texts::PasswordQuestion(login, server);
    text.login = login;
    if (!refusedReply.empty()) {
        text.refusal = std::string(texts::kLoginRefused) + ": " + std::string(refusedReply);
    }
    text.saveChecked = store != SecretLookup::NoStore;
    return text;
}

}  // namespace tarvelo
