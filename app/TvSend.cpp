// The main window's side of a sending: the send button, the timer that drives the SMTP
// conversation, and the progress dialog's texts.

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <array>

#include "app/TvMain.h"
#include "base/Error.h"
#include "mail/MailAssembly.h"
#include "mail/Send.h"
#include "mail/SendSession.h"
#include "platform/ShiftJis.h"
#include "settings/setting.h"
#include "ui/Controls.h"
#include "ui/ErrorPath.h"
#include "ui/QtShiftJis.h"

namespace {

using tarvelo::FromShiftJis;
using tarvelo::SmtpOutcome;
using tarvelo::Text;

constexpr const char* kSmtpPort = "25";
// One reply is read into a buffer of this size plus its terminating zero.
constexpr int kReplyBufferSize = 1024;

// Joins the reads of one multi-line reply; lives as long as the session it belongs to.
tarvelo::SmtpReplyReader replyReader;

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
    const std::vector<std::string> image = tarvelo::ToShiftJisLines(TvMes->toPlainText());
    mailLines = tarvelo::AssembleMailLines(tarvelo::MailDateText(), SetDialog->UserNameText(),
                                           SetDialog->FirstDomainText(), image);
}

void TForm1::sendButtonClick() {
    tarvelo::RunHandler([this] {
        AssembleMail();
        sendButton->setEnabled(false);
        smtpSocket = std::make_unique<tarvelo::Socket>(SOCK_STREAM);
        replyReader.Clear();
        const std::string server = SetDialog->SmtpText();
        smtpSocket->Connect(server.c_str(), kSmtpPort);
        if (smtpSocket->status == 0) {
            smtpState = tarvelo::SmtpState::Greeting;
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
    // The box of a reply that is not a number runs its own message loop, in which this timer
    // goes on ticking: polling again there would open box after box for a server that sends
    // garbage.
    if (polling_) {
        return;
    }
    polling_ = true;
    tarvelo::RunHandler([this] { PollReply(); });
    polling_ = false;
}

void TForm1::PollReply() {
    if (!smtpSocket) {
        return;
    }
    const int readable = smtpSocket->Select(0);
    if (readable < 0) {
        // The socket itself is broken: no reply can come any more.
        FinishStep(tarvelo::OnConnectionLost(smtpState));
        return;
    }
    if (readable == 0) {
        return;
    }
    std::array<char, kReplyBufferSize + 1> buffer;
    const int total = smtpSocket->ReceiveLine(buffer.data(), kReplyBufferSize);
    // 0: the server closed the connection; -1: the read failed or stalled past its time-out.
    const bool connectionLost = smtpSocket->status <= 0;
    if (std::optional<std::string> reply =
            replyReader.Add(std::string_view(buffer.data(), static_cast<std::size_t>(total)))) {
        ActOnReply(*reply);
    }
    if (connectionLost && smtpSocket) {
        FinishStep(tarvelo::OnConnectionLost(smtpState));
    }
}

void TForm1::ActOnReply(std::string_view reply) {
    // The reply is the text read up to its terminating zero; a zero byte a server sent ends it.
    reply = reply.substr(0, reply.find('\0'));
    const std::optional<int> code = tarvelo::ReplyCode(reply);
    if (!code) {
        throw tarvelo::NotIntegerError(tarvelo::ShiftJisToUtf8(tarvelo::ReplyCodeText(reply)));
    }
    const std::string_view trimmed = tarvelo::TrimReply(reply);
    AddLog(" R:" + std::string(trimmed));
    ShowState("R:" + FromShiftJis(trimmed));
    const tarvelo::SmtpSettings settings{.userName = SetDialog->UserNameText(),
                                         .gatewayDomain = SetDialog->FirstDomainText()};
    FinishStep(tarvelo::OnReply(smtpState, *code, settings, mailLines));
}

void TForm1::FinishStep(const tarvelo::SmtpStep& step) {
    bool sent = true;
    for (const std::string& line : step.linesToSend) {
        sent = SendLine(line) && sent;
    }
    SmtpOutcome outcome = step.outcome;
    if (outcome == SmtpOutcome::Waiting && !sent) {
        outcome = tarvelo::OnConnectionLost(smtpState).outcome;
    }
    switch (outcome) {
        case SmtpOutcome::Waiting:
            break;
        case SmtpOutcome::Success:
            EndSession();
            ShowProgress(Text("送信しました"), Text("OK"));
            ShowState(QString());
            break;
        case SmtpOutcome::Failure:
            EndSession();
            // State keeps the rejected reply.
            ShowProgress(Text("送信エラー"), Text("OK"));
            break;
    }
}

bool TForm1::SendLine(const std::string& text) {
    const std::string framed = tarvelo::FrameLine(text);
    smtpSocket->SendAll(framed.data(), static_cast<int>(framed.size()));
    AddLog(" S:" + text);
    ShowState("S:" + FromShiftJis(text));
    return smtpSocket->status >= 0;
}

void TForm1::EndSession() {
    smtpSocket.reset();
    Timer1->stop();
}
