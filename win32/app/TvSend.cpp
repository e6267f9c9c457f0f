// The main window's side of a sending: the send button, the 50 ms timer that drives the SMTP
// conversation, and the progress dialog's texts.
#include "base/Error.h"
#include "base/TextLines.h"
#include "mail/MailAssembly.h"
#include "mail/SendPoll.h"
#include "platform/ShiftJis.h"
#include "ui/ErrorPath.h"
#include "win32/app/TvMain.h"
#include "win32/mail/Send.h"
#include "win32/settings/setting.h"

namespace {

constexpr const char* kSmtpPort = "25";
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
    tarvelo::RunHandler([this] {
        const std::vector<std::string> image = tarvelo::SplitLines(tarvelo::win32::SjisText(TvMes));
        mailLines_ = tarvelo::AssembleMailLines(tarvelo::MailDateText(), SetDialog->UserNameText(),
                                                SetDialog->FirstDomainText(), image);
        EnableWindow(sendButton, FALSE);
        smtpSocket_ = std::make_unique<tarvelo::Socket>(SOCK_STREAM);
        const std::string server = SetDialog->SmtpText();
        smtpSocket_->Connect(server.c_str(), kSmtpPort);
        if (smtpSocket_->status == 0) {
            // The settings dialog cannot open while the progress dialog is up: they stand.
            smtpConversation_ = std::make_unique<tarvelo::SmtpConversation>(
                tarvelo::SmtpSettings{.userName = SetDialog->UserNameText(),
                                      .gatewayDomain = SetDialog->FirstDomainText()},
                mailLines_);
            ShowProgress("送信中", "ｷｬﾝｾﾙ");
            ShowState("Connecting " + tarvelo::ShiftJisToUtf8(server) + "...");
            SetTimer(hwnd, kTimer1, kTimer1Interval, nullptr);
        } else {
            EndSession();
            ShowProgress("接続できませんでした", "OK");
            ShowState("");
        }
    });
    // Whatever happened above, the dialog is shown once per press, and the button comes back
    // only when it has been closed; every way of closing it ends the session.
    SendDlg->ShowModal();
    EndSession();
    EnableWindow(sendButton, TRUE);
}

void TForm1::Timer1Timer() {
    tarvelo::RunHandler([this] {
        if (!smtpSocket_) {
            return;
        }
        for (const tarvelo::SmtpActions& actions :
             tarvelo::PollConversation(*smtpSocket_, *smtpConversation_)) {
            CarryOut(actions);
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
    if (const auto progress = tarvelo::ProgressAfter(actions, smtpConversation_->State())) {
        ShowProgress(progress->sendLabel, progress->button);
    }
    if (actions.notANumber) {
        throw tarvelo::NotIntegerError(tarvelo::ShiftJisToUtf8(*actions.notANumber));
    }
}

void TForm1::EndSession() {
    smtpSocket_.reset();
    KillTimer(hwnd, kTimer1);
}
