// The main window on the Win32 API: the composition, the preview drawn from the core's rows,
// the debug log and the buttons that open the dialogs and start a sending.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "mail/SmtpDriver.h"
#include "ui/win32/Form.h"

class TForm1 : public tarvelo::win32::Form {
public:
    // Posted by a sending's screen that says ask again, so that the question comes once the
    // timer's tick is over.
    static constexpr UINT kAskAgainMessage = WM_APP + 1;

    TForm1();

    // Handlers, named after the control and the event.
    void FormActivate();
    void FormResize();
    void MailMesChange();
    void ClmUpDownClick();
    void sendButtonClick();
    void SetBtnClick();
    void AboutBtnClick();
    void LogClrBtnClick();
    void LogSaveBtnClick();
    void Timer1Timer();
    void AskAgain();  // the password once more after a refused login, refusedReply_ saying why

    HWND MesL{}, MailMes{}, PhsNoL{}, PhsNo{}, Label3{}, TvMes{}, Label1{}, Label2{}, TvImg{},
        rcvClm{}, ClmUpDown{}, Label4{}, msgErr{}, phsErr{}, sendButton{}, SetBtn{}, NonCng{},
        AboutBtn{}, Label5{}, LogClrBtn{}, LogSaveBtn{}, Log{};

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCommand(int id, int code);
    // Writes what a sending shows into the log and the progress dialog.
    void Show(const tarvelo::SendScreen& screen);
    void EndSession();
    void ShowLog();
    int Columns() const;
    void FitCountBox();

    bool activated_ = false;
    // The preview as the core composed it, drawn by TvImg's painting.
    std::string preview_;
    tarvelo::MainForm form_;
    tarvelo::SendBounds sendBounds_;
    // The server's reply to the refused login, for AskAgain.
    std::string refusedReply_;

    friend LRESULT CALLBACK PreviewProcedure(HWND, UINT, WPARAM, LPARAM);
};

extern TForm1* Form1;
