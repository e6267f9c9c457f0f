// The main window's side of a sending: the send button, the 50 ms timer that drives the SMTP
// conversation, and the progress dialog's texts, as MainForm says.
#include "app/MainForm.h"
#include "app/win32/TvMain.h"
#include "base/Error.h"
#include "base/TextLines.h"
#include "mail/win32/Send.h"
#include "settings/win32/SubmitPassword.h"
#include "settings/win32/setting.h"
#include "ui/ErrorPath.h"

namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 50;  // ms

}  // namespace

void TForm1::sendButtonClick() {
    bool shown = false;
    tarvelo::RunHandler([this, &shown] {
        const std::optional<tarvelo::SendScreen> screen = form_.PressSend(
            tarvelo::SendFieldsNow(SetDialog->UserNameText(), SetDialog->SmtpText(),
                                   SetDialog->FirstDomainText(),
                                   tarvelo::SplitLines(tarvelo::win32::SjisText(TvMes))),
            tarvelo::PasswordQuestion(hwnd), sendBounds_);
        if (!screen) {
            return;
        }
        shown = true;
        EnableWindow(sendButton, FALSE);
        Show(*screen);
        if (form_.Sending()) {
            SetTimer(hwnd, kTimer1, kTimer1Interval, nullptr);
        }
    });
    if (!shown) {
        return;
    }
    SendDlg->ShowModal();
    EndSession();
    EnableWindow(sendButton, TRUE);
}

void TForm1::AskAgain() {
    // Closed meanwhile: the user is done with this sending.
    if (IsWindowVisible(SendDlg->hwnd) == 0) {
        return;
    }
    tarvelo::RunHandler([this] {
        const std::optional<tarvelo::SendScreen> screen =
            form_.AskAgain(refusedReply_, tarvelo::PasswordQuestion(SendDlg->hwnd), sendBounds_);
        if (!screen) {
            return;
        }
        Show(*screen);
        if (form_.Sending()) {
            SetTimer(hwnd, kTimer1, kTimer1Interval, nullptr);
        }
    });
}

void TForm1::Timer1Timer() {
    tarvelo::RunHandler([this] { Show(form_.Poll()); });
}

void TForm1::Show(const tarvelo::SendScreen& screen) {
    ShowLog();
    if (screen.state) {
        tarvelo::win32::SetText(SendDlg->State, *screen.state);
        SendDlg->FitState();
    }
    if (screen.end) {
        EndSession();
    }
    if (screen.sendLabel) {
        tarvelo::win32::SetText(SendDlg->SendLabel, *screen.sendLabel);
    }
    if (screen.button) {
        tarvelo::win32::SetText(SendDlg->CancelBtn, *screen.button);
    }
    if (screen.askAgain) {
        // At once, over the progress dialog, once this tick is over.
        refusedReply_ = *screen.askAgain;
        PostMessageW(hwnd, kAskAgainMessage, 0, 0);
    }
    if (screen.box) {
        throw tarvelo::Error(*screen.box);
    }
}

void TForm1::EndSession() {
    form_.EndSending();
    KillTimer(hwnd, kTimer1);
}
