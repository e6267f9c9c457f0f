#include "app/MainForm.h"

#include <utility>

#include "base/TextLines.h"
#include "compose/Composition.h"
#include "compose/HandsetText.h"
#include "mail/MailAssembly.h"
#include "settings/LogFile.h"

namespace tarvelo {

MainView ComposeMain(const MainFields& fields) {
    Composition result = Compose({.message = fields.message,
                                  .phsNo = fields.phsNo,
                                  .resNo = fields.resNo,
                                  .testMode = fields.testMode});
    MainView view{.preview = std::move(result.preview),
                  .mailImage = std::move(result.mailImage),
                  .msgErr = MessageErrorText(result.messageError),
                  .phsErr = PhsNoErrorText(result),
                  .sendEnabled = result.sendEnabled};
    view.markUnsendable = result.messageError == MessageError::InvalidCharacter && !fields.testMode;
    return view;
}

MainView StartView() {
    return ComposeMain({});
}

void MainForm::AddLog(std::string_view sjisText) {
    for (std::string& line : SplitLines(sjisText)) {
        logLines_.push_back(std::move(line));
    }
}

void MainForm::SaveLog() {
    SaveLogBlock(kLogFileName, logLines_);
    ClearLog();
}

std::optional<SendScreen> MainForm::PressSend(SendFields fields, const PasswordPrompt& prompt,
                                              SendBounds bounds) {
    const std::string smtp = fields.smtp;
    start_.reset();
    SendStart start(std::move(fields), MailDateText());
    mailLines_ = start.MailLines();
    SecretText password;
    if (start.NeedsPassword()) {
        std::optional<SecretText> given = passwords_.ForSending(smtp, start.Target().login, prompt);
        if (!given) {
            return std::nullopt;
        }
        password = std::move(*given);
    }
    smtp_ = smtp;
    login_ = start.Target().login;
    start_.emplace(std::move(start));
    SendBegun begun = start_->Begin(makeTransport_(), std::move(password), bounds);
    driver_ = std::move(begun.driver);
    return Took(std::move(begun.screen));
}

std::optional<SendScreen> MainForm::AskAgain(std::string_view refusedReply,
                                             const PasswordPrompt& prompt, SendBounds bounds) {
    if (!start_) {
        return std::nullopt;
    }
    std::optional<SecretText> given = passwords_.ForSending(smtp_, login_, prompt, refusedReply);
    if (!given) {
        return std::nullopt;
    }
    SendBegun begun = start_->Begin(makeTransport_(), std::move(*given), bounds);
    driver_ = std::move(begun.driver);
    return Took(std::move(begun.screen));
}

SendScreen MainForm::Poll() {
    if (!driver_) {
        return {};
    }
    return Took(ScreenAfter(driver_->Drive(DriveMode::PollOnce)));
}

SendScreen MainForm::Took(SendScreen screen) {
    for (const std::string& entry : screen.log) {
        AddLog(entry);
    }
    if (screen.end) {
        EndSending();
    }
    if (screen.forgetPassword) {
        // A password typed at the question and refused is not offered again.
        passwords_.Forget(smtp_, login_);
    }
    return screen;
}

}  // namespace tarvelo
