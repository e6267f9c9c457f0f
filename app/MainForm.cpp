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
    const SendStart start(std::move(fields), MailDateText());
    mailLines_ = start.MailLines();
    std::string password;
    if (start.NeedsPassword()) {
        std::optional<SecretText> given = passwords_.ForSending(smtp, start.Target().login, prompt);
        if (!given) {
            return std::nullopt;
        }
        password = std::string(given->view());
    }
    smtp_ = smtp;
    login_ = start.Target().login;
    SendBegun begun = start.Begin(makeTransport_(), std::move(password), bounds);
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
