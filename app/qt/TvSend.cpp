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
std::optional<tarvelo::SecretText> PasswordForSending(const tarvelo::SubmissionTarget& target) {
    if (target.login.empty()) {
        return tarvelo::SecretText();
    }
    return tarvelo::SubmitPassword(SetDialog->SmtpText(), target.login, Form1);
}

// A password typed at the question and refused by the server is not offered again: the
// question comes again at once. One in the keyring stays until an answer replaces it.
void ForgetRefusedPassword(const tarvelo::SmtpActions& actions, const std::string& login) {
    if (tarvelo::RefusedLogin(actions)) {
        tarvelo::ForgetSubmitPassword(SetDialog->SmtpText(), login);
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
        const tarvelo::SubmissionSettings submission = SubmissionForSending();
        sendTarget = tarvelo::ResolveSubmission(SetDialog->SmtpText(), submission);
        // Before anything is asked or sent: the password would go out in clear.
        tarvelo::RefuseLoginWithoutTls(SetDialog->SmtpText(), submission);
        std::optional<tarvelo::SecretText> password = PasswordForSending(sendTarget);
        if (!password) {
            // The user cancelled the question for the password: nothing is sent, and nothing
            // needs saying.
            return;
        }
        ready = true;
        sendButton->setEnabled(false);
        Begin(std::move(*password));
    });
    if (!ready) {
        return;
    }
    // Whatever happened above, the dialog is shown once per press, and the button comes back
    // only when it has been closed.
    SendDlg->exec();
    sendButton->setEnabled(true);
}

void TForm1::Begin(tarvelo::SecretText password) {
    // The settings dialog cannot open while the progress dialog is up: they stand.
    smtpSession = std::make_unique<tarvelo::SmtpDriver>(
        tarvelo::MakeTransport(), sendTarget,
        tarvelo::SmtpSettings{.userName = SetDialog->UserNameText(),
                              .gatewayDomain = SetDialog->FirstDomainText()},
        std::vector<std::vector<std::string>>{mailLines}, std::move(password), sendBounds);
    if (const std::optional<SendEnd> end = smtpSession->Connect()) {
        EndSession();
        const tarvelo::ProgressText progress = tarvelo::ProgressAfterConnect(*end);
        ShowProgress(Text(progress.sendLabel), Text(progress.button));
        ShowState(Text(end->detail));
        AddLog(tarvelo::EndLogEntry(*end));
        return;
    }
    ShowProgress(Text("送信中"), Text("ｷｬﾝｾﾙ"));
    ShowState("Connecting " + FromShiftJis(SetDialog->SmtpText()) + "...");
    Timer1->start();
}

void TForm1::AskAgain(const std::string& reply) {
    // Closed meanwhile: the user is done with this sending.
    if (!SendDlg->isVisible()) {
        return;
    }
    tarvelo::RunHandler([this, &reply] {
        std::optional<tarvelo::SecretText> password =
            tarvelo::SubmitPassword(SetDialog->SmtpText(), sendTarget.login, SendDlg, reply);
        if (password) {
            Begin(std::move(*password));
        }
    });
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
        ForgetRefusedPassword(actions, sendTarget.login);
        if (const std::optional<std::string> reply = tarvelo::RefusedLogin(actions)) {
            // At once, over the progress dialog, once this tick is over.
            QTimer::singleShot(0, this, [this, reply = *reply] { AskAgain(reply); });
        }
    }
    if (actions.notANumber) {
        throw tarvelo::NotIntegerError(tarvelo::ShiftJisToUtf8(*actions.notANumber));
    }
}

void TForm1::EndSession() {
    smtpSession.reset();
    Timer1->stop();
}
