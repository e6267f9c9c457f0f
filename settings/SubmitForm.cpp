#include "settings/SubmitForm.h"

#include <algorithm>

#include "base/Error.h"
#include "settings/SettingsStore.h"
#include "ui/Texts.h"

namespace tarvelo {

namespace {

int SecurityIndex(std::optional<Security> security) {
    for (std::size_t i = 0; i < kSecurityChoices.size(); ++i) {
        if (kSecurityChoices[i] == security) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

}  // namespace

std::string PortText(int port) {
    return port == 0 ? std::string(texts::kDefaultChoice) : std::to_string(port);
}

int PortOfText(std::string_view text) {
    if (text.empty() || text == texts::kDefaultChoice) {
        return 0;
    }
    if (const std::optional<int> port = PortFromText(text)) {
        return *port;
    }
    throw FieldValueError(texts::kPortLabel, text, texts::kPortExpected);
}

std::string PortStepped(std::string_view text, int delta) {
    int port = 0;
    if (text != texts::kDefaultChoice) {
        port = PortFromText(text).value_or(0);
    }
    return PortText(std::clamp(port + delta, 0, kLastPort));
}

SubmitTexts SubmitForm::Load() {
    SubmissionSettings stored;
    try {
        stored = ReadSubmission();
        loadFailure_.reset();
    } catch (const Error& error) {
        loadFailure_ = error.what();
        throw;
    }
    SubmitTexts texts;
    texts.port = stored.port.value_or(0);
    texts.security = SecurityIndex(stored.security);
    texts.login = login_.Load(std::move(stored.login));
    texts.caFile = caFile_.Load(std::move(stored.caFile));
    return texts;
}

void SubmitForm::Shown(const SubmitTexts& now) {
    login_.Shown(now.login);
    caFile_.Shown(now.caFile);
}

SubmissionSettings SubmitForm::Ok(const SubmitTexts& now, std::string_view smtp,
                                  std::string_view typedPassword) {
    closes_ = false;
    if (loadFailure_) {
        throw Error(*loadFailure_);
    }
    SubmissionSettings settings;
    if (now.port != 0) {
        settings.port = now.port;
    }
    if (now.security >= 0 && static_cast<std::size_t>(now.security) < kSecurityChoices.size()) {
        settings.security = kSecurityChoices[static_cast<std::size_t>(now.security)];
    }
    settings.login = login_.Bytes(now.login);
    settings.caFile = caFile_.Bytes(now.caFile);
    // The store keeps a password under its login: one without a login would be lost.
    if (settings.login.empty() && !typedPassword.empty()) {
        throw Error(std::string(texts::kPasswordWithoutLogin));
    }
    // A sending's rules, refused here already rather than at the next sending.
    CheckLogin(settings.login);
    RefuseLoginWithoutTls(smtp, settings);
    if (!typedPassword.empty()) {
        CheckPassword(typedPassword);
    }
    // Pressing OK ends the showing from here on, even when the write fails.
    closes_ = true;
    WriteSubmission(settings);
    return settings;
}

}  // namespace tarvelo
