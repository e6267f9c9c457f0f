// The main window's side of a sending: the send button, the timer that drives the SMTP
// conversation, and the progress dialog's texts.

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <array>

#include "app/MailImageEdit.h"
#include "app/TvMain.h"
#include "base/Error.h"
#include "mail/MailAssembly.h"
#include "mail/Send.h"
#include "mail/SendSession.h"
#include "mail/SmtpReceive.h"
#include "platform/ShiftJis.h"
#include "settings/SettingsStore.h"
#include "settings/setting.h"
#include "ui/Controls.h"
#include "ui/ErrorPath.h"
#include "ui/QtShiftJis.h"

namespace {

using tarvelo::FromShiftJis;
using tarvelo::SmtpOutcome;
using tarvelo::SmtpRead;
using tarvelo::Text;

constexpr const char* kSmtpPort = "25";
// At most this many bytes are read a tick.
constexpr int kReadSize = 1024;

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

}  // namespace

void TForm1::AssembleMail() {
    const std::vector<std::string> image = tarvelo::ToShiftJisLines(TvMes->Text());
    mailLines = tarvelo::AssembleMailLines(tarvelo::MailDateText(), SetDialog->UserNameText(),
                                           SetDialog->FirstDomainText(), image);
}

void TForm1::sendButtonClick() {
    bool refused = true;
    tarvelo::RunHandler([&refused] {
        tarvelo::RefusePlaceholders(SetDialog->UserNameText(), SetDialog->FirstDomainText());
        refused = false;
    });
    if (refused) {
        return;
    }
    tarvelo::RunHandler([this] {
        AssembleMail();
        sendButton->setEnabled(false);
        smtpSocket = std::make_unique<tarvelo::Socket>(SOCK_STREAM);
        const std::string server = SetDialog->SmtpText();
        smtpSocket->Connect(server.c_str(), kSmtpPort);
        if (smtpSocket->status == 0) {
            // The settings dialog cannot open while the progress dialog is up: they stand.
            smtpConversation = std::make_unique<tarvelo::SmtpConversation>(
                tarvelo::SmtpSettings{.userName = SetDialog->UserNameText(),
                                      .gatewayDomain = SetDialog->FirstDomainText()},
                mailLines);
            ShowProgress(Text("送信中"), Text("ｷｬﾝｾﾙ"));
            ShowState("Connecting " + FromShiftJis(server) + "...");
            Timer1->start();
        } else {
            EndSession();
            ShowProgress(Text("接続できませんでした"), Text("OK"));
            ShowState(QString());
        }
    });
    // Whatever happened above, the dialog is shown once per press, and the button comes back
    // only when it has been closed.
    SendDlg->exec();
    sendButton->setEnabled(true);
}

void TForm1::Timer1Timer() {
    tarvelo::RunHandler([this] { PollReply(); });
}

// Never waits: the poll takes no time, and a read takes only what is already there.
void TForm1::PollReply() {
    if (!smtpSocket) {
        return;
    }
    std::array<char, kReadSize> buffer;
    SmtpRead read;
    const int readable = smtpSocket->Select(0);
    if (readable < 0) {
        read.kind = SmtpRead::Kind::Failed;
    } else if (readable > 0) {
        read = tarvelo::ReceiveReply(*smtpSocket, buffer);
    }
    CarryOut(smtpConversation->Take(read, tarvelo::SmtpClock::now()));
}

void TForm1::CarryOut(const tarvelo::SmtpActions& actions) {
    for (const std::string& entry : actions.log) {
        AddLog(entry);
    }
    if (actions.state) {
        ShowState(FromShiftJis(*actions.state));
    }
    if (!actions.wire.empty() &&
        smtpSocket->SendAll(actions.wire.data(), static_cast<int>(actions.wire.size())) < 0) {
        CarryOut(smtpConversation->Take({SmtpRead::Kind::Failed, {}}, tarvelo::SmtpClock::now()));
        return;
    }
    switch (actions.outcome) {
        case SmtpOutcome::Waiting:
            // The server has taken the mail; only the reply to QUIT is awaited. Whoever closes
            // the dialog now must know that the mail went out, or sends it a second time.
            if (smtpConversation->State() == tarvelo::SmtpState::Quit) {
                ShowProgress(Text("送信しました"), Text("OK"));
            }
            break;
        case SmtpOutcome::Success:
            EndSession();
            ShowProgress(Text("送信しました"), Text("OK"));
            break;
        case SmtpOutcome::Failure:
            EndSession();
            ShowProgress(Text("送信エラー"), Text("OK"));
            break;
    }
    if (actions.notANumber) {
        throw tarvelo::NotIntegerError(tarvelo::ShiftJisToUtf8(*actions.notANumber));
    }
}

void TForm1::EndSession() {
    smtpSocket.reset();
    Timer1->stop();
}
