// The main window's side of a sending: the send button, the 50 ms timer that drives the SMTP
// conversation, and the progress dialog's texts.
#include "app/win32/TvMain.h"
#include "base/Error.h"
#include "base/TextLines.h"
#include "mail/MailAssembly.h"
#include "mail/SendProgress.h"
#include "mail/SubmissionTarget.h"
#include "mail/tls/TlsTransport.h"
#include "mail/win32/Send.h"
#include "platform/ShiftJis.h"
#include "settings/SettingsStore.h"
#include "settings/win32/setting.h"
#include "ui/ErrorPath.h"

namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 50;  // ms

// The headline and the button; State is left as it stands.
void ShowProgress(std::string_view sendLabel, std::string_view button) {
    tarvelo::win32::SetText(SendDlg->SendLabel, sendLabel);
    tarvelo::win32::SetText(SendDlg->CancelBtn, button);
}

void ShowState(std::string_view utf8) {
    tarvelo::win32::SetText(SendDlg->State, utf8);
}

}  // namespace

void TForm1::sendButtonClick() {
    bool ready = false;
    tarvelo::RunHandler([this, &ready] {
        tarvelo::RefusePlaceholders(SetDialog->UserNameText(), SetDialog->FirstDomainText());
        const tarvelo::SubmissionTarget target =
            tarvelo::ResolveSubmission(SetDialog->SmtpText(), tarvelo::ReadSubmission());
        const std::vector<std::string> image = tarvelo::SplitLines(tarvelo::win32::SjisText(TvMes));
        mailLines_ = tarvelo::AssembleMailLines(tarvelo::MailDateText(), SetDialog->UserNameText(),
                                                SetDialog->FirstDomainText(), image);
        // The settings dialog cannot open while the progress dialog is up: they stand. No
        // password prompt here yet: a login needs tarvelo-send's --password-command.
        tarvelo::SmtpConversation conversation(
            tarvelo::SmtpSettings{.userName = SetDialog->UserNameText(),
                                  .gatewayDomain = SetDialog->FirstDomainText()},
            {mailLines_},
            {.security = target.security, .login = target.login, .password = std::string()},
            sendBounds_.reply);
        smtpSession_ = std::make_unique<tarvelo::SmtpDriver>(tarvelo::MakeTransport(), target,
                                                             std::move(conversation), sendBounds_);
        // A CA file that cannot be used has said so in its box by now, and nothing is shown.
        ready = true;
        EnableWindow(sendButton, FALSE);
        // The connection is made from the timer: the dialog is up at once, and Cancel acts.
        smtpSession_->BeginConnect();
        const tarvelo::ProgressText progress = tarvelo::ProgressConnecting();
        ShowProgress(progress.sendLabel, progress.button);
        ShowState("Connecting " + tarvelo::ShiftJisToUtf8(SetDialog->SmtpText()) + "...");
        SetTimer(hwnd, kTimer1, kTimer1Interval, nullptr);
    });
    if (!ready) {
        return;
    }
    // Whatever happened above, the dialog is shown once per press, and the button comes back
    // only when it has been closed; every way of closing it ends the session.
    SendDlg->ShowModal();
    EndSession();
    EnableWindow(sendButton, TRUE);
}

void TForm1::Timer1Timer() {
    // Never waits: the poll takes no time, a read takes only what is already there, and a send
    // only what the socket takes now.
    tarvelo::RunHandler([this] {
        if (smtpSession_) {
            CarryOut(smtpSession_->Drive(tarvelo::DriveMode::PollOnce));
        }
    });
}

void TForm1::CarryOut(const tarvelo::SmtpActions& actions) {
    for (const std::string& entry : actions.log) {
        AddLog(entry);
    }
    if (actions.state) {
        ShowState(tarvelo::ShiftJisToUtf8(*actions.state));
    }
    if (actions.outcome != tarvelo::SmtpOutcome::Waiting) {
        EndSession();
    }
    if (const auto progress = tarvelo::ProgressAfter(actions)) {
        ShowProgress(progress->sendLabel, progress->button);
    }
    if (actions.notANumber) {
        throw tarvelo::NotIntegerError(tarvelo::ShiftJisToUtf8(*actions.notANumber));
    }
}

void TForm1::EndSession() {
    smtpSession_.reset();
    KillTimer(hwnd, kTimer1);
}
