// The main window's side of a sending: the send button, the timer that drives the SMTP
// conversation, and the progress dialog's texts, as MainForm says.

#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <optional>

#include "app/MainForm.h"
#include "app/qt/MailImageEdit.h"
#include "app/qt/TvMain.h"
#include "base/Error.h"
#include "mail/qt/Send.h"
#include "settings/qt/SubmitPassword.h"
#include "settings/qt/setting.h"
#include "ui/ErrorPath.h"
#include "ui/qt/Controls.h"
#include "ui/qt/QtShiftJis.h"

void TForm1::sendButtonClick() {
    bool shown = false;
    tarvelo::RunHandler([this, &shown] {
        const std::optional<tarvelo::SendScreen> screen =
            form_.PressSend(tarvelo::SendFieldsNow(SetDialog->UserNameText(), SetDialog->SmtpText(),
                                                   SetDialog->FirstDomainText(),
                                                   tarvelo::ToShiftJisLines(TvMes->Text())),
                            tarvelo::PasswordQuestion(this), sendBounds);
        if (!screen) {
            return;
        }
        shown = true;
        sendButton->setEnabled(false);
        if (SendDlg == nullptr) {
            SendDlg = new TSendDlg(this);
            connect(SendDlg, &TSendDlg::Closing, this, &TForm1::EndSession);
        }
        Show(*screen);
        if (form_.Sending()) {
            Timer1->start();
        }
    });
    if (!shown) {
        return;
    }
    // Every way of closing the dialog ends the session (TSendDlg::Closing).
    SendDlg->exec();
    sendButton->setEnabled(true);
}

void TForm1::AskAgain(const std::string& reply) {
    // Closed meanwhile: the user is done with this sending.
    if (!SendDlg->isVisible()) {
        return;
    }
    tarvelo::RunHandler([this, &reply] {
        const std::optional<tarvelo::SendScreen> screen =
            form_.AskAgain(reply, tarvelo::PasswordQuestion(SendDlg), sendBounds);
        if (!screen) {
            return;
        }
        Show(*screen);
        if (form_.Sending()) {
            Timer1->start();
        }
    });
}

void TForm1::Timer1Timer() {
    tarvelo::RunHandler([this] { Show(form_.Poll()); });
}

void TForm1::Show(const tarvelo::SendScreen& screen) {
    ShowLogLines();
    if (screen.state) {
        // A reply of several lines keeps its line breaks, which are LF in Qt.
        SendDlg->State->setText(
            tarvelo::Text(*screen.state).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        SendDlg->State->adjustSize();
    }
    if (screen.end) {
        EndSession();
    }
    if (screen.sendLabel) {
        SendDlg->SendLabel->setText(tarvelo::Text(*screen.sendLabel));
        SendDlg->SendLabel->adjustSize();
    }
    if (screen.button) {
        SendDlg->CancelBtn->setText(tarvelo::Text(*screen.button));
    }
    if (screen.askAgain) {
        // At once, over the progress dialog, once this tick is over.
        QTimer::singleShot(0, this, [this, reply = *screen.askAgain] { AskAgain(reply); });
    }
    if (screen.box) {
        throw tarvelo::Error(*screen.box);
    }
}

void TForm1::EndSession() {
    form_.EndSending();
    Timer1->stop();
}
