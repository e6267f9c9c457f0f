// The main window's side of a sending: the send button, the timer that drives the SMTP
// conversation, and the progress dialog's texts.

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/qt/MailImageEdit.h"
#include "app/qt/TvMain.h"
#include "base/Error.h"
#include "mail/MailAssembly.h"
#include "mail/SendProgress.h"
#include "mail/SmtpDriver.h"
#include "mail/qt/Send.h"
#include "mail/qt/SendSession.h"
#include "mail/tls/TlsTransport.h"
#include "platform/ShiftJis.h"
#include "settings/SettingsStore.h"
#include "settings/qt/SubmitPassword.h"
#include "settings/qt/setting.h"
#include "ui/ErrorPath.h"
#include "ui/qt/Controls.h"
#include "ui/qt/QtShiftJis.h"

namespace {

using tarvelo::FromShiftJis;
using tarvelo::SendEnd;
using tarvelo::SendEndKind;
using tarvelo::SmtpOutcome;
using tarvelo::Text;

// The headline and the button; State is left as it stands.
void ShowProgress(const QString& sendLabel, const QString& button) {
    SendDlg->SendLabel->setText(sendLabel);
    SendDlg->SendLabel->adjustSize();
    SendDlg->CancelBtn->setText(button);
}

void ShowState(const QString& state) {
    SendDlg->State->setText(state);
    SendDlg->State->adjustSize();
}

// The one place where a sending takes the submission settings and the password.
tarvelo::SubmissionSettings SubmissionForSending() {
    return tarvelo::ReadSubmission();
}
// Empty without a login; none when the user cancels the question for it.
std::optional<std::string> PasswordForSending(const tarvelo::SubmissionTarget& target) {
    if (target.login.empty()) {
        return std::string();
    }
    const std::optional<tarvelo::SecretText> password =
        tarvelo::SubmitPassword(SetDialog->SmtpText(), target.login, Form1);
    if (!password) {
        return std::nullopt;
    }
    return std::string(password->view());
}

// A password typed at the question and refused by the server is not offered again: the next
// sending asks anew. One in the keyring stays; the settings' password field replaces it.
void ForgetRefusedPassword(const std::vector<SendEnd>& ends) {
    for (const SendEnd& end : ends) {
        if (end.kind == SendEndKind::Authentication) {
            tarvelo::ForgetSubmitPassword(SetDialog->SmtpText(), SubmissionForSending().login);
            return;
        }
    }
}

}  // namespace

void TForm1::AssembleMail() {
    const std::vector<std::string> image = tarvelo::ToShiftJisLines(TvMes->Text());
    mailLines = tarvelo::AssembleMailLines(tarvelo::MailDateText(), SetDialog->UserNameText(),
                                           SetDialog->FirstDomainText(), image);
}

void TForm1::sendButtonClick() {
    bool ready = false;
    tarvelo::RunHandler([this, &ready] {
        tarvelo::RefusePlaceholders(SetDialog->UserNameText(), SetDialog->FirstDomainText());
        // A mail that cannot go out as it stands is refused before anything is asked or shown.
        AssembleMail();
        const tarvelo::SubmissionTarget target =
            tarvelo::ResolveSubmission(SetDialog->SmtpText(), SubmissionForSending());
        std::optional<std::string> password = PasswordForSending(target);
        if (!password) {
            // The user cancelled the question for the password: nothing is sent, and nothing
            // needs saying.
            return;
        }
        // The settings dialog cannot open while the progress dialog is up: they stand.
        tarvelo::SmtpConversation conversation(
            tarvelo::SmtpSettings{.userName = SetDialog->UserNameText(),
                                  .gatewayDomain = SetDialog->FirstDomainText()},
            {mailLines},
            {.security = target.security, .login = target.login, .password = std::move(*password)},
            sendBounds.reply);
        smtpSession = std::make_unique<tarvelo::SmtpDriver>(tarvelo::MakeTransport(), target,
                                                            std::move(conversation), sendBounds);
        // A CA file that cannot be used has said so in its box by now, and nothing is shown.
        ready = true;
        sendButton->setEnabled(false);
        // The connection is made from the timer: the dialog is up at once, and Cancel acts.
        smtpSession->BeginConnect();
        const tarvelo::ProgressText progress = tarvelo::ProgressConnecting();
        ShowProgress(Text(progress.sendLabel), Text(progress.button));
        ShowState("Connecting " + FromShiftJis(SetDialog->SmtpText()) + "...");
        Timer1->start();
    });
    if (!ready) {
        return;
    }
    // Whatever happened above, the dialog is shown once per press, and the button comes back
    // only when it has been closed.
    SendDlg->exec();
    sendButton->setEnabled(true);
}

void TForm1::Timer1Timer() {
    tarvelo::RunHandler([this] { PollReply(); });
}

// Never waits: the poll takes no time, a read takes only what is already there, and a send
// only what the socket takes now.
void TForm1::PollReply() {
    if (smtpSession) {
        CarryOut(smtpSession->Drive(tarvelo::DriveMode::PollOnce));
    }
}

void TForm1::CarryOut(const tarvelo::SmtpActions& actions) {
    for (const std::string& entry : actions.log) {
        AddLog(entry);
    }
    if (actions.state) {
        ShowState(FromShiftJis(*actions.state));
    }
    if (actions.outcome != SmtpOutcome::Waiting) {
        EndSession();
    }
    if (const auto progress = tarvelo::ProgressAfter(actions)) {
        ShowProgress(Text(progress->sendLabel), Text(progress->button));
    }
    if (actions.outcome == SmtpOutcome::Failure) {
        ForgetRefusedPassword(actions.ends);
    }
    if (actions.notANumber) {
        throw tarvelo::NotIntegerError(tarvelo::ShiftJisToUtf8(*actions.notANumber));
    }
}

void TForm1::EndSession() {
    smtpSession.reset();
    Timer1->stop();
}
